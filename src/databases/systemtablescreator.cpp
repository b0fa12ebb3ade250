#include "systemtablescreator.h"

#include <QApplication>

#include "appcore/dictionary.h"
#include "appcore/dsptable.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/systemtables.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "basekit/strutils.h"

namespace {

// The hourglass for the whole run, restored even when an error leaves it.
class TWaitCursor {
  public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

void CreateSystemTables(const QString& databaseName) {
    TApplicationManager& mng = BaseMng();
    if (databaseName.compare(mng.CurrentAlias(), Qt::CaseInsensitive) == 0) return;
    // The question names the database it changes (a text without "%s" is
    // shown as it is).
    if (Interaction().MessageBox(
            SafeFormat(LString(QStringLiteral("M_Pelvar_DoAlias_AskCreateSystemTable")),
                       databaseName),
            QString(), MB::YESNO | MB::ICONQUESTION) != IDYES)
        return;
    TWaitCursor cursor;
    TDictionary dictionary(databaseName);
    TDicTableDescription description;
    for (const auto& table : SystemTableDefinitions(Configuration().WorkAs17Version(),
                                                    Configuration().LogTableName())) {
        if (mng.TableExists(table.Name, databaseName, QString()) &&
            Interaction().MessageBox(
                SafeFormat(LString(QStringLiteral("M_Pelvar_DoAlias_RewriteSystemTable")),
                           table.Name),
                // Replacing empties the table: only Yes does it, Enter keeps it.
                QString(), MB::YESNO | MB::ICONQUESTION | MB::DEFBUTTON2) != IDYES)
            continue;
        description.Name = table.Name;
        for (const auto& f : table.Fields)
            description.AddField(f.Name, f.DataType, f.Size, f.Comment);
        for (const auto& i : table.Indexes)
            description.AddIndex(i.Name, i.Fields, i.Unique, i.Primary);
        dictionary.CreateTableByDef(description, QString(), true);
        if (table.Name == QLatin1String("LANGUAGES")) {
            // Our platform's languages table object writes into the new table.
            for (const auto& [id, language] : StandardLanguages())
                GetLanguagesTable(databaseName).SetLanguage(id, language);
        }
        description.Clear();
    }
    GetLocalizatorTable(databaseName).Refresh();
    GetLanguagesTable(databaseName).Refresh();
    GetDSPTable(databaseName).Refresh();
}
