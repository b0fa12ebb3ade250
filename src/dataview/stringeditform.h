#pragma once

#include <QDialog>

class QPlainTextEdit;

// A long text edited in a dialog of its own: a memo that does not wrap.
class TStringEditForm : public QDialog {
    Q_OBJECT
  public:
    explicit TStringEditForm(QWidget* parent = nullptr);
    void SetText(const QString& text);
    QString Text() const;
    QPlainTextEdit* Memo() const { return FMemo; }

  private:
    QPlainTextEdit* FMemo;
};
