#include "dsptreeviewdialog.h"

#include <QAction>
#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "basekit/strutils.h"

namespace {

QString Text(const char* id) {
    return LString(QString::fromLatin1(id));
}

}  // namespace

TDSPTreeViewDialog::TDSPTreeViewDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TDSPTreeViewDialog"));
    setWindowTitle(LString(QStringLiteral("M_Pelvar_DODSPStr_EditDSPTreeActionCaption")));
    setSizeGripEnabled(true);
    FTreeView = new TDSPFormTreeView(this);
    BuildLayout();
    TDSPTreeDocument& doc = FTreeView->Document();
    connect(&doc, &TDSPTreeDocument::StateChanged, this, &TDSPTreeViewDialog::UpdateState);
    connect(&doc.Model(), &TDSPTreeModel::ModifiedChanged, this, &TDSPTreeViewDialog::UpdateState);
    connect(&doc.Model(), &QAbstractItemModel::rowsInserted, this,
            &TDSPTreeViewDialog::UpdateState);
    connect(&doc.Model(), &QAbstractItemModel::rowsRemoved, this, &TDSPTreeViewDialog::UpdateState);
    connect(&doc.Model(), &QAbstractItemModel::dataChanged, this, &TDSPTreeViewDialog::UpdateState);
    connect(FTreeView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TDSPTreeViewDialog::UpdateState);
    connect(FTreeView, &TDSPFormTreeView::EditingChanged, this, &TDSPTreeViewDialog::UpdateState);
    connect(FTreeView, &TDSPFormTreeView::Status, this, [this](const QString& text) {
        FFindStatus = text;
        UpdateState();
    });
    resize(820, 560);
    UpdateState();
}

QAction* TDSPTreeViewDialog::AddAction(const QString& objectName, const QString& captionId,
                                       const QIcon& icon, const QKeySequence& shortcut,
                                       void (TDSPFormTreeView::*command)()) {
    auto* action = new QAction(icon, LString(captionId), this);
    action->setObjectName(objectName);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    if (!shortcut.isEmpty())
        action->setToolTip(action->text() + QStringLiteral(" (") +
                           shortcut.toString(QKeySequence::NativeText) + QLatin1Char(')'));
    if (command) connect(action, &QAction::triggered, FTreeView, command);
    addAction(action);
    return action;
}

void TDSPTreeViewDialog::BuildLayout() {
    QStyle* st = style();
    FSave = AddAction(QStringLiteral("SaveAction"),
                      QStringLiteral("C_Pelvar_DSPTreeViewDialog_SaveAction_L"),
                      st->standardIcon(QStyle::SP_DialogSaveButton), QKeySequence::Save, nullptr);
    connect(FSave, &QAction::triggered, this, [this] { FTreeView->Save(); });
    FAddNode = AddAction(QStringLiteral("AddNodeAction"),
                         QStringLiteral("C_Pelvar_DSPTreeViewDialog_AddNodeAction_L"),
                         st->standardIcon(QStyle::SP_FileDialogNewFolder),
                         QKeySequence(Qt::CTRL | Qt::Key_N), &TDSPFormTreeView::AddNode);
    FAddProperty = AddAction(QStringLiteral("AddPropertyAction"),
                             QStringLiteral("C_Pelvar_DSPTreeViewDialog_AddPropertyAction_L"),
                             st->standardIcon(QStyle::SP_FileIcon), QKeySequence(Qt::Key_Insert),
                             &TDSPFormTreeView::AddProperty);
    FRename = AddAction(QStringLiteral("RenameAction"),
                        QStringLiteral("C_Pelvar_DSPTreeViewDialog_RenameAction_L"), QIcon(),
                        QKeySequence(Qt::Key_F2), &TDSPFormTreeView::RenameCurrent);
    FEditValue = AddAction(QStringLiteral("EditValueAction"),
                           QStringLiteral("C_Pelvar_DSPTreeViewDialog_EditValueAction_L"), QIcon(),
                           QKeySequence(Qt::CTRL | Qt::Key_E), &TDSPFormTreeView::EditValue);
    FDelete = AddAction(QStringLiteral("DeleteAction"),
                        QStringLiteral("C_Pelvar_DSPTreeViewDialog_DeleteAction_L"),
                        st->standardIcon(QStyle::SP_TrashIcon), QKeySequence::Delete,
                        &TDSPFormTreeView::DeleteCurrent);
    FLoadBinary = AddAction(QStringLiteral("LoadBinaryAction"),
                            QStringLiteral("C_Pelvar_DSPTreeViewDialog_LoadBinaryAction_L"),
                            st->standardIcon(QStyle::SP_DialogOpenButton), QKeySequence(),
                            &TDSPFormTreeView::LoadBinaryFromFile);
    FSaveBinary = AddAction(QStringLiteral("SaveBinaryAction"),
                            QStringLiteral("C_Pelvar_DSPTreeViewDialog_SaveBinaryAction_L"),
                            QIcon(), QKeySequence(), &TDSPFormTreeView::SaveBinaryToFile);
    auto* expandAll = AddAction(QStringLiteral("ExpandAllAction"),
                                QStringLiteral("C_Pelvar_DSPTreeViewDialog_ExpandAllAction_L"),
                                QIcon(), QKeySequence(Qt::CTRL | Qt::Key_Plus), nullptr);
    connect(expandAll, &QAction::triggered, FTreeView, &QTreeView::expandAll);
    auto* collapseAll = AddAction(QStringLiteral("CollapseAllAction"),
                                  QStringLiteral("C_Pelvar_DSPTreeViewDialog_CollapseAllAction_L"),
                                  QIcon(), QKeySequence(Qt::CTRL | Qt::Key_Minus), nullptr);
    connect(collapseAll, &QAction::triggered, FTreeView, &QTreeView::collapseAll);
    auto* find = AddAction(QStringLiteral("FindAction"),
                           QStringLiteral("C_Pelvar_DSPTreeViewDialog_FindAction_L"), QIcon(),
                           QKeySequence::Find, nullptr);
    FFindNext = AddAction(QStringLiteral("FindNextAction"),
                          QStringLiteral("C_Pelvar_DSPTreeViewDialog_FindNextAction_L"),
                          st->standardIcon(QStyle::SP_ArrowDown), QKeySequence::FindNext, nullptr);
    connect(FFindNext, &QAction::triggered, this, &TDSPTreeViewDialog::Find);

    auto* tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tools->addAction(FSave);
    tools->addSeparator();
    for (QAction* a : {FAddNode, FAddProperty, FRename, FEditValue, FDelete})
        tools->addAction(a);
    tools->addSeparator();
    tools->addAction(FLoadBinary);
    tools->addAction(FSaveBinary);

    FFindEdit = new QLineEdit(this);
    FFindEdit->setObjectName(QStringLiteral("FindEdit"));
    FFindEdit->setPlaceholderText(Text("C_Pelvar_DSPTreeViewDialog_FindPlaceholder_L"));
    FFindEdit->setClearButtonEnabled(true);
    connect(FFindEdit, &QLineEdit::returnPressed, this, &TDSPTreeViewDialog::Find);
    connect(FFindEdit, &QLineEdit::textChanged, this, &TDSPTreeViewDialog::UpdateState);
    connect(find, &QAction::triggered, this, [this] {
        FFindEdit->setFocus();
        FFindEdit->selectAll();
    });
    auto* findLabel = new QLabel(Text("C_Pelvar_DSPTreeViewDialog_FindLabel_L"), this);
    findLabel->setBuddy(FFindEdit);
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(findLabel);
    findRow->addWidget(FFindEdit, 1);
    for (QAction* a : {FFindNext, expandAll, collapseAll}) {
        auto* button = new QToolButton(this);
        button->setDefaultAction(a);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        findRow->addWidget(button);
    }

    FHeader = new QLabel(this);
    FHeader->setObjectName(QStringLiteral("HeaderLabel"));
    QFont bold = FHeader->font();
    bold.setBold(true);
    FHeader->setFont(bold);
    FBanner = new QLabel(this);
    FBanner->setObjectName(QStringLiteral("BannerLabel"));
    FBanner->setWordWrap(true);
    FBanner->setTextInteractionFlags(Qt::TextSelectableByMouse);
    FReplaceButton = new QPushButton(Text("C_Pelvar_DSPTreeViewDialog_ReplaceButton_L"), this);
    FReplaceButton->setObjectName(QStringLiteral("ReplaceButton"));
    connect(FReplaceButton, &QPushButton::clicked, this, &TDSPTreeViewDialog::ReplaceBody);
    auto* bannerRow = new QHBoxLayout;
    bannerRow->addWidget(FBanner, 1);
    bannerRow->addWidget(FReplaceButton, 0, Qt::AlignTop);

    FStatus = new QLabel(this);
    FStatus->setObjectName(QStringLiteral("StatusLabel"));
    auto* buttons = new QDialogButtonBox(this);
    FSaveButton = buttons->addButton(Text("C_Pelvar_DSPTreeViewDialog_SaveButton_L"),
                                     QDialogButtonBox::ApplyRole);
    FSaveButton->setObjectName(QStringLiteral("SaveButton"));
    connect(FSaveButton, &QPushButton::clicked, FSave, &QAction::trigger);
    FOkButton = buttons->addButton(LString(QStringLiteral("ST_OK")), QDialogButtonBox::AcceptRole);
    FOkButton->setObjectName(QStringLiteral("OkButton"));
    FCloseButton = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    FCloseButton->setObjectName(QStringLiteral("CloseButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        FTreeView->CommitEdit();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &TDSPTreeViewDialog::reject);
    // Enter in the tree or the find box must not close the dialog.
    for (QPushButton* b : buttons->findChildren<QPushButton*>())
        b->setAutoDefault(false);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(FStatus, 1);
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FHeader);
    layout->addLayout(bannerRow);
    layout->addWidget(tools);
    layout->addLayout(findRow);
    layout->addWidget(FTreeView, 1);
    layout->addLayout(bottom);
}

void TDSPTreeViewDialog::UpdateState() {
    TDSPTreeDocument& doc = FTreeView->Document();
    const TDSPTreeModel& model = doc.Model();
    const bool memory = doc.MemoryMode();
    const bool editable = doc.Editable();
    const QModelIndex current = FTreeView->currentIndex();

    if (memory)
        FHeader->setText(doc.DisplayName());
    else
        FHeader->setText(SafeFormat(LString(QStringLiteral("M_Pelvar_DSPTree_StructureHeader")),
                                    doc.DisplayName(), doc.ObjectType(), doc.AliasName()));
    QString banner;
    if (doc.State() == TDSPTreeDocument::dsDamaged)
        banner =
            SafeFormat(LString(QStringLiteral("M_Pelvar_DSPTree_DamagedBanner")), doc.LoadError());
    else if (doc.State() == TDSPTreeDocument::dsUnavailable)
        banner = SafeFormat(LString(QStringLiteral("M_Pelvar_DSPTree_UnavailableBanner")),
                            doc.LoadError());
    else if (doc.ReadOnly())
        banner = LString(QStringLiteral("M_Pelvar_DSPTree_ReadOnlyBanner"));
    FBanner->setText(banner);
    // A body that cannot be shown is a warning to be seen, not a remark.
    FBanner->setStyleSheet(doc.State() == TDSPTreeDocument::dsDamaged ||
                                   doc.State() == TDSPTreeDocument::dsUnavailable
                               ? QStringLiteral("QLabel { background: #fff3cd; color: #5c4400; "
                                                "border: 1px solid #e6c65c; padding: 4px; }")
                               : QString());
    FBanner->setVisible(!banner.isEmpty());
    FReplaceButton->setVisible(doc.State() == TDSPTreeDocument::dsDamaged && !doc.ReadOnly());

    FSave->setEnabled(doc.CanSave() && (doc.Modified() || FTreeView->Editing()));
    FAddNode->setEnabled(editable);
    FAddProperty->setEnabled(editable);
    FRename->setEnabled(editable && current.isValid());
    FEditValue->setEnabled(editable && model.IsProperty(current));
    FDelete->setEnabled(editable && current.parent().isValid());
    FLoadBinary->setEnabled(editable && FTreeView->CurrentIsBinary());
    FSaveBinary->setEnabled(FTreeView->CurrentIsBinary());
    FFindNext->setEnabled(!FFindEdit->text().isEmpty());

    FSave->setVisible(!memory);  // the caller keeps the bytes: there is nothing to save to
    FSaveButton->setVisible(!memory);
    FSaveButton->setEnabled(FSave->isEnabled());
    FOkButton->setVisible(memory);
    FCloseButton->setText(
        LString(memory ? QStringLiteral("ST_CANCEL")
                       : QStringLiteral("C_Pelvar_DSPTreeViewDialog_CloseButton_L")));
    QString status = FFindStatus;
    if (doc.Modified())
        status = LString(QStringLiteral("M_Pelvar_DSPTree_ModifiedStatus")) +
                 (status.isEmpty() ? QString() : QStringLiteral(" · ") + status);
    FStatus->setText(status);
}

void TDSPTreeViewDialog::showEvent(QShowEvent* event) {
    UpdateState();
    QDialog::showEvent(event);
}

void TDSPTreeViewDialog::Find() {
    if (FFindEdit->text().isEmpty()) return;
    FTreeView->FindNext(FFindEdit->text());
}

void TDSPTreeViewDialog::ReplaceBody() {
    if (FTreeView->Document().ReplaceDamagedBody()) FTreeView->setFocus();
}

void TDSPTreeViewDialog::reject() {
    FTreeView->CommitEdit();
    TDSPTreeDocument& doc = FTreeView->Document();
    switch (doc.QueryClose()) {
        case TDSPTreeDocument::cdStay:
            return;
        case TDSPTreeDocument::cdKeep:
            if (doc.MemoryMode()) {
                QDialog::accept();
                return;
            }
            break;
        case TDSPTreeDocument::cdDiscard:
            break;
    }
    QDialog::reject();
}

TDSPTreeViewDialog* OpenDSPTreeDialog(const QString& alias, const QString& name, int objectType,
                                      QWidget* parent) {
    auto* dialog = new TDSPTreeViewDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    TDSPFormTreeView* view = dialog->TreeView();
    view->SetObjectType(objectType);
    view->SetName(name);
    view->SetDSPName(name);
    view->SetAliasName(alias);
    view->Activate(true);
    dialog->setWindowTitle(LString(QStringLiteral("M_Pelvar_DODSPStr_EditDSPTreeActionCaption")));
    dialog->show();
    return dialog;
}

bool EditDSPTreeBytes(QByteArray& bytes, const QString& title, bool readOnly, QWidget* parent) {
    TDSPTreeViewDialog dialog(parent);
    dialog.TreeView()->SetReadOnly(readOnly);
    dialog.TreeView()->LoadFromBytes(bytes, title);
    dialog.setWindowTitle(LString(QStringLiteral("M_Pelvar_DODSPStr_EditDSPTreeActionCaption")));
    if (Interaction().ExecModal(&dialog) != IDOK) return false;
    bytes = dialog.TreeView()->Bytes();
    return true;
}
