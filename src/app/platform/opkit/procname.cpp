#include "procname.h"

#include "appcore/database.h"
#include "appcore/dialect.h"
#include "appcore/structurebodies.h"
#include "dspopsupport.h"

namespace {

// Reads the CREATE head of a procedure text, token by token.
class THeadReader {
  public:
    explicit THeadReader(const QString& text) : FText(text) {}

    // Blanks and comments ("--" to the line's end, "/* */" nested as the
    // server nests them).
    void SkipBlanks() {
        while (FPos < FText.size()) {
            if (FText[FPos].isSpace()) {
                ++FPos;
            } else if (At("--")) {
                while (FPos < FText.size() && FText[FPos] != QLatin1Char('\n'))
                    ++FPos;
            } else if (At("/*")) {
                int depth = 0;
                do {
                    if (At("/*")) {
                        ++depth;
                        FPos += 2;
                    } else if (At("*/")) {
                        --depth;
                        FPos += 2;
                    } else {
                        ++FPos;
                    }
                } while (depth > 0 && FPos < FText.size());
            } else {
                return;
            }
        }
    }
    // A plain word, upper-cased; empty when none stands here.
    QString Word() {
        const qsizetype start = FPos;
        while (FPos < FText.size() && IsWordChar(FText[FPos], FPos == start))
            ++FPos;
        return FText.mid(start, FPos - start).toUpper();
    }
    bool Keyword(const char* word) {
        SkipBlanks();
        const qsizetype start = FPos;
        if (Word() == QLatin1String(word)) return true;
        FPos = start;
        return false;
    }
    // A quoted or plain identifier; false when none stands here.
    bool Identifier() {
        if (FPos < FText.size() && FText[FPos] == QLatin1Char('"')) {
            for (++FPos; FPos < FText.size(); ++FPos)
                if (FText[FPos] == QLatin1Char('"')) {
                    if (!At("\"\"")) {
                        ++FPos;
                        return true;
                    }
                    ++FPos;  // a doubled quote inside the name
                }
            return false;
        }
        return !Word().isEmpty();
    }
    bool Char(char c) {
        SkipBlanks();
        if (FPos >= FText.size() || FText[FPos] != QLatin1Char(c)) return false;
        ++FPos;
        return true;
    }
    qsizetype Pos() const { return FPos; }

  private:
    static bool IsWordChar(QChar c, bool first) {
        if (c.isLetter() || c == QLatin1Char('_')) return true;
        return !first && (c.isDigit() || c == QLatin1Char('$'));
    }
    bool At(const char* s) const {
        return QStringView(FText).mid(FPos).startsWith(QLatin1String(s));
    }
    const QString& FText;
    qsizetype FPos = 0;
};

}  // namespace

QString WithStoredProcName(const QString& createSql, const QString& quotedName) {
    THeadReader r(createSql);
    if (!r.Keyword("CREATE")) return QString();
    if (r.Keyword("OR") && !r.Keyword("REPLACE")) return QString();
    if (!r.Keyword("FUNCTION") && !r.Keyword("PROCEDURE")) return QString();
    qsizetype from = 0, to = 0;
    do {
        r.SkipBlanks();
        from = r.Pos();
        if (!r.Identifier()) return QString();
        to = r.Pos();
    } while (r.Char('.'));
    if (!r.Char('(')) return QString();
    return createSql.left(from) + quotedName + createSql.mid(to);
}

QByteArray RenamedProcBody(const QByteArray& body, const QString& to, const QString& alias) {
    TDSPNode root;
    try {
        root = TDSPNode::FromBytes(body);
    } catch (const EDSPError&) {
        return body;  // not ours to repair; creating the procedure reports it
    }
    const QString sql =
        WithStoredProcName(StructureSql(root), DSPOps::Database(alias).Dialect().Ident(to));
    if (sql.isEmpty()) return body;
    root.SetProperty(QStringLiteral("SQL"), sql);
    if (root.Name().compare(to, Qt::CaseInsensitive) != 0) root.SetName(to);
    return root.ToBytes();
}
