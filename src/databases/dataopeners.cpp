#include "dataopeners.h"

#include <QPoint>

#include "basekit/interaction.h"
#include "dataview/findcolumndialog.h"
#include "dataview/tabledataform.h"
#include "dataview/viewdataform.h"
#include "model/dataopeners.h"
#include "query/querywindows.h"

namespace {

// A shown window frees itself when closed; one that can not open is freed here.
template <typename Form, typename OpenFn>
bool OpenWindow(OpenFn open) {
    auto* form = new Form(nullptr);
    if (!open(*form)) {
        delete form;
        return false;
    }
    form->show();
    return true;
}

// The query window searches its result with the data windows' column search,
// opened next to the window's top right corner.
bool AskQueryFind(QWidget* parent, const QString& caption, QString& text, int& direction) {
    TFindColumnDialog dialog(parent);
    dialog.SetFieldName(caption);
    dialog.SetLastValue(text);
    dialog.SetDirection(TSearchDirection(direction));
    dialog.adjustSize();
    dialog.move(parent->frameGeometry().topRight() - QPoint(dialog.width(), 0));
    if (Interaction().ExecModal(&dialog) != IDOK) return false;
    text = dialog.LastValue();
    direction = int(dialog.Direction());
    return true;
}

}  // namespace

void InstallDataWindowOpeners() {
    SetQueryFindDialogHook(AskQueryFind);
    SetTableDataOpener([](const QString& name, const QString& alias) {
        return OpenWindow<TTableDataForm>(
            [&](TTableDataForm& f) { return f.Open(name, alias, false); });
    });
    SetViewDataOpener([](const QString& name, const QString& alias) {
        return OpenWindow<TViewDataForm>([&](TViewDataForm& f) { return f.Open(name, alias); });
    });
}
