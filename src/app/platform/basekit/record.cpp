#include "record.h"

TRecord::TRecord(const TRecord& other) {
    *this = other;
}

TRecord& TRecord::operator=(const TRecord& other) {
    if (this == &other) return *this;
    FFields.clear();
    for (const auto& f : other.FFields)
        FFields.push_back(std::make_unique<TField>(*f));
    return *this;
}

TField& TRecord::AddField(const QString& name, int dataType, int size) {
    FFields.push_back(std::make_unique<TField>(name, dataType, size));
    return *FFields.back();
}

TField& TRecord::InsertField(int index, const QString& name, int dataType, int size) {
    index = qBound(0, index, GetFieldCount());
    auto it =
        FFields.insert(FFields.begin() + index, std::make_unique<TField>(name, dataType, size));
    return **it;
}

void TRecord::DeleteField(int index) {
    if (index < 0 || index >= GetFieldCount())
        throw EFieldError(QStringLiteral("Field index %1 out of range").arg(index));
    FFields.erase(FFields.begin() + index);
}

TField& TRecord::GetFields(int index) {
    if (index < 0 || index >= GetFieldCount())
        throw EFieldError(QStringLiteral("Field index %1 out of range").arg(index));
    return *FFields[size_t(index)];
}

const TField& TRecord::GetFields(int index) const {
    return const_cast<TRecord*>(this)->GetFields(index);
}

int TRecord::IndexOf(const QString& name) const {
    for (size_t i = 0; i < FFields.size(); ++i)
        if (FFields[i]->Name().compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

TField* TRecord::FindField(const QString& name) {
    const int i = IndexOf(name);
    return i < 0 ? nullptr : FFields[size_t(i)].get();
}

const TField* TRecord::FindField(const QString& name) const {
    return const_cast<TRecord*>(this)->FindField(name);
}

TField& TRecord::FieldByName(const QString& name) {
    if (TField* f = FindField(name)) return *f;
    throw EFieldError(QStringLiteral("Field '%1' not found").arg(name));
}

const TField& TRecord::FieldByName(const QString& name) const {
    return const_cast<TRecord*>(this)->FieldByName(name);
}

void TRecord::ClearData() {
    for (auto& f : FFields)
        f->SetNull();
}

void TRecord::AssignData(const TRecord& source) {
    for (auto& f : FFields)
        if (const TField* s = source.FindField(f->Name())) f->SetValue(s->Value());
}
