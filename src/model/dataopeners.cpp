#include "dataopeners.h"

#include <utility>

namespace {
TDataWindowOpener& TableOpener() {
    static TDataWindowOpener opener;
    return opener;
}
TDataWindowOpener& ViewOpener() {
    static TDataWindowOpener opener;
    return opener;
}
}  // namespace

void SetTableDataOpener(TDataWindowOpener opener) {
    TableOpener() = std::move(opener);
}
void SetViewDataOpener(TDataWindowOpener opener) {
    ViewOpener() = std::move(opener);
}
bool HasTableDataOpener() {
    return bool(TableOpener());
}
bool HasViewDataOpener() {
    return bool(ViewOpener());
}
bool OpenTableData(const QString& name, const QString& alias) {
    return TableOpener() && TableOpener()(name, alias);
}
bool OpenViewData(const QString& name, const QString& alias) {
    return ViewOpener() && ViewOpener()(name, alias);
}
