#include "tabledesc.h"

TDicFieldDescription& TDicTableDescription::AddField(const QString& name, int dataType, int size,
                                                     const QString& comment) {
    Fields.append(TDicFieldDescription{name, dataType, size, false, comment});
    return Fields.last();
}

TDicIndexDescription& TDicTableDescription::AddIndex(const QString& name, const QStringList& fields,
                                                     bool unique, bool primary) {
    Indexes.append(TDicIndexDescription{name, fields, unique, primary});
    return Indexes.last();
}

const TDicFieldDescription* TDicTableDescription::FindField(const QString& name) const {
    for (const auto& f : Fields)
        if (f.Name.compare(name, Qt::CaseInsensitive) == 0) return &f;
    return nullptr;
}

const TDicIndexDescription* TDicTableDescription::PrimaryIndex() const {
    for (const auto& i : Indexes)
        if (i.Primary) return &i;
    return nullptr;
}

void TDicTableDescription::Clear() {
    Name.clear();
    Fields.clear();
    Indexes.clear();
}
