#include "shedulerschemeform.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "designkit/recordtable.h"

namespace {

TRecordTable::TColumn Column(const char* captionId, int width,
                             TRecordTable::TColumn::TKind kind = TRecordTable::TColumn::Text) {
    TRecordTable::TColumn c{LString(QLatin1String(captionId))};
    c.Width = width;
    c.Kind = kind;
    return c;
}

}  // namespace

TShedulerSchemeForm::TShedulerSchemeForm(QWidget* parent) : TBodyEditorWindow(parent) {
    setObjectName(QStringLiteral("TShedulerSchemeForm"));
    setWindowTitle(LString(QStringLiteral("C_Pelvar_ShedulerSchemeForm_Caption")));
    TRecordTable::TColumn kind =
        Column("C_Pelvar_ShedulerSchemeForm_KindColumn_L", 90, TRecordTable::TColumn::Choice);
    kind.Choices = ScheduleKinds();
    kind.Choices.move(1, 0);  // new entries run daily
    FEntries = new TRecordTable(
        {Column("C_Pelvar_ShedulerSchemeForm_EntryColumn_L", 100),
         Column("C_Pelvar_ShedulerSchemeForm_CommandColumn_L", 160), kind,
         Column("C_Pelvar_ShedulerSchemeForm_StartColumn_L", 130),
         Column("C_Pelvar_ShedulerSchemeForm_TimeColumn_L", 60),
         Column("C_Pelvar_ShedulerSchemeForm_DaysColumn_L", 80),
         Column("C_Pelvar_ShedulerSchemeForm_IntervalColumn_L", 70),
         Column("C_Pelvar_ShedulerSchemeForm_EnabledColumn_L", 60, TRecordTable::TColumn::Check)},
        this);
    FEntries->SetNewRowValue(4, QStringLiteral("00:00"));
    FEntries->SetNewRowValue(7, QStringLiteral("1"));
    auto* hint =
        new QLabel(LString(QStringLiteral("C_Pelvar_ShedulerSchemeForm_TimingHint")), this);
    hint->setWordWrap(true);
    Content()->addWidget(FEntries);
    Content()->addWidget(hint);
    connect(FEntries, &TRecordTable::Changed, this, [this] { SetModified(true); });
    resize(960, 480);
}

void TShedulerSchemeForm::Load() {
    SetStructure(FDatabaseName, FSchemeName, 16);
    SetHeader(LString(QStringLiteral("C_Pelvar_ShedulerSchemeForm_Header")).arg(FSchemeName));
    TBodyEditorWindow::Load();
}

void TShedulerSchemeForm::ShowBody(const TDSPNode& root) {
    QList<QStringList> rows;
    for (const TScheduleEntry& e : ScheduleFromNode(root, StructureName()))
        rows << QStringList{e.Name,
                            e.Command,
                            e.Kind,
                            e.Start,
                            e.Time,
                            e.Days,
                            QString::number(e.Interval),
                            e.Enabled ? "1" : "0"};
    FEntries->SetRows(rows);
}

TDSPNode TShedulerSchemeForm::CollectBody() const {
    QList<TScheduleEntry> entries;
    for (const QStringList& r : FEntries->Rows()) {
        TScheduleEntry e;
        e.Name = r[0];
        e.Command = r[1];
        e.Kind = r[2];
        e.Start = r[3].trimmed();
        e.Time = r[4].trimmed();
        e.Days = r[5].trimmed();
        e.Interval = r[6].trimmed().toInt();  // not a number: 0, refused as no interval
        e.Enabled = r[7] == QLatin1String("1");
        entries << e;
    }
    return ScheduleToNode(entries, StructureName());
}

TShedulerSchemeForm* FindShedulerSchemeForm(const QString& name, const QString& alias) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<TShedulerSchemeForm*>(w))
            if (f->GetSchemeName() == name && f->GetDatabaseName() == alias) return f;
    return nullptr;
}
