#include "formpreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolTip>
#include <algorithm>

#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "formdocument.h"

namespace {

constexpr int kGrip = 8;  // the corner that resizes, in pixels

// Marks the selected component: a frame over it that lets the mouse through.
class TSelectionFrame final : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(QPen(palette().highlight().color(), 2));
        p.drawRect(rect().adjusted(1, 1, -1, -1));
        p.fillRect(QRect(width() - kGrip, height() - kGrip, kGrip, kGrip), palette().highlight());
    }
};

}  // namespace

TFormPreview::TFormPreview(TFormDocument& document, QWidget* parent)
    : QScrollArea(parent), FDocument(document) {
    setObjectName(QStringLiteral("FormPreview"));
    setBackgroundRole(QPalette::Dark);
    connect(&FDocument, &TFormDocument::Reset, this, &TFormPreview::Rebuild);
    connect(&FDocument, &TFormDocument::ComponentChanged, this, &TFormPreview::UpdateComponent);
    connect(&FDocument, &TFormDocument::SelectionChanged, this, &TFormPreview::ShowSelection);
    Rebuild();
}

QWidget* TFormPreview::CreateComponentWidget(const TFormComponent& c, QWidget* parent) {
    QWidget* w;
    const QString& k = c.ClassName;
    if (k == QLatin1String("TLabel")) {
        w = new QLabel(c.Caption, parent);
    } else if (k == QLatin1String("TButton")) {
        w = new QPushButton(c.Caption, parent);
    } else if (k == QLatin1String("TCheckBox")) {
        w = new QCheckBox(c.Caption, parent);
    } else if (k == QLatin1String("TComboBox")) {
        auto* combo = new QComboBox(parent);
        combo->addItem(c.Caption);
        w = combo;
    } else if (k == QLatin1String("TMemo")) {
        w = new QPlainTextEdit(c.Caption, parent);
    } else if (k == QLatin1String("TGroupBox")) {
        w = new QGroupBox(c.Caption, parent);
    } else if (k == QLatin1String("TPanel")) {
        auto* panel = new QFrame(parent);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Raised);
        w = panel;
    } else {
        // Edits and every class the designer does not know show as an edit
        // with the bound field, so nothing on the form goes unseen.
        auto* edit = new QLineEdit(c.Field.isEmpty() ? c.Caption : c.Field, parent);
        w = edit;
    }
    w->setGeometry(c.Bounds);
    return w;
}

void TFormPreview::Rebuild() {
    FDragged.clear();
    FWidgets.clear();
    FNames.clear();
    FGroups.clear();
    FGroupOf.assign(size_t(FDocument.Count()), -1);
    FBuilt.clear();
    delete takeWidget();
    const TFormComponent& form = FDocument.Form();
    FSurface = new QFrame;
    FSurface->setObjectName(QStringLiteral("FormSurface"));
    FSurface->setAutoFillBackground(true);
    FSurface->setBackgroundRole(QPalette::Window);
    FSurface->setFixedSize(form.Bounds.size());
    FSurface->installEventFilter(this);
    FWidgets.insert(form.Name.toLower(), FSurface);
    FNames.insert(FSurface, form.Name);
    // Each component sitting on the form heads a group: itself and everything
    // inside it, containers first. A container that is missing or holds itself
    // round leaves its components on the form.
    std::vector<std::pair<int, int>> order;  // (depth, index)
    for (int i = 1; i < FDocument.Count(); ++i) {
        int root = i, depth = 0;
        for (int up = i; depth < FDocument.Count();) {
            const QString& parent = FDocument.Component(up).Parent;
            const int p = parent.isEmpty() ? -1 : FDocument.IndexOf(parent);
            if (p <= 0) {
                root = up;
                break;
            }
            up = p;
            ++depth;
        }
        if (depth >= FDocument.Count()) root = i, depth = 0;
        FGroupOf[size_t(i)] = root;
        order.emplace_back(depth, i);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [depth, i] : order)
        FGroups[FGroupOf[size_t(i)]].push_back(i);
    FFrame = new TSelectionFrame(FSurface);
    FFrame->setAttribute(Qt::WA_TransparentForMouseEvents);
    setWidget(FSurface);
    BuildVisible();
    ShowSelection();
}

void TFormPreview::BuildGroup(int root) {
    if (root <= 0 || FBuilt.contains(root)) return;
    FBuilt.insert(root);
    for (int i : FGroups.value(root)) {
        const TFormComponent& c = FDocument.Component(i);
        QWidget* host = i == root ? nullptr : FWidgets.value(c.Parent.toLower());
        QWidget* w = CreateComponentWidget(c, host ? host : FSurface);
        w->setFocusPolicy(Qt::NoFocus);
        if (c.Inherited) w->setEnabled(false);
        w->installEventFilter(this);
        if (FSurface->isVisible()) w->show();
        FNames.insert(w, c.Name);
        FWidgets.insert(c.Name.toLower(), w);
    }
    FFrame->raise();
}

void TFormPreview::BuildVisible() {
    if (!FSurface) return;
    // What is in sight and a screen around it; the rest is made when scrolled to.
    const QSize view = viewport()->size();
    const QRect seen = QRect(-FSurface->pos(), view)
                           .adjusted(-view.width(), -view.height(), view.width(), view.height());
    for (auto it = FGroups.cbegin(); it != FGroups.cend(); ++it)
        if (!FBuilt.contains(it.key()) && FDocument.Component(it.key()).Bounds.intersects(seen))
            BuildGroup(it.key());
}

void TFormPreview::scrollContentsBy(int dx, int dy) {
    QScrollArea::scrollContentsBy(dx, dy);
    BuildVisible();
}

void TFormPreview::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    BuildVisible();
}

QWidget* TFormPreview::WidgetOf(const QString& name) {
    const int i = FDocument.IndexOf(name);
    if (i > 0 && size_t(i) < FGroupOf.size()) BuildGroup(FGroupOf[size_t(i)]);
    return FWidgets.value(name.toLower());
}

QString TFormPreview::NameOf(const QObject* widget) const {
    return FNames.value(widget);
}

void TFormPreview::UpdateComponent(const QString& name) {
    const TFormComponent* c = FDocument.Find(name);
    QWidget* w = FWidgets.value(name.toLower());
    if (c && !w) {
        BuildVisible();  // it may have come into sight
        return;
    }
    if (!c || !w) return;
    if (w == FSurface) {
        FSurface->setFixedSize(c->Bounds.size());
        BuildVisible();
    } else {
        w->setGeometry(c->Bounds);
        if (auto* label = qobject_cast<QLabel*>(w)) label->setText(c->Caption);
        if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(c->Caption);
        if (auto* group = qobject_cast<QGroupBox*>(w)) group->setTitle(c->Caption);
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->setText(c->Field.isEmpty() ? c->Caption : c->Field);
    }
    ShowSelection();
}

void TFormPreview::ShowSelection() {
    QWidget* w = WidgetOf(FDocument.Selected());
    if (!w || w == FSurface) {
        FFrame->hide();
        return;
    }
    FFrame->setGeometry(QRect(w->mapTo(FSurface, QPoint(0, 0)), w->size()));
    FFrame->raise();
    FFrame->show();
    ensureWidgetVisible(w);
}

bool TFormPreview::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* me = static_cast<QMouseEvent*>(event);
            auto* w = static_cast<QWidget*>(watched);
            const QString name = NameOf(w);
            FDocument.Select(name);
            const TFormComponent* c = FDocument.Find(name);
            if (me->button() == Qt::LeftButton && w != FSurface && c && !c->Inherited) {
                FDragged = w;
                FDraggedName = c->Name;
                FPressAt = me->globalPosition().toPoint();
                FStartBounds = c->Bounds;
                FResizing = me->position().x() >= w->width() - kGrip &&
                            me->position().y() >= w->height() - kGrip;
            }
            return true;
        }
        case QEvent::MouseMove: {
            if (!FDragged) return true;
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint delta = me->globalPosition().toPoint() - FPressAt;
            const QRect client = FDragged->parentWidget()->rect();
            QRect r = FStartBounds;
            if (FResizing) {
                r.setWidth(qBound(4, r.width() + delta.x(), client.width() - r.x()));
                r.setHeight(qBound(4, r.height() + delta.y(), client.height() - r.y()));
            } else {
                // Kept inside the container while it moves.
                r.moveTopLeft(r.topLeft() + delta);
                r.moveLeft(qBound(0, r.x(), qMax(0, client.width() - r.width())));
                r.moveTop(qBound(0, r.y(), qMax(0, client.height() - r.height())));
            }
            FDragged->setGeometry(r);
            FFrame->setGeometry(QRect(FDragged->mapTo(FSurface, QPoint(0, 0)), r.size()));
            return true;
        }
        case QEvent::MouseButtonRelease: {
            if (!FDragged) return true;
            const QRect r = FDragged->geometry();
            const QString name = FDraggedName;
            FDragged.clear();
            if (r == FStartBounds) return true;
            try {
                FDocument.SetBounds(name, r);
            } catch (const EPelvarError& e) {
                if (QWidget* w = WidgetOf(name)) w->setGeometry(FStartBounds);
                ShowSelection();
                Interaction().MessageBox(e.Message(),
                                         LString(QStringLiteral("C_Pelvar_DesignerForm_Title")),
                                         MB::ICONWARNING);
            }
            return true;
        }
        case QEvent::ToolTip: {
            // Made when asked: a thousand components need no thousand texts.
            const TFormComponent* c = FDocument.Find(NameOf(watched));
            if (!c) return true;
            const QString tip =
                c->Inherited ? LString(QStringLiteral("C_Pelvar_DesignerForm_InheritedHint"))
                                   .arg(c->Name, c->ClassName, c->Origin)
                             : c->Name + QStringLiteral(" (") + c->ClassName + QLatin1Char(')');
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip,
                               static_cast<QWidget*>(watched));
            return true;
        }
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::Wheel:
            return true;  // the components are pictures here, not controls
        default:
            return QScrollArea::eventFilter(watched, event);
    }
}
