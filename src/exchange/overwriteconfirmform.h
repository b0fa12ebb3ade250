#pragma once

#include <QDialog>

// The export file exists: rewrite it (result 6), add to it (7) or cancel (2).
class TExportOverwriteConfirmForm : public QDialog {
    Q_OBJECT
  public:
    explicit TExportOverwriteConfirmForm(const QString& fileName, QWidget* parent = nullptr);

  protected:
    TExportOverwriteConfirmForm(const QString& fileName, bool canAppend, QWidget* parent);
};

// The same for a file that cannot be added to: rewrite it (6) or cancel (2).
class TExportOverwriteXMLConfirmForm final : public TExportOverwriteConfirmForm {
    Q_OBJECT
  public:
    explicit TExportOverwriteXMLConfirmForm(const QString& fileName, QWidget* parent = nullptr);
};
