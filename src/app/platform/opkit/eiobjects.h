#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

#include "appcore/dsptable.h"
#include "appcore/localizator.h"
#include "appcore/tabledesc.h"
#include "basekit/record.h"
#include "eifile.h"

// An object that an export/import section holds. The section class in the
// file is the C++ class name.
class TEIObject {
  public:
    virtual ~TEIObject() = default;
    virtual QString SectionClass() const = 0;
    virtual QString SectionName() const = 0;
    virtual void FillParameters(TEISectionParameters& parameters) const = 0;
    // Reads the object from a section; malformed content raises EEIFileError.
    virtual void Load(const TEISection& section) = 0;
    // Writes the data lines (the section itself is begun and committed by
    // the caller, usually TEIFile::AddObject).
    virtual void Save(TEISectionWriter& writer) const = 0;
};

// A fresh, empty object for a section class; an unknown class gives a
// TEIUnknownObject of that class.
std::unique_ptr<TEIObject> CreateEIObjectOfClass(const QString& className);

// A section that no class of ours reads, kept as it is.
class TEIUnknownObject : public TEIObject {
  public:
    explicit TEIUnknownObject(QString className = {}) : FClassName(std::move(className)) {}
    QString SectionClass() const override { return FClassName; }
    QString SectionName() const override { return FName; }
    void FillParameters(TEISectionParameters& parameters) const override;
    void Load(const TEISection& section) override;
    void Save(TEISectionWriter& writer) const override;

    void SetName(const QString& name) { FName = name; }
    TEISectionParameters& Parameters() { return FParameters; }
    const TEISectionParameters& Parameters() const { return FParameters; }
    QStringList& Lines() { return FLines; }
    const QStringList& Lines() const { return FLines; }

  private:
    QString FClassName;
    QString FName;
    TEISectionParameters FParameters;
    QStringList FLines;
};

// A DSP structure: its description and its body. Section name "<type>:<name>".
class TEIDSPStructure : public TEIObject {
  public:
    // What the section's parameters say of its structure, without reading
    // the body; raises EEIFileError naming the line of a bad value.
    static TDSPListItem ItemOf(const TEISection& section);
    QString SectionClass() const override { return QStringLiteral("TEIDSPStructure"); }
    QString SectionName() const override;
    void FillParameters(TEISectionParameters& parameters) const override;
    void Load(const TEISection& section) override;
    void Save(TEISectionWriter& writer) const override;

    TDSPListItem& Item() { return FItem; }
    const TDSPListItem& Item() const { return FItem; }
    void SetItem(const TDSPListItem& item) { FItem = item; }
    const QByteArray& Body() const { return FBody; }
    void SetBody(const QByteArray& body) { FBody = body; }

  private:
    TDSPListItem FItem;
    QByteArray FBody;
};

struct TEILResText {
    QString Language;
    QString Ident;
    QString Text;
    bool operator==(const TEILResText&) const = default;
};

// The texts of one local resource section, in any number of languages.
class TEILResource : public TEIObject {
  public:
    QString SectionClass() const override { return QStringLiteral("TEILResource"); }
    QString SectionName() const override { return FSectionID; }
    void FillParameters(TEISectionParameters& parameters) const override;
    void Load(const TEISection& section) override;
    void Save(TEISectionWriter& writer) const override;

    const QString& SectionID() const { return FSectionID; }
    void SetSectionID(const QString& id) { FSectionID = id; }
    QList<TEILResText>& Texts() { return FTexts; }
    const QList<TEILResText>& Texts() const { return FTexts; }
    void AddText(const QString& language, const QString& ident, const QString& text) {
        FTexts.append({language, ident, text});
    }

  private:
    QString FSectionID;
    QList<TEILResText> FTexts;
};

// One language record.
class TEILanguage : public TEIObject {
  public:
    QString SectionClass() const override { return QStringLiteral("TEILanguage"); }
    QString SectionName() const override { return FLanguageID; }
    void FillParameters(TEISectionParameters& parameters) const override;
    void Load(const TEISection& section) override;
    void Save(TEISectionWriter& writer) const override;

    const QString& LanguageID() const { return FLanguageID; }
    void SetLanguageID(const QString& id) { FLanguageID = id; }
    TOneLanguage& Language() { return FLanguage; }
    const TOneLanguage& Language() const { return FLanguage; }
    void SetLanguage(const TOneLanguage& language) { FLanguage = language; }

  private:
    QString FLanguageID;
    TOneLanguage FLanguage;
};

// The saved result of a query: text lines whose layout the query window owns.
class TEIQueryData : public TEIObject {
  public:
    QString SectionClass() const override { return QStringLiteral("TEIQueryData"); }
    QString SectionName() const override { return FTableName; }
    void FillParameters(TEISectionParameters& parameters) const override;
    void Load(const TEISection& section) override;
    void Save(TEISectionWriter& writer) const override;

    const QString& TableName() const { return FTableName; }
    void SetTableName(const QString& name) { FTableName = name; }
    QStringList& Lines() { return FLines; }
    const QStringList& Lines() const { return FLines; }

  private:
    QString FTableName;
    QStringList FLines;
};

// The rows of one table. The object itself holds only the table name and the
// field list (Load reads no rows); rows go through TEITableDataWriter and
// TEITableDataReader one at a time, so a table of any size fits.
//
// Data: the first line is the field list [[name, type code, size], ...], then
// one JSON array per row: null, numbers, booleans, strings; dates and times
// as ISO texts; BLOB fields (types 9, 15) as base64 texts.
class TEITableData : public TEIObject {
  public:
    QString SectionClass() const override { return QStringLiteral("TEITableData"); }
    QString SectionName() const override { return FTableName; }
    void FillParameters(TEISectionParameters& parameters) const override;
    void Load(const TEISection& section) override;
    // Writes the field list only: a table without rows.
    void Save(TEISectionWriter& writer) const override;

    const QString& TableName() const { return FTableName; }
    void SetTableName(const QString& name) { FTableName = name; }
    const QList<TDicFieldDescription>& Fields() const { return FFields; }
    void SetFields(const QList<TDicFieldDescription>& fields) { FFields = fields; }
    qint64 RowCount() const { return FRowCount; }

  private:
    friend class TEITableDataWriter;
    QString FTableName;
    QList<TDicFieldDescription> FFields;
    qint64 FRowCount = 0;
};

// Writes a table data section row by row.
class TEITableDataWriter {
  public:
    TEITableDataWriter(TEIFile& file, const QString& tableName,
                       const QList<TDicFieldDescription>& fields);
    // One value per field, in field order.
    void AddRow(const QList<TQXVariant>& values);
    // Values by field name; a field the record lacks is NULL.
    void AddRow(const TRecord& record);
    qint64 RowCount() const { return FRows; }
    TEISection& Commit();

  private:
    TEITableData FHeader;
    TEISectionWriter FWriter;
    qint64 FRows = 0;
    QString FLine;  // reused for every row
};

// Visits the rows of a table data section one at a time.
class TEITableDataReader {
  public:
    explicit TEITableDataReader(const TEISection& section);
    const QList<TDicFieldDescription>& Fields() const { return FFields; }
    // False after the last row.
    bool Next(QList<TQXVariant>& values);
    // Fills the record by field name; an empty record first gets the fields.
    bool Next(TRecord& record);
    qint64 RowsRead() const { return FRows; }

  private:
    TEISectionDataReader FData;
    QList<TDicFieldDescription> FFields;
    qint64 FRows = 0;
};
