#pragma once

#include "datawindow.h"

// The rows of one database view, read-only: the table data window's grid and
// field data panel without any edit, sort or search. Listed in the
// process-wide list of view data windows while open.
class TViewDataForm : public TDataWindow {
    Q_OBJECT
  public:
    explicit TViewDataForm(QWidget* parent = nullptr);
    ~TViewDataForm() override;

    // False when the view cannot be read (the caller frees the window).
    bool Open(const QString& viewName, const QString& databaseName);
};
