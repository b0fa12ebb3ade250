// The table data window's record editor and its commands on one field: to
// and from files, and long texts in the string editor.
#include <QAction>
#include <QTableView>

#include "appcore/texts.h"
#include "basekit/datatypes.h"
#include "basekit/interaction.h"
#include "gridkit/datagrid.h"
#include "gridkit/recorddataform.h"
#include "gridkit/tablemodel.h"
#include "gridkit/tablescroller.h"
#include "gridkit/tablewriter.h"
#include "stringeditform.h"
#include "tabledataform.h"

void TTableDataForm::ShowRecord(const QList<TQXVariant>& key, int fallbackRow) {
    const int column = FGrid->CurrentColumn();
    const int row = FModel->RowOfRecord(key);
    SetCurrent(row >= 0 ? row : qMin(fallbackRow, FModel->rowCount() - 1), column);
    RefreshFieldData();
}

void TTableDataForm::EditRecord() {
    const QModelIndex current = FGrid->CurrentIndex();
    if (FReadOnly || !FModel || !current.isValid()) return;
    try {
        const QList<TQXVariant> key = FModel->RecordID(current.row());
        TRecord record = FModel->Writer().ReadRecord(key);
        TRecordDataForm editor(this);
        editor.SetData(record);
        if (Interaction().ExecModal(&editor) != IDOK) return;
        FModel->Writer().Update(key, record, editor.ChangedFields());
        // A changed key field moves the record to another record ID.
        QList<TQXVariant> moved = key;
        const QStringList& keys = FScroller->RecordIDFields();
        for (int i = 0; i < keys.size() && i < moved.size(); ++i)
            if (const TField* f = record.FindField(keys[i]); f && !FScroller->KeyIsRowid())
                moved[i] = f->Value();
        ShowRecord(moved, current.row());
    } catch (const EPelvarError& e) {
        ShowError(e.Message());
        ShowRecord({}, current.row());
    }
}

void TTableDataForm::InsertRecord() {
    if (FReadOnly || !FModel) return;
    // Fields left NULL are left to the engine: defaults and the generated
    // auto-increment value.
    TRecord record = FModel->Writer().EmptyRecord();
    TRecordDataForm editor(this);
    editor.SetData(record);
    if (Interaction().ExecModal(&editor) != IDOK) return;
    try {
        const int row = FModel->InsertRecord(record);
        SetCurrent(row, FGrid->CurrentColumn());
    } catch (const EPelvarError& e) {
        ShowError(e.Message());
    }
}

void TTableDataForm::BlobToFile() {
    const int field = CurrentFieldOf({dtMemo, dtBlob, dtGraphic});
    if (field < 0) return;
    const QString file =
        Interaction().SaveFileName(LString(QStringLiteral("M_Pelvar_TblDatas_BlobToFileCaption")),
                                   QString(), QString(), QString());
    if (file.isEmpty()) return;
    try {
        FModel->Writer().SaveFieldToFile(FModel->RecordID(FGrid->CurrentRow()), field, file);
    } catch (const EPelvarError& e) {
        ShowError(e.Message());
    }
}

void TTableDataForm::FileToBlob() {
    const int field = CurrentFieldOf({dtMemo, dtBlob, dtGraphic});
    if (FReadOnly || field < 0) return;
    const QString file = Interaction().OpenFileName(
        LString(QStringLiteral("M_Pelvar_TblDatas_FileToBlobCaption")), QString(), QString());
    if (file.isEmpty()) return;
    const int row = FGrid->CurrentRow();
    try {
        FModel->Writer().LoadFieldFromFile(FModel->RecordID(row), field, file);
    } catch (const EPelvarError& e) {
        ShowError(e.Message());
    }
    FScroller->InvalidateRow(row);
    emit FModel->dataChanged(FModel->index(row, 0), FModel->index(row, FModel->columnCount() - 1));
}

void TTableDataForm::LongStringEdit() {
    const int field = CurrentFieldOf({dtMemo});
    if (FReadOnly || field < 0) return;
    const QModelIndex current = FGrid->CurrentIndex();
    try {
        const TQXVariant old = FModel->FullValue(current);
        TStringEditForm editor(this);
        editor.SetText(old.AsString());
        if (Interaction().ExecModal(&editor) != IDOK) return;
        const QString text = editor.Text();
        if (!old.IsNull() && text == old.AsString()) return;
        FModel->WriteValue(current, TQXVariant(text));
    } catch (const EPelvarError& e) {
        ShowError(e.Message());
    }
}
