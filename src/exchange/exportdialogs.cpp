#include "exportdialogs.h"

#include <QApplication>
#include <memory>

#include "basekit/interaction.h"
#include "exportconfirmform.h"
#include "languagesselectform.h"
#include "lexportconfirmform.h"
#include "model/exportconfirm.h"
#include "overwriteconfirmform.h"

void InstallExportDialogs() {
    TExportDialogPrompts prompts;
    prompts.ExportConfirm = [](TExportConfirmState& state, int resourcesMode, int tableDataMode) {
        TExportConfirmForm form(state, resourcesMode, tableDataMode);
        QApplication::beep();  // the question sound
        const int result = Interaction().ExecModal(&form);
        // Cancelled or not, what the user chose is remembered.
        state = form.State();
        return result == IDOK;
    };
    prompts.Overwrite = [](const QString& fileName, bool canAppend) {
        std::unique_ptr<TExportOverwriteConfirmForm> form;
        if (canAppend)
            form = std::make_unique<TExportOverwriteConfirmForm>(fileName);
        else
            form = std::make_unique<TExportOverwriteXMLConfirmForm>(fileName);
        const int result = Interaction().ExecModal(form.get());
        return result == IDYES || (canAppend && result == IDNO) ? result : IDCANCEL;
    };
    prompts.LanguagesSelect = [](const QString&, QStringList& languages) {
        TLanguagesSelectForm form(languages);
        if (Interaction().ExecModal(&form) != IDOK) return false;
        languages = form.Selected();
        return true;
    };
    prompts.LExportConfirm = [](TLExportConfirmState& state, bool extended) {
        std::unique_ptr<TLExportConfirmForm> form;
        if (extended)
            form = std::make_unique<TLExportConfirmFormEx>(state);
        else
            form = std::make_unique<TLExportConfirmForm>(state);
        const int result = Interaction().ExecModal(form.get());
        state = form->State();
        return result == IDOK;
    };
    SetExportDialogPrompts(std::move(prompts));
}
