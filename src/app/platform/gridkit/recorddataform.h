#pragma once

#include <QDialog>
#include <QStringList>

#include "basekit/record.h"

class QTableWidget;

// One record's fields as a form: a row per field with its name and its
// value as text. Long texts and BLOBs are not shown and keep their values.
// OK checks every changed cell (a text that does not convert keeps the dialog
// open on that row) and then writes the changed fields into the record given.
class TRecordDataForm : public QDialog {
    Q_OBJECT
  public:
    explicit TRecordDataForm(QWidget* parent = nullptr);

    void SetData(TRecord& record);
    QTableWidget* Grid() const { return FGrid; }
    // The row of a field in the grid (1 is the first field; 0 is the title
    // row of the original), -1 when it is not shown.
    int RowOf(const QString& field) const;
    void SetCellText(const QString& field, const QString& text);
    // The fields OK wrote into the record.
    const QStringList& ChangedFields() const { return FChanged; }
    void TryAccept();

  private:
    QString FieldText(const TField& field) const;
    TRecord FRecord;
    TRecord* FSavedRec = nullptr;
    QTableWidget* FGrid;
    QStringList FChanged;
};

// The value a record editor's cell text stands for: the grid's NULL text is
// NULL, and so is an empty text for a field that is not text. `ok` is false
// when the text does not convert to the type.
TQXVariant RecordCellValue(const QString& text, int dataType, bool* ok);
