#pragma once

#include <QHash>
#include <QTableWidget>
#include <QTreeWidget>

class QLabel;
class TFormDocument;

// The form's components as a tree (containers hold what sits on them), kept
// in step with the document's selection both ways.
class TFormComponentTree final : public QTreeWidget {
    Q_OBJECT
  public:
    explicit TFormComponentTree(TFormDocument& document, QWidget* parent = nullptr);
    QTreeWidgetItem* ItemOf(const QString& name) const;

  private:
    void Rebuild();
    void UpdateComponent(const QString& name);
    void ShowSelection();
    TFormDocument& FDocument;
    QHash<QString, QTreeWidgetItem*> FItems;  // lower-cased name -> item
};

// The selected component's properties, one a row. Locked rows of inherited
// components cannot be edited; a refused value is explained and taken back.
class TFormPropertyEditor final : public QTableWidget {
    Q_OBJECT
  public:
    explicit TFormPropertyEditor(TFormDocument& document, QWidget* parent = nullptr);
    // The row of a property, -1 when not shown.
    int RowOf(const QString& property) const;
    // Writes a value as if typed into the row's value cell.
    void Edit(const QString& property, const QString& value);

  private:
    void Fill();
    void CellEdited(int row, int column);
    TFormDocument& FDocument;
    bool FFilling = false;
    bool FEditing = false;
};
