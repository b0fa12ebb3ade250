#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <utility>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "expqueryconfform.h"
#include "gridkit/resultmodel.h"
#include "querycsv.h"
#include "queryform.h"

// Exports of the window's result: the CSV file.

void TQueryForm::ExportToCsv() {
    if (FModel->rowCount() == 0) return;
    TExpQueryConfForm form(this);
    const QFileInfo last(FLastExportName.isEmpty() ? QStringLiteral("QueryExp.eif")
                                                   : FLastExportName);
    form.SetFileName(last.path() == QStringLiteral(".")
                         ? last.completeBaseName() + QStringLiteral(".csv")
                         : last.path() + QLatin1Char('/') + last.completeBaseName() +
                               QStringLiteral(".csv"));
    form.SetSortFields(FLastSortFields, false);
    form.SetTableFormatEnabled(false);
    form.SetByteOrderMarkVisible(true);
    form.SetFilter(QStringLiteral("csv|*.csv|all|*.*"), QStringLiteral("csv"));
    if (Interaction().ExecModal(&form) != IDOK || form.FileName().isEmpty()) return;
    FLastExportName = form.FileName();
    FLastSortFields = form.SortFields();
    const qint64 rows = FModel->rowCount();
    Guard([&] {
        // The grid's statement runs anew; the grid keeps reading its own.
        FModel->StopFetch();
        GridToRecord();
        std::unique_ptr<TSelectQuery> query = BaseMng().GetSelectQuery(QueryText(), FAlias);
        AssignParams(*query);
        TQueryDataToCSV csv(query.get(), rows, form.SortFields(), form.TableFormat());
        csv.SetEncoding(form.Utf8() ? eeUTF8 : eeANSI, form.ByteOrderMark());
        const QString stopText = LString(QStringLiteral("M_pelvar_QueryFrm_StopFetch"));
        // Escape pressed since the last check asks whether to stop.
        FEscapePressed = false;
        csv.SetStopRequest([&] {
            QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
            const bool asked = std::exchange(FEscapePressed, false);
            return asked &&
                   Interaction().MessageBox(stopText, QStringLiteral("?"), MB::OKCANCEL) == IDOK;
        });
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        try {
            csv.Execute(FLastExportName);
        } catch (...) {
            QGuiApplication::restoreOverrideCursor();
            throw;
        }
        QGuiApplication::restoreOverrideCursor();
    });
}
