#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QTableWidget>
#include <QToolButton>
#include <utility>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "appcore/texts.h"
#include "basekit/datatypes.h"
#include "basekit/interaction.h"
#include "basekit/strutils.h"
#include "expqueryconfform.h"
#include "gridkit/resultmodel.h"
#include "opkit/querydata.h"
#include "querycsv.h"
#include "querydatafile.h"
#include "queryform.h"

// Exports of the window's result: the CSV file and query data files.

namespace {
const QString kDataFilter = QStringLiteral("eif|*.eif|all|*.*");
}  // namespace

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

// Query data files: the result with its parameters, saved and read back.

void TQueryForm::AddDataFileButtons(QHBoxLayout* head) {
    const auto add = [&](const char* action, const char* button, const char* caption,
                         const char* hint, const std::function<void()>& slot) {
        auto* a = new QAction(LString(QLatin1String(caption)), this);
        a->setObjectName(QLatin1String(action));
        a->setToolTip(LString(QLatin1String(hint)));
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
        auto* b = new QToolButton;
        b->setObjectName(QLatin1String(button));
        b->setDefaultAction(a);
        head->addWidget(b);
    };
    add("SaveQueryDataAction", "SaveSpeedButton", "M_pelvar_QueryFrm_SaveCaption",
        "M_pelvar_QueryFrm_SaveSpeedButton_H", [this] { SaveQueryData(); });
    add("LoadQueryDataAction", "LoadSpeedButton", "M_pelvar_QueryFrm_LoadCaption",
        "M_pelvar_QueryFrm_LoadSpeedButton_H", [this] {
            const QString name = Interaction().OpenFileName(
                LString(QStringLiteral("M_pelvar_QueryFrm_LoadSpeedButton_H")), QString(),
                kDataFilter);
            if (!name.isEmpty()) LoadQueryData(name);
        });
}

void TQueryForm::SaveQueryData() {
    if (QueryText().trimmed().isEmpty()) return;
    TExpQueryConfForm form(this);
    form.SetFileName(FLastExportName.isEmpty() ? QStringLiteral("QueryExp.eif") : FLastExportName);
    form.SetSortFields(FLastSortFields, true);
    form.SetTableFormatEnabled(true);
    form.SetFilter(kDataFilter, QStringLiteral("eif"));
    if (Interaction().ExecModal(&form) != IDOK || form.FileName().isEmpty()) return;
    FLastExportName = form.FileName();
    FLastSortFields = form.SortFields();
    Guard([&] {
        // Another statement would end a server cursor the grid still reads.
        FModel->StopFetch();
        RefreshParams();
        GridToRecord();
        std::unique_ptr<TSelectQuery> query = BaseMng().GetSelectQuery(QueryText(), FAlias);
        AssignParams(*query);
        TUOExportQueryData op;
        op.Query = query.get();
        op.Params = FParams;
        op.SetSourceAlias(FAlias);
        op.SetFileName(FLastExportName);
        op.RowLimit = FModel->rowCount();
        op.SectionName = QFileInfo(FLastExportName).fileName() + QStringLiteral(" - Query data");
        op.SortFields = form.SortFields();
        op.TableFormat = form.TableFormat();
        op.NewFormat = !form.ReleaseVersion17();
        op.Utf8 = form.Utf8();
        ExecuteUtilOperation(op, QStringLiteral("Export"));
    });
}

bool TQueryForm::LoadQueryData(const QString& fileName) {
    RefreshParams();
    FModel->StopFetch();
    FResultLabel->clear();
    FResultLabel->repaint();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // Read aside first: a file that fails half way leaves the grid as it was.
    TQueryResultModel loaded;
    TQueryDataReader reader(fileName);
    FEscapePressed = false;
    bool done = false;
    Guard([&] {
        done = reader.Read(loaded, [this](qint64 records) {
            FResultLabel->setText(SafeFormat(FRowsCountedText, records + 1));
            FResultLabel->repaint();
            QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
            return !std::exchange(FEscapePressed, false);
        });
    });
    QGuiApplication::restoreOverrideCursor();
    if (!done) {
        FResultLabel->clear();
        return false;
    }
    FModel->TakeOver(loaded);
    ApplyLoadedParams(reader.Params());
    FColumnsSized = false;
    SizeResultColumns();
    FResultLabel->setText(QStringLiteral("Ok. %1 records.").arg(reader.RecordCount()));
    UpdateActions();
    return true;
}

void TQueryForm::ApplyLoadedParams(const QList<TQueryDataParam>& params) {
    // A line whose name is not the grid's at its position is left out.
    for (int i = 0; i < params.size() && i < FParams.GetFieldCount(); ++i) {
        const QTableWidgetItem* name = FParamGrid->item(i, 0);
        if (!name || name->text() != params[i].Name) continue;
        const int code = DataTypeByName(params[i].TypeName);
        if (auto* type = qobject_cast<QComboBox*>(FParamGrid->cellWidget(i, 1)); type && code >= 0)
            type->setCurrentIndex(code);
        if (QTableWidgetItem* value = FParamGrid->item(i, 2)) value->setText(params[i].Value);
    }
}
