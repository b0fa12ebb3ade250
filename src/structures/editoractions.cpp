#include "editoractions.h"

#include <QWidget>

#include "appcore/texts.h"
#include "dspfolder.h"
#include "dspitem.h"

TPelvarObjectAction* AddEditAction(TPelvarObject& owner, const char* name, const char* captionId,
                                   int shortcut, int image, TPelvarObjectActionOptions options) {
    TPelvarObjectAction* a = owner.Actions().Add();
    a->Name = QLatin1String(name);
    a->Caption = a->Hint = LString(QLatin1String(captionId));
    a->Category = QStringLiteral("Edit");
    a->Shortcut = shortcut;
    a->ImageIndex = image;
    a->Options = options;
    return a;
}

TPelvarObjectActionOptions SubObjectOptions() {
    return {aoSubObjects, aoPopupMenu, aoToolBar, aoSingleSelection};
}

TPelvarObjectActionOptions ManySubObjectOptions() {
    TPelvarObjectActionOptions options = SubObjectOptions();
    options += aoMultySelection;
    return options;
}

TPelvarObjectActionOptions AnySubObjectOptions() {
    TPelvarObjectActionOptions options = ManySubObjectOptions();
    options += aoNoSelection;
    return options;
}

void BringEditorForward(QWidget* window) {
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

TPelvarObjectAction* AddSelectedAction(TDODSPFolder& folder, const char* name,
                                       const char* captionId, int shortcut, int image,
                                       std::function<void(TDOCommonDSPItem&)> run) {
    TPelvarObjectAction* a =
        AddEditAction(folder, name, captionId, shortcut, image, SubObjectOptions());
    a->SetOnExecute([&folder, run](const QStringList* selected) {
        if (!selected || selected->size() != 1) return;
        const std::vector<TDOCommonDSPItem*> items = folder.ItemsOf(*selected);
        if (items.size() == 1) run(*items.front());
    });
    return a;
}

TPelvarObjectAction* AddTreeAction(TDODSPFolder& folder) {
    return AddSelectedAction(folder, "DSP_EditDSPTree",
                             "M_Pelvar_DODSPStr_EditDSPTreeActionCaption", 0, 6,
                             [](TDOCommonDSPItem& item) { item.EditDSPTree(); });
}

TPelvarObjectAction* AddDeleteAction(TDODSPFolder& folder) {
    TPelvarObjectAction* a =
        AddEditAction(folder, "DSP_Delete", "ST_DELETE", Qt::Key_Delete, 9, ManySubObjectOptions());
    a->SetOnExecute([&folder](const QStringList* s) {
        if (s) folder.DeleteSelected(*s);
    });
    return a;
}

TPelvarObjectAction* AddExportAction(TDODSPFolder& folder) {
    TPelvarObjectAction* a =
        AddEditAction(folder, "DSP_Export", "M_Pelvar_DODSPStr_ExportToFileActionCaption", 0, 10,
                      ManySubObjectOptions());
    a->SetOnExecute([&folder](const QStringList* s) {
        if (s) folder.ExportSelected(*s);
    });
    return a;
}

TPelvarObjectAction* AddAddAction(TDODSPFolder& folder, const char* name, const char* captionId) {
    TPelvarObjectAction* a =
        AddEditAction(folder, name, captionId, Qt::Key_Insert, 8, AnySubObjectOptions());
    a->SetOnExecute([&folder](const QStringList*) { folder.AddStructure(); });
    return a;
}
