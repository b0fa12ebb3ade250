#include "dspformtreeview.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QPalette>
#include <QStyle>
#include <QStyledItemDelegate>

#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "basekit/strutils.h"
#include "dspvalues.h"

namespace {

// Types are chosen from a list, booleans from true/false; everything else is
// typed and checked by the model when it is committed.
class TDSPValueDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        const QString type = index.data(TDSPTreeModel::TypeRole).toString();
        if (index.column() == TDSPTreeModel::colType) {
            auto* box = new QComboBox(parent);
            for (const QString& name : DSPTypeNames())
                box->addItem(DSPTypeCaption(name), name);
            return box;
        }
        if (index.column() == TDSPTreeModel::colValue && type == QLatin1String("boolean")) {
            auto* box = new QComboBox(parent);
            box->addItem(QStringLiteral("true"), QStringLiteral("true"));
            box->addItem(QStringLiteral("false"), QStringLiteral("false"));
            return box;
        }
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            box->setCurrentIndex(qMax(0, box->findData(index.data(Qt::EditRole))));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            model->setData(index, box->currentData());
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const bool node = index.data(TDSPTreeModel::IsNodeRole).toBool();
        if (index.column() != TDSPTreeModel::colName) {
            // A node's type and summary are there to read past, not to edit.
            if (node)
                option->palette.setColor(QPalette::Text,
                                         option->palette.color(QPalette::PlaceholderText));
            return;
        }
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->icon =
            QApplication::style()->standardIcon(node ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
        option->font.setBold(node);
    }
};

}  // namespace

TDSPFormTreeView::TDSPFormTreeView(QWidget* parent) : QTreeView(parent) {
    setObjectName(QStringLiteral("TDSPFormTreeView"));
    setModel(&FDocument.Model());
    setItemDelegate(new TDSPValueDelegate(this));
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::SelectedClicked);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAlternatingRowColors(true);
    setUniformRowHeights(true);
    header()->setStretchLastSection(true);
    header()->setMinimumSectionSize(80);
    // Shown after the editor has closed, so the message box does not fight it for focus.
    connect(&FDocument.Model(), &TDSPTreeModel::EditRefused, this, &TDSPFormTreeView::ShowRefusal,
            Qt::QueuedConnection);
    connect(&FDocument.Model(), &QAbstractItemModel::modelReset, this, [this] {
        expandToDepth(1);
        resizeColumnToContents(TDSPTreeModel::colName);
        setColumnWidth(TDSPTreeModel::colName, qMax(columnWidth(TDSPTreeModel::colName), 220));
        resizeColumnToContents(TDSPTreeModel::colType);
    });
}

void TDSPFormTreeView::Activate(bool active) {
    if (!active) {
        FDocument.Clear();
        return;
    }
    if (FDocument.DSPName().isEmpty()) FDocument.SetDSPName(FDocument.DisplayName());
    FDocument.Load();
}

void TDSPFormTreeView::LoadFromBytes(const QByteArray& bytes, const QString& name) {
    if (!name.isEmpty()) FDocument.SetTitle(name);
    FDocument.LoadFromBytes(bytes);
}

void TDSPFormTreeView::CommitEdit() {
    if (state() != QAbstractItemView::EditingState) return;
    const QModelIndex current = currentIndex();
    for (int c = 0; c < TDSPTreeModel::ColumnCount; ++c)
        if (QWidget* editor = indexWidget(current.siblingAtColumn(c))) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
}

bool TDSPFormTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool started = QTreeView::edit(index, trigger, event);
    if (started) emit EditingChanged();
    return started;
}

void TDSPFormTreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTreeView::closeEditor(editor, hint);
    emit EditingChanged();
}

void TDSPFormTreeView::ShowRefusal(const QString& message) {
    Interaction().MessageBox(message, LString(QStringLiteral("ST_INCORRECTVALUE")),
                             MB::OK | MB::ICONERROR);
}

void TDSPFormTreeView::Reveal(const QModelIndex& index) {
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
        expand(p);
    setCurrentIndex(index);
    scrollTo(index);
}

void TDSPFormTreeView::AddNode() {
    const QModelIndex added = Model().AddNode(currentIndex());
    if (!added.isValid()) return;
    Reveal(added);
    edit(added);  // the user names it right away
}

void TDSPFormTreeView::AddProperty() {
    const QModelIndex added = Model().AddProperty(currentIndex());
    if (!added.isValid()) return;
    Reveal(added);
    edit(added);
}

void TDSPFormTreeView::DeleteCurrent() {
    const QModelIndex current = currentIndex().siblingAtColumn(TDSPTreeModel::colName);
    if (!current.isValid()) return;
    if (Model().IsNode(current) && current.parent().isValid() && Model().rowCount(current) > 0) {
        const int answer = Interaction().MessageBox(
            SafeFormat(LString(QStringLiteral("M_Pelvar_DSPTree_DeleteNodeAsk")),
                       current.data().toString(), Model().rowCount(current)),
            LString(QStringLiteral("ST_CONFIRMATION")),
            MB::YESNO | MB::ICONQUESTION | MB::DEFBUTTON2);
        if (answer != IDYES) return;
    }
    Model().Remove(current);
}

void TDSPFormTreeView::RenameCurrent() {
    if (currentIndex().isValid()) edit(currentIndex().siblingAtColumn(TDSPTreeModel::colName));
}

void TDSPFormTreeView::EditValue() {
    const QModelIndex current = currentIndex();
    if (Model().IsProperty(current)) edit(current.siblingAtColumn(TDSPTreeModel::colValue));
}

bool TDSPFormTreeView::FindNext(const QString& text) {
    bool wrapped = false;
    const QModelIndex found = Model().Find(text, currentIndex(), &wrapped);
    if (!found.isValid()) {
        Interaction().MessageBox(
            SafeFormat(LString(QStringLiteral("M_Pelvar_DSPTree_TextNotFound")), text),
            LString(QStringLiteral("ST_INFORMATION")), MB::OK | MB::ICONINFORMATION);
        emit Status(QString());
        return false;
    }
    Reveal(found);
    emit Status(wrapped ? LString(QStringLiteral("M_Pelvar_DSPTree_FindWrapped")) : QString());
    return true;
}

bool TDSPFormTreeView::CurrentIsBinary() const {
    return FDocument.Model().PropertyType(currentIndex()) == QLatin1String("binary");
}

void TDSPFormTreeView::LoadBinaryFromFile() {
    const QModelIndex current = currentIndex();
    if (!CurrentIsBinary()) return;
    const QString name = Interaction().OpenFileName(
        LString(QStringLiteral("M_Pelvar_DSPTree_LoadBinaryCaption")), QString(),
        LString(QStringLiteral("M_Pelvar_DSPTree_AllFilesFilter")));
    if (name.isEmpty()) return;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        Interaction().MessageBox(SafeFormat(LString(QStringLiteral("M_Pelvar_DSPTree_FileError")),
                                            name, file.errorString()),
                                 LString(QStringLiteral("ST_WARNING")), MB::OK | MB::ICONERROR);
        return;
    }
    Model().SetValue(current, file.readAll());
}

void TDSPFormTreeView::SaveBinaryToFile() {
    const QModelIndex current = currentIndex();
    if (!CurrentIsBinary()) return;
    const QString name = Interaction().SaveFileName(
        LString(QStringLiteral("M_Pelvar_DSPTree_SaveBinaryCaption")), QString(),
        LString(QStringLiteral("M_Pelvar_DSPTree_AllFilesFilter")), QString());
    if (name.isEmpty()) return;
    QFile file(name);
    const QByteArray bytes = Model().PropertyValue(current).toByteArray();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        Interaction().MessageBox(SafeFormat(LString(QStringLiteral("M_Pelvar_DSPTree_FileError")),
                                            name, file.errorString()),
                                 LString(QStringLiteral("ST_WARNING")), MB::OK | MB::ICONERROR);
}
