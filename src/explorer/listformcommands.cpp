// The window's commands: opening rows, the list's own keys, new windows,
// export/import files and shortcuts.
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>

#include "appcore/texts.h"
#include "basekit/errors.h"
#include "basekit/interaction.h"
#include "basekit/strutils.h"
#include "commonlistform.h"
#include "formlookup.h"
#include "listview.h"
#include "model/shortcuts.h"
#include "popupmenuwokey.h"

void TCommonListForm::UpOneLevel() {
    const int last = FCurrentPath.lastIndexOf(QLatin1Char('\\'));
    SetCurrentPath(last > 0 ? FCurrentPath.left(last) : QString());
}

void TCommonListForm::ListRowDoubleClicked(int row) {
    if (row < 0 || row >= FListView->RowCount()) return;
    TPelvarObject* object = FListView->Rows()[size_t(row)].Data;
    if (object->IsFolder()) {
        if (!object->Opened() && !object->Open()) return;
        SetCurrentPath(object->FullPath());
        return;
    }
    FillListViewPopupMenu();
    if (QAction* item = FListViewPopupMenu->defaultAction()) item->trigger();
}

bool TCommonListForm::ListKeyDown(QKeyEvent* event) {
    int key = event->key();
    if (key == Qt::Key_Enter) key = Qt::Key_Return;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int pressed = QKeyCombination(mods, Qt::Key(key)).toCombined();
    if (FListView->SelCount() == 1) {
        TPelvarObject* object = FListView->Rows()[size_t(FListView->SelectedRows().front())].Data;
        TPelvarObjectActionList& actions = object->Actions();
        for (int i = 0; i < actions.Count(); ++i) {
            TPelvarObjectAction* action = actions.Items(i);
            action->Update(nullptr);
            if (action->Enabled && action->Options.Contains(aoListItem) && action->Shortcut != 0 &&
                action->Shortcut == pressed) {
                action->Execute(nullptr);
                return true;
            }
        }
        if (key == Qt::Key_Return && mods == Qt::ControlModifier && object->HasProperties()) {
            object->EditProperties();
            return true;
        }
        if (key == Qt::Key_Return && mods == Qt::NoModifier && object->IsFolder()) {
            if (object->Opened() || object->Open()) SetCurrentPath(object->FullPath());
            return true;
        }
    }
    if (key == Qt::Key_F && mods == Qt::ControlModifier) {
        TFormLookUp& lookup = TFormLookUp::Shared();
        lookup.SetListView(FListView);
        lookup.ShowForm();
        return true;
    }
    if (key == Qt::Key_F3 && mods == Qt::NoModifier) {
        TFormLookUp& lookup = TFormLookUp::Shared();
        lookup.SetListView(FListView);
        lookup.Find();
        return true;
    }
    return false;
}

TCommonListForm* TCommonListForm::NewWindow() {
    SaveParamsInRegistry();
    QPointer<TCommonListForm> window = new TCommonListForm();  // frees itself when closed
    try {
        window->Initialize(FCurrentPath, FFileName);
    } catch (...) {
        if (window) window->deleteLater();
        throw;
    }
    window->show();
    window->FListView->ScrollToRow(window->FListView->FocusedRow());
    return window;
}

void TCommonListForm::OpenImportFile() {
    OpenImportFileWindow(OpenImportFileAction->text());
}

void TCommonListForm::CreateExportFile() {
    CreateExportFileWindow(CreateExportFileAction->text());
}

namespace {

// A new window on an export/import file, shown; freed when it cannot start.
TCommonListForm* OpenFileWindow(const QString& name) {
    QPointer<TCommonListForm> window = new TCommonListForm();
    try {
        window->Initialize(QString(), name);
    } catch (...) {
        if (window) window->deleteLater();
        throw;
    }
    window->show();
    return window;
}

}  // namespace

TCommonListForm* TCommonListForm::OpenImportFileWindow(const QString& caption) {
    const QString name = Interaction().OpenFileName(
        caption.isEmpty() ? LString(QStringLiteral("M_Pelvar_ListFrms_OpenImportFileActionCaption"))
                          : caption,
        QString(), LString(QStringLiteral("M_Pelvar_ListFrms_EIFileFilter")));
    if (name.isEmpty()) return nullptr;
    if (!QFileInfo::exists(name))
        throw EPelvarError(QStringLiteral("File ") + name + QStringLiteral(" not found"));
    return OpenFileWindow(name);
}

TCommonListForm* TCommonListForm::CreateExportFileWindow(const QString& caption) {
    const QString name = Interaction().SaveFileName(
        caption.isEmpty()
            ? LString(QStringLiteral("M_Pelvar_ListFrms_CreateExportFileActionCaption"))
            : caption,
        QString(), LString(QStringLiteral("M_Pelvar_ListFrms_EIFileFilter")),
        QStringLiteral("eif"));
    if (name.isEmpty()) return nullptr;
    if (QFileInfo::exists(name)) {
        const QString ask =
            SafeFormat(LString(QStringLiteral("M_Pelvar_Main_RewriteEIFileAsk")), name);
        if (Interaction().MessageBox(ask, QString(),
                                     MB::TASKMODAL | MB::ICONQUESTION | MB::YESNO) != IDYES)
            return nullptr;
        QFile::setPermissions(
            name, QFile::permissions(name) | QFileDevice::WriteOwner | QFileDevice::WriteUser);
        if (!QFile::remove(name)) throw EPelvarError(QStringLiteral("Error deleting file ") + name);
    }
    return OpenFileWindow(name);
}

void TCommonListForm::AddToShortcuts() {
    if (TShortcutHost* host = ShortcutHost())
        AddFolderShortcut(*host, FCurrentPath, FindCurrentFolder());
}
