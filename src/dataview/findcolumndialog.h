#pragma once

#include <QDialog>

#include "basekit/variant.h"
#include "tabledatarules.h"

class QLineEdit;
class QRadioButton;

// Asks for the value and direction of a search in one column; remembers both
// (the direction always, the value when closed with OK).
class TFindColumnDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TFindColumnDialog(QWidget* parent = nullptr);
    ~TFindColumnDialog() override;

    void SetFieldName(const QString& name);
    const QString& FieldName() const { return FFieldName; }
    // The type the value must convert to.
    void SetFieldType(int dataType) { FFieldType = dataType; }
    void SetLastValue(const QString& text);
    const QString& LastValue() const { return FLastValue; }

    TQXVariant Value() const;
    TSearchDirection Direction() const;
    void SetDirection(TSearchDirection direction);
    QLineEdit* ValueEdit() const { return FValueEdit; }
    // OK: a value that does not convert keeps the dialog open.
    void TryAccept();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    int FFieldType = 0;
    QString FFieldName;
    QString FLastValue;
    QLineEdit* FValueEdit;
    QRadioButton* FForward;
    QRadioButton* FBack;
    QRadioButton* FFromBeginning;
};
