#pragma once

#include <QString>

class QComboBox;
class QDialog;
class QDialogButtonBox;
class QWidget;
class TEllipsisEdit;

// Pieces the export dialogs share.

// The encodings offered, with `encoding` chosen (the first when not offered).
QComboBox* NewEncodingEdit(QWidget* parent, const QString& encoding);
// Empty when nothing is chosen.
QString ChosenEncoding(const QComboBox* edit);

// A file name edit whose "..." asks for a file to save to.
TEllipsisEdit* NewSaveFileEdit(QWidget* parent, const QString& objectName, const QString& filter);
// A directory edit whose "..." asks for a directory.
TEllipsisEdit* NewDirectoryEdit(QWidget* parent, const QString& objectName);

// OK (the default button; it runs `dialog`'s own check, not accept()) and Cancel.
QDialogButtonBox* NewOkCancelButtons(QDialog* dialog);

// OK refused: beep and put the user on the control to correct.
void RefuseOk(QWidget* offending);
