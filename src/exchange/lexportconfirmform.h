#pragma once

#include <QDialog>

#include "model/exportconfirm.h"

class QCheckBox;
class QComboBox;
class QLabel;
class TEllipsisEdit;

// Where local resources are exported: the file, its encoding and format.
class TLExportConfirmForm : public QDialog {
    Q_OBJECT
  public:
    explicit TLExportConfirmForm(const TLExportConfirmState& state, QWidget* parent = nullptr);
    TLExportConfirmState State() const;

  protected:
    TLExportConfirmForm(const TLExportConfirmState& state, bool extended, QWidget* parent);

  private:
    void UpdateControls();
    void TryAccept();

    bool FExtended;
    QLabel* FFileNameLabel;
    TEllipsisEdit* FFileNameEdit;
    TEllipsisEdit* FExportDirLocEdit = nullptr;
    QCheckBox* FSeparateExport = nullptr;
    QCheckBox* FRelease17;
    QLabel* FEncodingLabel;
    QComboBox* FEncodingEdit;
};

// The same with a directory for exporting each section to a file of its own;
// the directory (or the file's directory) is created on the user's word.
class TLExportConfirmFormEx final : public TLExportConfirmForm {
    Q_OBJECT
  public:
    explicit TLExportConfirmFormEx(const TLExportConfirmState& state, QWidget* parent = nullptr);
};
