#include "editorstyle.h"

#include <Qsci/qscilexersql.h>
#include <Qsci/qsciscintilla.h>

#include <QFontDatabase>

namespace {

// The highlighter's styles that each token class colours.
QList<int> StylesOf(const QString& attribute) {
    if (attribute == QLatin1String("Comment"))
        return {QsciLexerSQL::Comment,           QsciLexerSQL::CommentLine,
                QsciLexerSQL::CommentDoc,        QsciLexerSQL::CommentLineHash,
                QsciLexerSQL::CommentDocKeyword, QsciLexerSQL::CommentDocKeywordError,
                QsciLexerSQL::PlusComment};
    if (attribute == QLatin1String("Identifier"))
        return {QsciLexerSQL::Identifier, QsciLexerSQL::QuotedIdentifier};
    if (attribute == QLatin1String("Number")) return {QsciLexerSQL::Number};
    if (attribute == QLatin1String("Reserved Word"))
        return {QsciLexerSQL::Keyword,     QsciLexerSQL::PlusKeyword, QsciLexerSQL::KeywordSet5,
                QsciLexerSQL::KeywordSet6, QsciLexerSQL::KeywordSet7, QsciLexerSQL::KeywordSet8};
    if (attribute == QLatin1String("String"))
        return {QsciLexerSQL::SingleQuotedString, QsciLexerSQL::DoubleQuotedString};
    if (attribute == QLatin1String("Symbol"))
        return {QsciLexerSQL::Operator, QsciLexerSQL::QuotedOperator, QsciLexerSQL::PlusPrompt};
    return {};
}

QColor ColorOr(int color, int fallback) {
    return QColor(QRgb(color == kNoColor ? fallback : color));
}

QFont StyledFont(const QFont& base, const TTextAttribute& a) {
    QFont f = base;
    f.setBold(a.Bold);
    f.setItalic(a.Italic);
    f.setUnderline(a.Underline);
    return f;
}

}  // namespace

TEditorColors StoredQueryEditorColors() {
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    TEditorColors colors = TEditorColors::Defaults(fixed.family(), qMax(fixed.pointSize(), 10));
    colors.Load(kQueryEditorColorsKey);
    return colors;
}

void ApplyEditorColors(QsciScintilla& editor, const TEditorColors& colors) {
    auto* lexer = qobject_cast<QsciLexerSQL*>(editor.lexer());
    if (!lexer) {
        lexer = new QsciLexerSQL(&editor);
        editor.setLexer(lexer);
    }
    const QFont base(colors.FontName, colors.FontSize);
    const int text = colors.Text.Foreground == kNoColor ? 0x000000 : colors.Text.Foreground;
    const QColor ground = ColorOr(colors.GroundColor, 0xFFFFFF);
    lexer->setDefaultFont(base);
    lexer->setDefaultColor(QColor(QRgb(text)));
    lexer->setDefaultPaper(ground);
    // Every style first takes the plain text's look, then its token class's.
    lexer->setFont(StyledFont(base, colors.Text), -1);
    lexer->setColor(QColor(QRgb(text)), -1);
    lexer->setPaper(ColorOr(colors.Text.Background, colors.GroundColor), -1);
    for (const TTextAttribute& a : colors.Attributes)
        for (const int style : StylesOf(a.Name)) {
            lexer->setColor(ColorOr(a.Foreground, text), style);
            lexer->setPaper(ColorOr(a.Background, colors.GroundColor), style);
            lexer->setFont(StyledFont(base, a), style);
        }
    editor.setPaper(ground);
    editor.setColor(QColor(QRgb(text)));
    editor.setFont(base);
    // Setting the lexer again makes the editor take the changed styles at once.
    editor.setLexer(lexer);
}
