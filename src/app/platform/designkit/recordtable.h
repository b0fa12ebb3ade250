#pragma once

#include <QHash>
#include <QStringList>
#include <QWidget>

class QPushButton;
class QTableWidget;

// An editable table of records (one a row, its fields in columns) with the
// buttons that add, delete and reorder rows. Columns are text, a check box
// ("1" / "0") or a choice from fixed values. The editors of structure bodies
// list their operations, steps, statuses, pages and entries in it.
class TRecordTable final : public QWidget {
    Q_OBJECT
  public:
    struct TColumn {
        QString Caption;
        enum TKind { Text, Check, Choice } Kind = Text;
        QStringList Choices;  // for Choice: the values offered, the first for new rows
        int Width = 120;
    };
    TRecordTable(const QList<TColumn>& columns, QWidget* parent = nullptr);

    void SetRows(const QList<QStringList>& rows);
    QList<QStringList> Rows() const;
    int CurrentRow() const;
    void SetCurrentRow(int row);
    QTableWidget* Table() const { return FTable; }
    QPushButton* AddButton() const { return FAdd; }
    QPushButton* DeleteButton() const { return FDelete; }
    QPushButton* UpButton() const { return FUp; }
    QPushButton* DownButton() const { return FDown; }
    // Adds a row: the naming column numbered so it stays unique, the others
    // as set by SetNewRowValue or their kind's default.
    void AddRow();
    // The column whose values name the records (0 unless told; -1: none).
    void SetNameColumn(int column) { FNameColumn = column; }
    // Makes the column a choice of these values (for rows shown after this).
    void SetChoices(int column, const QStringList& choices);
    void SetNewRowValue(int column, const QString& value) { FNewRow[column] = value; }

  signals:
    void Changed();
    void CurrentRowChanged(int row);

  private:
    void SetRow(int row, const QStringList& values);
    void MoveRow(int by);
    QList<TColumn> FColumns;
    QTableWidget* FTable;
    QPushButton* FAdd;
    QPushButton* FDelete;
    QPushButton* FUp;
    QPushButton* FDown;
    bool FFilling = false;
    int FNameColumn = 0;
    QHash<int, QString> FNewRow;
};
