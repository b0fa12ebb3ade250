#pragma once

#include <QDialog>

#include "model/exportconfirm.h"

class QCheckBox;
class QComboBox;
class QLabel;
class TEllipsisEdit;

// Where and how structures (or a whole database) are exported: the file, or
// a directory when each object gets a file of its own, with its resources and
// table data, the format and the encoding. Enabling follows the export rules
// on every click.
class TExportConfirmForm final : public QDialog {
    Q_OBJECT
  public:
    // Modes as in TExportConfirmRequest.
    TExportConfirmForm(const TExportConfirmState& state, int resourcesMode, int tableDataMode,
                       QWidget* parent = nullptr);
    // The boxes as they stand, enabled or not.
    TExportConfirmState State() const;

  private:
    QCheckBox* NewCheckBox(const QString& name, const QString& captionId, bool checked);
    void UpdateControls();
    void TryAccept();

    int FResourcesMode;
    int FTableDataMode;
    QLabel* FFileNameLabel;
    TEllipsisEdit* FFileNameEdit;
    TEllipsisEdit* FDirNameEdit;
    QCheckBox* FExportLResources;
    QCheckBox* FExportTableData;
    QCheckBox* FSeparateExport;
    QCheckBox* FSeparateDialogRes;
    QCheckBox* FSeparateTableData;
    QCheckBox* FRelease17;
    QLabel* FEncodingLabel;
    QComboBox* FEncodingEdit;
};
