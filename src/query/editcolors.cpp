#include "editcolors.h"

#include "basekit/registry.h"

namespace {

constexpr int kBold = 1, kItalic = 2, kUnderline = 4;

int StyleBits(const TTextAttribute& a) {
    return (a.Bold ? kBold : 0) | (a.Italic ? kItalic : 0) | (a.Underline ? kUnderline : 0);
}

void WriteAttribute(const QString& highlighter, const TTextAttribute& a) {
    TRegistry reg;
    if (!reg.OpenKey(highlighter + QLatin1Char('\\') + a.Name, true)) return;
    reg.WriteInteger(QStringLiteral("Foreground"), a.Foreground);
    reg.WriteInteger(QStringLiteral("Background"), a.Background);
    reg.WriteInteger(QStringLiteral("Style"), StyleBits(a));
}

bool ReadAttribute(const QString& highlighter, TTextAttribute& a) {
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(highlighter + QLatin1Char('\\') + a.Name)) return false;
    const auto read = [&](const char* name, int& into) {
        if (reg.ValueExists(QLatin1String(name)) &&
            reg.GetDataType(QLatin1String(name)) == TRegDataType::rdInteger)
            into = reg.ReadInteger(QLatin1String(name));
    };
    int style = StyleBits(a);
    read("Foreground", a.Foreground);
    read("Background", a.Background);
    read("Style", style);
    a.Bold = style & kBold;
    a.Italic = style & kItalic;
    a.Underline = style & kUnderline;
    return true;
}

}  // namespace

TEditorColors TEditorColors::Defaults(const QString& fontName, int fontSize) {
    TEditorColors c;
    c.FontName = fontName;
    c.FontSize = fontSize;
    for (const char* name :
         {"Comment", "Identifier", "Number", "Reserved Word", "String", "Symbol"})
        c.Attributes.append({QLatin1String(name)});
    c.Find(QStringLiteral("Comment"))->Foreground = 0x808080;
    c.Find(QStringLiteral("Reserved Word"))->Foreground = 0x0000C0;
    c.Find(QStringLiteral("String"))->Foreground = 0x008000;
    return c;
}

TTextAttribute* TEditorColors::Find(const QString& name) {
    if (name.compare(Text.Name, Qt::CaseInsensitive) == 0) return &Text;
    for (TTextAttribute& a : Attributes)
        if (a.Name.compare(name, Qt::CaseInsensitive) == 0) return &a;
    return nullptr;
}

void TEditorColors::Save(const QString& key) const {
    const QString path = RegistryBaseKey() + key;
    const QString highlighter = path + QStringLiteral("\\HighLighter");
    for (const TTextAttribute& a : Attributes)
        WriteAttribute(highlighter, a);
    WriteAttribute(highlighter, Text);
    TRegistry reg;
    if (!reg.OpenKey(path, false)) return;
    reg.WriteInteger(QStringLiteral("GroundColor"), GroundColor);
    reg.WriteString(QStringLiteral("FontName"), FontName);
    reg.WriteInteger(QStringLiteral("FontSize"), FontSize);
}

bool TEditorColors::Load(const QString& key) {
    const QString path = RegistryBaseKey() + key;
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(path)) return false;
    const QString highlighter = path + QStringLiteral("\\HighLighter");
    for (TTextAttribute& a : Attributes)
        ReadAttribute(highlighter, a);
    ReadAttribute(highlighter, Text);
    const auto has = [&](const char* name, TRegDataType type) {
        return reg.ValueExists(QLatin1String(name)) && reg.GetDataType(QLatin1String(name)) == type;
    };
    if (has("GroundColor", TRegDataType::rdInteger))
        GroundColor = reg.ReadInteger(QStringLiteral("GroundColor"));
    if (has("FontName", TRegDataType::rdString))
        FontName = reg.ReadString(QStringLiteral("FontName"));
    if (has("FontSize", TRegDataType::rdInteger) && reg.ReadInteger(QStringLiteral("FontSize")) > 0)
        FontSize = reg.ReadInteger(QStringLiteral("FontSize"));
    return true;
}

// ---- TColorPickState ----

const std::array<int, TColorPickState::kGridColors>& TColorPickState::GridColors() {
    // Black, maroon, green, olive, navy, purple, teal, grey; silver, red,
    // lime, yellow, blue, fuchsia, aqua, white.
    static const std::array<int, kGridColors> colors = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
        0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    return colors;
}

int TColorPickState::GridIndexOf(int color) {
    const auto& colors = GridColors();
    for (int i = 0; i < kGridColors; ++i)
        if (colors[size_t(i)] == color) return i;
    return -1;
}

void TColorPickState::Show(int foreground, int background) {
    FDefaultForeground = foreground == kNoColor;
    FDefaultBackground = background == kNoColor;
    FForegroundMark = GridIndexOf(foreground);
    FBackgroundMark = GridIndexOf(background);
    FOther[0] = FForegroundMark < 0 && !FDefaultForeground
                    ? TOtherBox{foreground, QStringLiteral("FG")}
                    : TOtherBox{};
    FOther[1] = FBackgroundMark < 0 && !FDefaultBackground
                    ? TOtherBox{background, QStringLiteral("BG")}
                    : TOtherBox{};
}

// A side's colour: none when its default box is ticked, else the grid's mark,
// else the other box that shows the side's text.
int TColorPickState::Chosen(bool byDefault, int mark, const QString& text) const {
    if (byDefault) return kNoColor;
    if (mark >= 0) return GridColors()[size_t(mark)];
    for (const TOtherBox& box : FOther)
        if (box.Text == text) return box.Color;
    return kNoColor;
}

int TColorPickState::Foreground() const {
    return Chosen(FDefaultForeground, FForegroundMark, QStringLiteral("FG"));
}

int TColorPickState::Background() const {
    return Chosen(FDefaultBackground, FBackgroundMark, QStringLiteral("BG"));
}

void TColorPickState::DropText(const QString& text) {
    for (TOtherBox& box : FOther)
        if (box.Text == text) box = TOtherBox{};
}

void TColorPickState::ClickGrid(int index, bool right) {
    if (index >= 0 && index < kGridColors) (right ? FBackgroundMark : FForegroundMark) = index;
    if (FForegroundMark >= 0) {
        DropText(QStringLiteral("FG"));
        FDefaultForeground = false;
    }
    if (FBackgroundMark >= 0) {
        DropText(QStringLiteral("BG"));
        FDefaultBackground = false;
    }
}

void TColorPickState::SetDefaultForeground(bool ticked) {
    FDefaultForeground = ticked;
    if (ticked) {
        FForegroundMark = -1;
        DropText(QStringLiteral("FG"));
    } else {
        FForegroundMark = 0;
    }
}

void TColorPickState::SetDefaultBackground(bool ticked) {
    FDefaultBackground = ticked;
    if (ticked) {
        FBackgroundMark = -1;
        DropText(QStringLiteral("BG"));
    } else {
        FBackgroundMark = kFirstBackground;
    }
}

void TColorPickState::ChooseOther(int box, bool right, int color) {
    const QString text = right ? QStringLiteral("BG") : QStringLiteral("FG");
    DropText(text);
    const int index = GridIndexOf(color);
    (right ? FBackgroundMark : FForegroundMark) = index;
    if (index < 0) FOther[size_t(box)] = TOtherBox{color, text};
    ClickGrid(-1, right);
    // A colour outside the grid is the choice now, whatever the default box said.
    (right ? FDefaultBackground : FDefaultForeground) = false;
}
