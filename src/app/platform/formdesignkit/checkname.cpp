#include "checkname.h"

#include <QList>

namespace {

bool IsNameStart(char32_t c) {
    return c == U'_' || QChar::isLetter(c);
}

bool IsNamePart(char32_t c) {
    if (IsNameStart(c) || QChar::isDigit(c)) return true;
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining;
}

}  // namespace

bool CheckName(const QString& name) {
    // Code points, not UTF-16 units: a letter outside the basic plane is one
    // character, and a lone surrogate is none of the allowed kinds.
    const QList<uint> points = name.toUcs4();
    if (points.isEmpty() || !IsNameStart(points.front())) return false;
    for (qsizetype i = 1; i < points.size(); ++i)
        if (!IsNamePart(points[i])) return false;
    return true;
}
