#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "datatypes.h"
#include "variant.h"

PELVAR_DECLARE_ERROR(EFieldError, EPelvarError);

// One named, typed value of a record (a row, a parameter set).
class TField {
  public:
    TField(QString name, int dataType, int size = 0)
        : FName(std::move(name)), FDataType(dataType), FSize(size) {}

    const QString& Name() const { return FName; }
    int DataType() const { return FDataType; }
    int Size() const { return FSize; }
    bool Required() const { return FRequired; }
    void SetRequired(bool v) { FRequired = v; }

    const TQXVariant& Value() const { return FValue; }
    void SetValue(const TQXVariant& v) { FValue = v; }
    bool IsNull() const { return FValue.IsNull(); }
    void SetNull() { FValue = TQXVariant(); }

    QString AsString() const { return FValue.AsString(); }
    qlonglong AsInteger() const { return FValue.AsInteger(); }
    double AsFloat() const { return FValue.AsFloat(); }
    bool AsBoolean() const { return FValue.AsBoolean(); }
    QDateTime AsDateTime() const { return FValue.AsDateTime(); }
    QByteArray AsBinary() const { return FValue.AsBinary(); }
    void SetAsString(const QString& v) { FValue = TQXVariant(v); }
    void SetAsInteger(qlonglong v) { FValue = TQXVariant(v); }
    void SetAsFloat(double v) { FValue = TQXVariant(v); }
    void SetAsBoolean(bool v) { FValue = TQXVariant(v); }
    void SetAsDateTime(const QDateTime& v) { FValue = TQXVariant(v); }
    void SetAsBinary(const QByteArray& v) { FValue = TQXVariant(v); }

  private:
    QString FName;
    int FDataType;
    int FSize;
    bool FRequired = false;
    TQXVariant FValue;
};

// An ordered set of fields, looked up by name without regard to case.
class TRecord {
  public:
    TRecord() = default;
    TRecord(const TRecord& other);
    TRecord& operator=(const TRecord& other);
    TRecord(TRecord&&) noexcept = default;
    TRecord& operator=(TRecord&&) noexcept = default;

    TField& AddField(const QString& name, int dataType, int size = 0);
    TField& InsertField(int index, const QString& name, int dataType, int size = 0);
    void DeleteField(int index);
    void Clear() { FFields.clear(); }
    int GetFieldCount() const { return int(FFields.size()); }
    TField& GetFields(int index);
    const TField& GetFields(int index) const;
    TField* FindField(const QString& name);
    const TField* FindField(const QString& name) const;
    int IndexOf(const QString& name) const;
    // Raises EFieldError "Field 'X' not found" when the record has no such field.
    TField& FieldByName(const QString& name);
    const TField& FieldByName(const QString& name) const;
    // Sets every value to NULL.
    void ClearData();
    // Copies values of fields present in both records, matched by name.
    void AssignData(const TRecord& source);

  private:
    std::vector<std::unique_ptr<TField>> FFields;
};
