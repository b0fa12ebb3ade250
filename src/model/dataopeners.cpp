#include "dataopeners.h"

#include <utility>

#include "appcore/texts.h"
#include "basekit/interaction.h"

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
namespace {
bool Open(const TDataWindowOpener& opener, const QString& name, const QString& alias) {
    if (opener) return opener(name, alias);
    LMessageBox(QStringLiteral("M_Pelvar_DOAlias_NotAvailableYet"),
                QStringLiteral("ST_INFORMATION"), MB::OK | MB::ICONINFORMATION);
    return false;
}
}  // namespace

bool OpenTableData(const QString& name, const QString& alias) {
    return Open(TableOpener(), name, alias);
}
bool OpenViewData(const QString& name, const QString& alias) {
    return Open(ViewOpener(), name, alias);
}
