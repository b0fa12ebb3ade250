#include "designerpanels.h"

#include <QHeaderView>
#include <QSignalBlocker>

#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "formdocument.h"

namespace {

QString Text(const char* id) {
    return LString(QLatin1String(id));
}

}  // namespace

// ---- TFormComponentTree ----

TFormComponentTree::TFormComponentTree(TFormDocument& document, QWidget* parent)
    : QTreeWidget(parent), FDocument(document) {
    setObjectName(QStringLiteral("ComponentTree"));
    setColumnCount(2);
    setHeaderLabels({Text("C_Pelvar_DesignerForm_ComponentColumn_L"),
                     Text("C_Pelvar_DesignerForm_ClassColumn_L")});
    setUniformRowHeights(true);  // a thousand components stay quick
    // Fitting a column to its contents would measure every row on each change.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    header()->setSectionResizeMode(1, QHeaderView::Fixed);
    header()->resizeSection(1, 100);
    connect(&FDocument, &TFormDocument::Reset, this, &TFormComponentTree::Rebuild);
    connect(&FDocument, &TFormDocument::ComponentChanged, this,
            &TFormComponentTree::UpdateComponent);
    connect(&FDocument, &TFormDocument::SelectionChanged, this, &TFormComponentTree::ShowSelection);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) FDocument.Select(item->text(0));
    });
    Rebuild();
}

QTreeWidgetItem* TFormComponentTree::ItemOf(const QString& name) const {
    return FItems.value(name.toLower());
}

void TFormComponentTree::Rebuild() {
    const QSignalBlocker block(this);
    clear();
    FItems.clear();
    const QColor locked = palette().color(QPalette::Disabled, QPalette::Text);
    std::vector<QTreeWidgetItem*> items;
    for (int i = 0; i < FDocument.Count(); ++i) {
        const TFormComponent& c = FDocument.Component(i);
        auto* item = new QTreeWidgetItem({c.Name, c.ClassName});
        if (c.Inherited) {
            item->setForeground(0, locked);
            item->setForeground(1, locked);
            item->setToolTip(0, LString(QStringLiteral("C_Pelvar_DesignerForm_InheritedHint"))
                                    .arg(c.Name, c.ClassName, c.Origin));
        }
        FItems.insert(c.Name.toLower(), item);
        items.push_back(item);
    }
    QTreeWidgetItem* form = items.front();
    QList<QTreeWidgetItem*> onForm;
    for (int i = 1; i < FDocument.Count(); ++i) {
        const TFormComponent& c = FDocument.Component(i);
        QTreeWidgetItem* host = c.Parent.isEmpty() ? nullptr : ItemOf(c.Parent);
        if (host && host != items[size_t(i)])
            host->addChild(items[size_t(i)]);
        else
            onForm << items[size_t(i)];
    }
    form->addChildren(onForm);
    addTopLevelItem(form);
    form->setExpanded(true);
    ShowSelection();
}

void TFormComponentTree::UpdateComponent(const QString& name) {
    if (QTreeWidgetItem* item = ItemOf(name)) item->setText(0, FDocument.Find(name)->Name);
}

void TFormComponentTree::ShowSelection() {
    QTreeWidgetItem* item = ItemOf(FDocument.Selected());
    if (!item || item == currentItem()) return;
    const QSignalBlocker block(this);
    setCurrentItem(item);
    scrollToItem(item);
}

// ---- TFormPropertyEditor ----

TFormPropertyEditor::TFormPropertyEditor(TFormDocument& document, QWidget* parent)
    : QTableWidget(parent), FDocument(document) {
    setObjectName(QStringLiteral("PropertyEditor"));
    setColumnCount(2);
    setHorizontalHeaderLabels({Text("C_Pelvar_DesignerForm_PropertyColumn_L"),
                               Text("C_Pelvar_DesignerForm_ValueColumn_L")});
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    connect(&FDocument, &TFormDocument::Reset, this, &TFormPropertyEditor::Fill);
    connect(&FDocument, &TFormDocument::SelectionChanged, this, &TFormPropertyEditor::Fill);
    connect(&FDocument, &TFormDocument::ComponentChanged, this, [this](const QString& name) {
        if (name.compare(FDocument.Selected(), Qt::CaseInsensitive) == 0) Fill();
    });
    connect(this, &QTableWidget::cellChanged, this, &TFormPropertyEditor::CellEdited);
    Fill();
}

void TFormPropertyEditor::Fill() {
    if (FEditing) {
        // Not while the edited cell's own signal runs: refill once it returned.
        QMetaObject::invokeMethod(this, &TFormPropertyEditor::Fill, Qt::QueuedConnection);
        return;
    }
    FFilling = true;
    setRowCount(0);
    const TFormComponent* c = FDocument.Find(FDocument.Selected());
    if (!c) {
        FFilling = false;
        return;
    }
    const bool isForm = c == &FDocument.Form();
    QList<QPair<QString, QString>> rows = {
        {QStringLiteral("Name"), c->Name},
        {QStringLiteral("Class"), c->ClassName},
        {QStringLiteral("Caption"), c->Caption},
        {QStringLiteral("Left"), QString::number(c->Bounds.x())},
        {QStringLiteral("Top"), QString::number(c->Bounds.y())},
        {QStringLiteral("Width"), QString::number(c->Bounds.width())},
        {QStringLiteral("Height"), QString::number(c->Bounds.height())}};
    if (isForm)
        rows.append({QStringLiteral("TableName"), FDocument.TableName()});
    else
        rows.append({QStringLiteral("Field"), c->Field});
    for (const TDSPProperty& p : c->Extra)
        rows.append({p.Name, p.Value.toString()});
    setRowCount(int(rows.size()));
    // Inherited components show their values but take none; the form's name
    // and every class are fixed.
    for (int r = 0; r < rows.size(); ++r) {
        auto* key = new QTableWidgetItem(rows[r].first);
        key->setFlags(Qt::ItemIsEnabled);
        auto* value = new QTableWidgetItem(rows[r].second);
        const bool fixed = c->Inherited || rows[r].first == QLatin1String("Class") ||
                           (isForm && rows[r].first == QLatin1String("Name"));
        if (fixed) value->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        if (fixed) value->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
        if (c->Inherited)
            value->setToolTip(LString(QStringLiteral("C_Pelvar_DesignerForm_InheritedHint"))
                                  .arg(c->Name, c->ClassName, c->Origin));
        setItem(r, 0, key);
        setItem(r, 1, value);
    }
    FFilling = false;
}

int TFormPropertyEditor::RowOf(const QString& property) const {
    for (int r = 0; r < rowCount(); ++r)
        if (item(r, 0)->text().compare(property, Qt::CaseInsensitive) == 0) return r;
    return -1;
}

void TFormPropertyEditor::Edit(const QString& property, const QString& value) {
    const int r = RowOf(property);
    if (r >= 0) item(r, 1)->setText(value);
}

void TFormPropertyEditor::CellEdited(int row, int column) {
    if (FFilling || column != 1) return;
    const QString property = item(row, 0)->text();
    const QString value = item(row, 1)->text();
    FEditing = true;
    try {
        FDocument.SetProperty(FDocument.Selected(), property, value);
        FEditing = false;
    } catch (const EPelvarError& e) {
        FEditing = false;
        Interaction().MessageBox(e.Message(), Text("C_Pelvar_DesignerForm_Title"), MB::ICONWARNING);
        QMetaObject::invokeMethod(this, &TFormPropertyEditor::Fill, Qt::QueuedConnection);
    }
}
