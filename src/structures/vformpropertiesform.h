#pragma once

#include "dsppropertiesform.h"

// The properties dialog of a visual form: the structure properties with the
// form's table, chosen among the tables derived from its base form's table,
// and the form-name rule ("$" joins a base form's name and a suffix).
class TVDialogPropertyForm final : public TDSPPropertiesForm {
    Q_OBJECT
  public:
    explicit TVDialogPropertyForm(QWidget* parent = nullptr);
    void SetValues(const TDSPPropertiesRequest& request) override;
    TDSPPropertiesRequest Values() const override;
    // The parents, then the tables (both follow the name and the parent).
    void FillParentList() override;
    void FillTableList();

    QLabel* TableNameLabel;
    QComboBox* TableNameEdit;

  protected:
    void OkButtonClick() override;
};
