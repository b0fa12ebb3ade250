#pragma once

#include <QList>
#include <QString>
#include <functional>

class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QWidget;

// Widget helpers the editors of this kit share.
QLineEdit* MakeReadOnlyEdit(QWidget* parent, const char* name);
QPushButton* MakeButton(QWidget* parent, const char* name, const char* captionId);
// The editors' Save and Close buttons, right-aligned in a row: Save runs
// `save`, Close closes `form`.
QHBoxLayout* SaveCloseRow(QWidget* form, QPushButton*& saveButton, QPushButton*& closeButton,
                          const std::function<void()>& save);
// A label (by caption ID) and its field as the next row of the grid.
void AddLabelledRow(QGridLayout* grid, QWidget* parent, const char* captionId, QWidget* field);
void SetHeaders(QTableWidget* grid, const QList<const char*>& captionIds);
// The grid with its buttons in a column on its right, on `page`.
QWidget* GridPage(QWidget* page, QTableWidget* grid, const QList<QPushButton*>& buttons);
// Whether a window with changes may close: asks to save them (Yes saves and
// closes only when `save` succeeds, No closes, Cancel stays).
bool ConfirmClose(bool modified, const std::function<bool()>& save);
