#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QWidget>

#include "editcolors.h"

class QCheckBox;
class QListWidget;
class QsciScintilla;

// The 16 standard colours, 8 by 2: a left click picks the foreground, a
// right click the background; the cells show "FG" and "BG" marks.
class TColorGrid : public QWidget {
    Q_OBJECT
  public:
    explicit TColorGrid(QWidget* parent = nullptr);
    void SetMarks(int foreground, int background);
    QSize sizeHint() const override;
    // The cell under a point, -1 outside.
    int CellAt(const QPoint& at) const;

  signals:
    void Clicked(int index, bool right);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QRect CellRect(int index) const;
    int FForeground = -1;
    int FBackground = -1;
};

// A read-only box that shows a colour chosen outside the grid.
class TOtherColorBox : public QLineEdit {
    Q_OBJECT
  public:
    using QLineEdit::QLineEdit;
    void Show(const TColorPickState::TOtherBox& box);

  signals:
    void Clicked(bool right);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// The colour and font settings of the SQL editor, worked on a preview.
class TColorSettingsForm : public QDialog {
    Q_OBJECT
  public:
    explicit TColorSettingsForm(const TEditorColors& colors, QWidget* parent = nullptr);
    const TEditorColors& Colors() const { return FColors; }
    const TColorPickState& Pick() const { return FPick; }

  private:
    void BuildLayout();
    // The attribute of the selected entry ("WhiteSpace" last).
    TTextAttribute& Current();
    void ShowEntry();
    void ShowPick();
    void ApplyChange();
    void ChooseOtherColor(int box, bool right);
    void ChooseFont();

    TEditorColors FColors;
    TColorPickState FPick;
    bool FShowing = false;
    QListWidget* FList = nullptr;
    QCheckBox* FBold = nullptr;
    QCheckBox* FItalic = nullptr;
    QCheckBox* FUnderline = nullptr;
    QCheckBox* FDefaultBG = nullptr;
    QCheckBox* FDefaultFG = nullptr;
    TColorGrid* FGrid = nullptr;
    TOtherColorBox* FOther[2] = {nullptr, nullptr};
    QsciScintilla* FPreview = nullptr;
};

// Runs the dialog on `colors`; on OK stores the choice under `key` (below the
// program's base key), replaces `colors` and returns true.
bool RunColorSettings(TEditorColors& colors, const QString& key, QWidget* parent = nullptr);
