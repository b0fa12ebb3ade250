#include "structurebodies.h"

#include "basekit/datatypes.h"

namespace {

// Index field lists are names joined by ";". A name may hold ";" itself, so
// ";" and "\" inside a name are escaped by "\"; any other "\" stands for
// itself, so lists written before read as they did.
QString JoinFieldNames(const QStringList& names) {
    QStringList escaped;
    for (QString n : names)
        escaped << n.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
                       .replace(QLatin1Char(';'), QStringLiteral("\\;"));
    return escaped.join(QLatin1Char(';'));
}

QStringList SplitFieldNames(const QString& text) {
    QStringList names;
    QString name;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\') && i + 1 < text.size() &&
            (text[i + 1] == QLatin1Char(';') || text[i + 1] == QLatin1Char('\\'))) {
            name += text[++i];
        } else if (text[i] == QLatin1Char(';')) {
            if (!name.isEmpty()) names << name;
            name.clear();
        } else {
            name += text[i];
        }
    }
    if (!name.isEmpty()) names << name;
    return names;
}

}  // namespace

TDSPNode MakeTableStructure(const QString& structureName, const TDicTableDescription& table) {
    TDSPNode root(structureName);
    root.SetProperty(QStringLiteral("TableName"), table.Name);
    TDSPNode& fields = root.AddNode(QStringLiteral("Fields"));
    for (const auto& f : table.Fields) {
        TDSPNode& n = fields.AddNode(f.Name);
        n.SetProperty(QStringLiteral("DataType"), qlonglong(f.DataType));
        n.SetProperty(QStringLiteral("Size"), qlonglong(f.Size));
        n.SetProperty(QStringLiteral("Required"), f.Required);
        if (!f.Comment.isEmpty()) n.SetProperty(QStringLiteral("Comment"), f.Comment);
        if (f.Precision != 0) n.SetProperty(QStringLiteral("Precision"), qlonglong(f.Precision));
        if (!f.Default.isEmpty()) n.SetProperty(QStringLiteral("Default"), f.Default);
    }
    TDSPNode& indexes = root.AddNode(QStringLiteral("Indexes"));
    for (const auto& i : table.Indexes) {
        TDSPNode& n = indexes.AddNode(i.Name);
        n.SetProperty(QStringLiteral("Fields"), JoinFieldNames(i.Fields));
        n.SetProperty(QStringLiteral("Unique"), i.Unique);
        n.SetProperty(QStringLiteral("Primary"), i.Primary);
    }
    return root;
}

TDicTableDescription TableFromStructure(const TDSPNode& body, const QString& tableName) {
    const TDSPNode* fields = body.FindNode(QStringLiteral("Fields"));
    if (!fields || fields->NodeCount() == 0)
        throw EDSPError(
            QStringLiteral("The table structure %1 describes no fields").arg(body.Name()));
    TDicTableDescription table;
    table.Name =
        tableName.isEmpty() ? body.Property(QStringLiteral("TableName")).toString() : tableName;
    if (table.Name.isEmpty()) table.Name = body.Name();
    for (int i = 0; i < fields->NodeCount(); ++i) {
        const TDSPNode& f = fields->Node(i);
        bool isNumber = false;
        const qlonglong type = f.Property(QStringLiteral("DataType")).toLongLong(&isNumber);
        if (!isNumber || !IsValidDataType(int(type)))
            throw EDSPError(QStringLiteral("Field %1 of table structure %2 has no valid data type")
                                .arg(f.Name(), body.Name()));
        if (table.FindField(f.Name()))
            throw EDSPError(QStringLiteral("Table structure %1 names the field %2 twice")
                                .arg(body.Name(), f.Name()));
        auto& d = table.AddField(f.Name(), int(type),
                                 int(f.Property(QStringLiteral("Size"), 0).toLongLong()),
                                 f.Property(QStringLiteral("Comment")).toString());
        d.Required = f.Property(QStringLiteral("Required"), false).toBool();
        d.Precision = int(f.Property(QStringLiteral("Precision"), 0).toLongLong());
        d.Default = f.Property(QStringLiteral("Default")).toString();
    }
    if (const TDSPNode* indexes = body.FindNode(QStringLiteral("Indexes")))
        for (int i = 0; i < indexes->NodeCount(); ++i) {
            const TDSPNode& n = indexes->Node(i);
            const QStringList names =
                SplitFieldNames(n.Property(QStringLiteral("Fields")).toString());
            for (const QString& name : names)
                if (!table.FindField(name))
                    throw EDSPError(
                        QStringLiteral("Index %1 of table structure %2 names the unknown field %3")
                            .arg(n.Name(), body.Name(), name));
            table.AddIndex(n.Name(), names, n.Property(QStringLiteral("Unique"), false).toBool(),
                           n.Property(QStringLiteral("Primary"), false).toBool());
        }
    return table;
}

TDSPNode MakeSqlStructure(const QString& name, const QString& sql) {
    TDSPNode root(name);
    root.SetProperty(QStringLiteral("SQL"), sql);
    return root;
}

QString StructureSql(const TDSPNode& body) {
    return body.Property(QStringLiteral("SQL")).toString();
}

TDSPNode MakeGeneratorStructure(const QString& name, qint64 startValue) {
    TDSPNode root(name);
    root.SetProperty(QStringLiteral("StartValue"), qlonglong(startValue));
    return root;
}

qint64 GeneratorStartValue(const TDSPNode& body) {
    return body.Property(QStringLiteral("StartValue"), 0).toLongLong();
}

qint64 GeneratorIncrement(const TDSPNode& body) {
    return body.Property(QStringLiteral("Increment"), 1).toLongLong();
}

void SetGeneratorValues(TDSPNode& body, qint64 startValue, qint64 increment) {
    body.SetProperty(QStringLiteral("StartValue"), qlonglong(startValue));
    body.SetProperty(QStringLiteral("Increment"), qlonglong(increment));
}
