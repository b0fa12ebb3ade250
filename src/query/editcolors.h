#pragma once

#include <QList>
#include <QString>
#include <array>

// Colours and font of the SQL editor, and the rules of the dialog that
// chooses them, without any widget. Colours are 0xRRGGBB; kNoColor means the
// default is used for that side (the editor's text colour or background).

constexpr int kNoColor = 0x1FFFFFFF;

// One token class of the SQL highlighter.
struct TTextAttribute {
    QString Name;
    int Foreground = kNoColor;
    int Background = kNoColor;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool operator==(const TTextAttribute&) const = default;
};

// Everything the dialog changes. "WhiteSpace" is the editor's plain text:
// its colour and style live in TextAttribute, the background in GroundColor.
struct TEditorColors {
    QString FontName;
    int FontSize = 10;
    int GroundColor = 0xFFFFFF;
    TTextAttribute Text{QStringLiteral("WhiteSpace"), 0x000000, kNoColor};
    QList<TTextAttribute> Attributes;
    bool operator==(const TEditorColors&) const = default;

    // Comments grey, keywords blue, strings green, the rest as the text.
    static TEditorColors Defaults(const QString& fontName, int fontSize);
    TTextAttribute* Find(const QString& name);

    // Under `key` (a path below the program's base key, such as
    // "\PELVAR\QueryMemo\EdSettings"): "GroundColor", "FontName", "FontSize"
    // and the sub-key "HighLighter" with one sub-key per token class
    // ("Foreground", "Background", "Style": 1 bold, 2 italic, 4 underline).
    void Save(const QString& key) const;
    // Applies what is stored; false when nothing is.
    bool Load(const QString& key);
};

// The colour choice of the dialog: the 16-colour grid with its foreground and
// background marks, the two "other colour" boxes and the two "use default"
// boxes.
class TColorPickState {
  public:
    static constexpr int kGridColors = 16;
    static constexpr int kFirstBackground = 15;  // white
    static const std::array<int, kGridColors>& GridColors();
    static int GridIndexOf(int color);  // -1 when not one of the 16

    struct TOtherBox {
        int Color = 0xFFFFFF;
        QString Text;  // "FG", "BG" or empty
    };

    // Shows an entry's colours.
    void Show(int foreground, int background);
    // The colours as chosen now.
    int Foreground() const;
    int Background() const;

    // A left (foreground) or right (background) click in the grid, or a click
    // on a style box (index -1): marks clear the other boxes' texts and the
    // matching "use default" box.
    void ClickGrid(int index, bool right);
    void SetDefaultForeground(bool ticked);
    void SetDefaultBackground(bool ticked);
    // A colour chosen in the colour dialog from other box 0 or 1.
    void ChooseOther(int box, bool right, int color);

    int ForegroundMark() const { return FForegroundMark; }
    int BackgroundMark() const { return FBackgroundMark; }
    const TOtherBox& Other(int box) const { return FOther[size_t(box)]; }
    bool DefaultForeground() const { return FDefaultForeground; }
    bool DefaultBackground() const { return FDefaultBackground; }

  private:
    void DropText(const QString& text);
    int Chosen(bool byDefault, int mark, const QString& text) const;
    int FForegroundMark = -1;
    int FBackgroundMark = kFirstBackground;
    std::array<TOtherBox, 2> FOther;
    bool FDefaultForeground = false;
    bool FDefaultBackground = false;
};
