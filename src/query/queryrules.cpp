#include "queryrules.h"

#include "appcore/sqlparams.h"
#include "basekit/datatypes.h"

TQueryType DecideQueryType(TQueryType chosen, const QString& sql) {
    if (chosen != qtAuto) return chosen;
    return sql.trimmed().startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive) ? qtSelect
                                                                                  : qtExecute;
}

QStringList StatementParameterNames(const QString& sql) {
    QStringList names;
    for (const QString& name : ParseSqlParameters(sql).Names)
        if (!names.contains(name, Qt::CaseInsensitive)) names << name;
    return names;
}

void SyncParameters(TRecord& params, const QString& sql) {
    const QStringList names = StatementParameterNames(sql);
    for (int i = params.GetFieldCount() - 1; i >= 0; --i)
        if (!names.contains(params.GetFields(i).Name(), Qt::CaseInsensitive)) params.DeleteField(i);
    for (int i = 0; i < names.size(); ++i) {
        const int at = params.IndexOf(names[i]);
        if (at == i) continue;
        if (at > i) {
            // Moved in the text: the field travels with its type and value.
            const TField moved = params.GetFields(at);
            params.DeleteField(at);
            params.InsertField(i, moved.Name(), moved.DataType(), moved.Size())
                .SetValue(moved.Value());
        } else {
            params.InsertField(i, names[i], dtString).SetAsString(QString());
        }
    }
}

TQXVariant ParameterValueFromText(int dataType, const QString& text) {
    if (text.compare(QLatin1String("{NULL}"), Qt::CaseInsensitive) == 0) return TQXVariant();
    const TQXVariant v(text);
    // Nothing typed is no value, except for a text.
    if (text.trimmed().isEmpty() && !IsTextDataType(dataType) && !IsBlobDataType(dataType))
        return TQXVariant();
    switch (dataType) {
        case dtFloat:
        case dtCurrency:
            return TQXVariant(v.AsFloat());
        case dtDate:
            return TQXVariant(v.AsDate());
        case dtDateTime:
            return TQXVariant(v.AsDateTime());
        case dtBoolean:
            return TQXVariant(text.toUpper() == QLatin1String("TRUE"));
        default:
            if (IsIntegerDataType(dataType)) return TQXVariant(v.AsInteger());
            return v;
    }
}

QString ParameterValueText(const TField& field) {
    // NULL is written out so that the text reads back as NULL.
    return field.IsNull() ? QStringLiteral("{NULL}") : field.AsString();
}

void ChangeParameterType(TRecord& params, int index, int dataType) {
    const TField old = params.GetFields(index);
    if (old.DataType() == dataType) return;
    TQXVariant value;
    try {
        if (!old.IsNull()) value = ParameterValueFromText(dataType, ParameterValueText(old));
    } catch (const EConvertError&) {
        value = TQXVariant();
    }
    params.DeleteField(index);
    params.InsertField(index, old.Name(), dataType).SetValue(value);
}

bool SameParameters(const TRecord& a, const TRecord& b) {
    if (a.GetFieldCount() != b.GetFieldCount()) return false;
    for (int i = 0; i < a.GetFieldCount(); ++i) {
        const TField& x = a.GetFields(i);
        const TField& y = b.GetFields(i);
        if (x.DataType() != y.DataType() || x.IsNull() != y.IsNull() ||
            ParameterValueText(x) != ParameterValueText(y))
            return false;
    }
    return true;
}

int FindResultRow(const std::function<QString(int row)>& cell, int rowCount, int from,
                  const QString& text, int direction) {
    const auto matches = [&](int row) {
        const QString value = cell(row);
        qsizetype blanks = 0;
        while (blanks < value.size() && value[blanks] == QLatin1Char(' '))
            ++blanks;
        return QStringView(value).mid(blanks).startsWith(text, Qt::CaseInsensitive);
    };
    if (direction == 1) {
        for (int row = qMin(from, rowCount) - 1; row >= 0; --row)
            if (matches(row)) return row;
        return -1;
    }
    for (int row = direction == 2 ? 0 : qMax(from + 1, 0); row < rowCount; ++row)
        if (matches(row)) return row;
    return -1;
}

bool BlobCommandAllowed(int column, int focusedRow, bool blobCell) {
    return column > 0 && focusedRow >= 0 && blobCell;
}
