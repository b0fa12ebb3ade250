#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A platform table description: what CreateTableByDef creates and what
// GetTableInfo reads back.
struct TDicFieldDescription {
    QString Name;
    int DataType = 0;  // TDataType code
    int Size = 0;
    bool Required = false;
    QString Comment;
    int Precision = 0;  // digits after the point (currency); 0 = the engine's default
    QString Default;    // a literal value for new rows; empty = none
};

struct TDicIndexDescription {
    QString Name;
    QStringList Fields;
    bool Unique = false;
    bool Primary = false;
};

class TDicTableDescription {
  public:
    QString Name;
    QList<TDicFieldDescription> Fields;
    QList<TDicIndexDescription> Indexes;

    TDicFieldDescription& AddField(const QString& name, int dataType, int size,
                                   const QString& comment = QString());
    TDicIndexDescription& AddIndex(const QString& name, const QStringList& fields,
                                   bool unique = false, bool primary = false);
    const TDicFieldDescription* FindField(const QString& name) const;
    const TDicIndexDescription* PrimaryIndex() const;
    void Clear();
};
