#include "structuredialogs.h"

#include <QApplication>
#include <memory>

#include "basekit/interaction.h"
#include "dspconfirmforms.h"
#include "dsppropertiesform.h"
#include "tablecopyfilter.h"
#include "treedesignkit/recreateform.h"
#include "vformpropertiesform.h"

void InstallStructureDialogs() {
    InstallTreeDesignDialogs();
    SetDSPPropertiesPrompt([](TDSPPropertiesRequest& request) {
        QWidget* owner = QApplication::activeWindow();
        std::unique_ptr<TDSPPropertiesForm> form;
        if (request.FormVariant)
            form = std::make_unique<TVDialogPropertyForm>(owner);
        else if (request.InheritSelect)
            form = std::make_unique<TInheritSelectForm>(owner);
        else
            form = std::make_unique<TDSPPropertiesForm>(owner);
        form->SetValues(request);
        form->FillParentList();
        if (Interaction().ExecModal(form.get()) != IDOK) return false;
        request = form->Values();
        return true;
    });
    SetCopyConfirmationPrompt([](TCopyTableConfirmation& state) {
        TCopyTableConfirmationForm form(state, QApplication::activeWindow());
        QApplication::beep();
        return Interaction().ExecModal(&form) == IDOK;
    });
    SetTableCopyPrompt([](TTableCopyRequest& request) {
        TCopyTableByFilterForm form(request, QApplication::activeWindow());
        return Interaction().ExecModal(&form) == IDOK;
    });
    SetDeleteConfirmationPrompt([](TDeleteTableConfirmation& state) {
        TDeleteTableConfirmForm form(state, QApplication::activeWindow());
        QApplication::beep();
        return Interaction().ExecModal(&form) == IDYES;
    });
}
