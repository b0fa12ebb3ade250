#include "dataopeners.h"

#include "dataview/tabledataform.h"
#include "dataview/viewdataform.h"
#include "model/dataopeners.h"

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

}  // namespace

void InstallDataWindowOpeners() {
    SetTableDataOpener([](const QString& name, const QString& alias) {
        return OpenWindow<TTableDataForm>(
            [&](TTableDataForm& f) { return f.Open(name, alias, false); });
    });
    SetViewDataOpener([](const QString& name, const QString& alias) {
        return OpenWindow<TViewDataForm>([&](TViewDataForm& f) { return f.Open(name, alias); });
    });
}
