#include "formlookup.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/errors.h"
#include "basekit/interaction.h"
#include "listview.h"

namespace {

// The form outlives no application: once the application is gone its widgets
// cannot be destroyed any more, and the memory is left to the process's end.
struct TSharedFormDeleter {
    void operator()(TFormLookUp* form) const {
        if (QCoreApplication::instance()) std::default_delete<TFormLookUp>()(form);
    }
};

std::unique_ptr<TFormLookUp, TSharedFormDeleter>& SharedForm() {
    static std::unique_ptr<TFormLookUp, TSharedFormDeleter> form;
    return form;
}

void Warn(const QString& text) {
    Interaction().MessageBox(text, LString(QStringLiteral("ST_WARNING")), MB::OK | MB::ICONWARNING);
}

}  // namespace

TFormLookUp& TFormLookUp::Shared() {
    if (!SharedForm()) {
        SharedForm().reset(new TFormLookUp());
        static const bool once = [] {
            // The form goes before the application does.
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { DestroyShared(); });
            return true;
        }();
        Q_UNUSED(once);
    }
    return *SharedForm();
}

bool TFormLookUp::SharedExists() {
    return SharedForm() != nullptr;
}

void TFormLookUp::DestroyShared() {
    SharedForm().reset();
}

// The captions are the form's own, as designed; they are not message texts,
// but read in the program's language.
TFormLookUp::TFormLookUp(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("FormLookUp"));
    setWindowTitle(DesignedCaption(QStringLiteral("Поиск")));
    edFind = new QLineEdit(this);
    edFind->setObjectName(QStringLiteral("edFind"));
    edFind->setMinimumWidth(260);
    btFind = new QPushButton(DesignedCaption(QStringLiteral("Найти")), this);
    btFind->setObjectName(QStringLiteral("btFind"));
    btFind->setDefault(true);
    btCancel = new QPushButton(DesignedCaption(QStringLiteral("Отмена")), this);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    cbFullName = new QCheckBox(DesignedCaption(QStringLiteral("Полное совпадение")), this);
    cbFullName->setObjectName(QStringLiteral("cbFullName"));
    cbReg = new QCheckBox(DesignedCaption(QStringLiteral("Учитывать регистр")), this);
    cbReg->setObjectName(QStringLiteral("cbReg"));
    cbIncluded = new QCheckBox(DesignedCaption(QStringLiteral("Вхождение с начала слова")), this);
    cbIncluded->setObjectName(QStringLiteral("cbIncluded"));
    cbRegExp =
        new QCheckBox(DesignedCaption(QStringLiteral("Использовать регулярные выражения")), this);
    cbRegExp->setObjectName(QStringLiteral("cbRegExp"));
    auto* where = new QGroupBox(this);
    rbNames = new QRadioButton(DesignedCaption(QStringLiteral("По названиям")), where);
    rbNames->setObjectName(QStringLiteral("rbNames"));
    rbNames->setChecked(true);
    rbParent = new QRadioButton(DesignedCaption(QStringLiteral("По родителю")), where);
    rbParent->setObjectName(QStringLiteral("rbParent"));
    rbDescription = new QRadioButton(DesignedCaption(QStringLiteral("По описанию")), where);
    rbDescription->setObjectName(QStringLiteral("rbDescription"));
    auto* whereLayout = new QVBoxLayout(where);
    whereLayout->addWidget(rbNames);
    whereLayout->addWidget(rbParent);
    whereLayout->addWidget(rbDescription);

    auto* grid = new QGridLayout(this);
    grid->addWidget(edFind, 0, 0);
    grid->addWidget(btFind, 0, 1);
    auto* checks = new QVBoxLayout();
    checks->addWidget(cbFullName);
    checks->addWidget(cbReg);
    checks->addWidget(cbIncluded);
    checks->addWidget(cbRegExp);
    checks->addStretch();
    grid->addLayout(checks, 1, 0);
    grid->addWidget(btCancel, 1, 1, Qt::AlignTop);
    grid->addWidget(where, 2, 0);

    const auto guarded = [this](std::function<void()> handler) {
        try {
            handler();
        } catch (const std::exception& e) {
            BaseMng().ShowException(this, e);
        }
    };
    connect(btFind, &QPushButton::clicked, this, [this, guarded] { guarded([this] { Find(); }); });
    connect(edFind, &QLineEdit::returnPressed, this,
            [this, guarded] { guarded([this] { Find(); }); });
    connect(btCancel, &QPushButton::clicked, this, &QWidget::hide);
    // A whole-text match starts at the beginning; the two boxes keep each other right.
    connect(cbFullName, &QCheckBox::toggled, this, [this](bool on) {
        if (FSyncingChecks || !on) return;
        FSyncingChecks = true;
        cbIncluded->setChecked(true);
        FSyncingChecks = false;
    });
    connect(cbIncluded, &QCheckBox::toggled, this, [this](bool on) {
        if (FSyncingChecks || on) return;
        FSyncingChecks = true;
        cbFullName->setChecked(false);
        FSyncingChecks = false;
    });
    connect(cbRegExp, &QCheckBox::toggled, this, [this](bool on) {
        cbFullName->setEnabled(!on);
        cbIncluded->setEnabled(!on);
    });
    for (QWidget* w : std::initializer_list<QWidget*>{this, edFind, btFind, cbFullName, cbReg,
                                                      cbIncluded, cbRegExp})
        w->installEventFilter(this);
}

TFormLookUp::~TFormLookUp() = default;

void TFormLookUp::SetListView(TPelvarListView* list) {
    FListView = list;
}

void TFormLookUp::ShowForm() {
    show();
    raise();
    activateWindow();
    edFind->setFocus();
    edFind->selectAll();
}

bool TFormLookUp::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate) hide();
    return QWidget::event(event);
}

bool TFormLookUp::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        hide();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFormLookUp::CaptureOptions() {
    FCaseSensitive = cbReg->isChecked();
    FPartial = !cbFullName->isChecked();
    FAnywhere = !cbIncluded->isChecked();
    FRegExp = cbRegExp->isChecked();
    if (rbNames->isChecked())
        FMode = 1;
    else if (rbParent->isChecked())
        FMode = 2;
    else if (rbDescription->isChecked())
        FMode = 3;
}

bool TFormLookUp::Find() {
    if (!FListView) return false;
    if (edFind->text().isEmpty()) {
        Warn(QStringLiteral("Search request is empty. Enter request and try again please."));
        return false;
    }
    hide();
    CaptureOptions();
    const int rows = FListView->RowCount();
    int found = SearchRows(FListView->FocusedRow() + 1, rows);
    if (found < 0) found = SearchRows(0, rows);
    if (found < 0) {
        Warn(QStringLiteral("Can't find search request. Try again please."));
        return false;
    }
    FListView->ClearSelection();
    FListView->SetFocusedRow(found, true);
    FListView->ScrollToRow(found);
    return true;
}

int TFormLookUp::SearchRows(int from, int to) const {
    const QString request = edFind->text();
    QRegularExpression expression;
    if (FRegExp) {
        expression.setPattern(request);
        if (!FCaseSensitive)
            expression.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
        if (!expression.isValid())
            throw EPelvarError(QStringLiteral("Invalid regular expression '%1': %2 at offset %3")
                                   .arg(request, expression.errorString())
                                   .arg(expression.patternErrorOffset()));
    }
    const QLocale locale;
    const QString wanted = FCaseSensitive ? request : locale.toUpper(request);
    const std::vector<TListRow>& list = FListView->Rows();
    for (int i = std::max(from, 0); i < to; ++i) {
        const TListRow& row = list[size_t(i)];
        const QString subject = FMode == 1 ? row.Caption : row.SubItems.value(FMode - 2);
        if (FRegExp) {
            if (expression.match(subject).hasMatch()) return i;
            continue;
        }
        const QString text = FCaseSensitive ? subject : locale.toUpper(subject);
        const bool lengthOk = FPartial || text.size() == wanted.size();
        const bool placeOk = FAnywhere ? text.contains(wanted) : text.startsWith(wanted);
        if (lengthOk && placeOk) return i;
    }
    return -1;
}
