#include "eiobjects.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "basekit/strutils.h"
#include "eiformat.h"

namespace {

constexpr qsizetype kBase64LineLength = 76;

[[noreturn]] void RaiseAt(const TEISection& section, const QString& what) {
    const QString file = section.Source() ? section.Source()->SourceName() : QString();
    EIFormat::Raise(file, section.LineNumber(), what);
}

[[noreturn]] void RaiseAt(const TEISectionDataReader& data, const QString& what) {
    EIFormat::Raise(data.FileName(), data.LineNumber(), what);
}

QString CompactJson(const QJsonObject& object) {
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QJsonDocument ParseJson(const TEISectionDataReader& data, const QString& line) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        RaiseAt(data, QStringLiteral("invalid JSON data: %1").arg(error.errorString()));
    return doc;
}

// A JSON array of strings, written directly: the texts of a local resource
// section are many short lines, and a JSON document per line costs more than
// reading them from the database.
QString JsonStrings(std::initializer_list<const QString*> strings) {
    QString out;
    qsizetype size = 8;
    for (const QString* s : strings)
        size += s->size() + 3;
    out.reserve(size);
    out += QLatin1Char('[');
    bool first = true;
    for (const QString* s : strings) {
        if (!first) out += QLatin1Char(',');
        first = false;
        out += QLatin1Char('"');
        for (const QChar c : *s) {
            const char16_t u = c.unicode();
            if (u == u'"' || u == u'\\') {
                out += QLatin1Char('\\');
                out += c;
            } else if (u < 0x20) {
                out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
            } else {
                out += c;
            }
        }
        out += QLatin1Char('"');
    }
    out += QLatin1Char(']');
    return out;
}

}  // namespace

std::unique_ptr<TEIObject> CreateEIObjectOfClass(const QString& className) {
    if (className == QLatin1String("TEIDSPStructure")) return std::make_unique<TEIDSPStructure>();
    if (className == QLatin1String("TEILResource")) return std::make_unique<TEILResource>();
    if (className == QLatin1String("TEILanguage")) return std::make_unique<TEILanguage>();
    if (className == QLatin1String("TEITableData")) return std::make_unique<TEITableData>();
    if (className == QLatin1String("TEIQueryData")) return std::make_unique<TEIQueryData>();
    return std::make_unique<TEIUnknownObject>(className);
}

// ---- TEIUnknownObject ----

void TEIUnknownObject::FillParameters(TEISectionParameters& parameters) const {
    parameters = FParameters;
}

void TEIUnknownObject::Load(const TEISection& section) {
    FClassName = section.ClassName();
    FName = section.Name();
    FParameters = section.Parameters();
    FLines.clear();
    TEISectionDataReader data = section.OpenData();
    for (QString line; data.Readln(line);)
        FLines << line;
}

void TEIUnknownObject::Save(TEISectionWriter& writer) const {
    for (const QString& line : FLines)
        writer.Writeln(line);
}

// ---- TEIDSPStructure ----

QString TEIDSPStructure::SectionName() const {
    return QStringLiteral("%1:%2").arg(FItem.ObjectType).arg(FItem.Name);
}

void TEIDSPStructure::FillParameters(TEISectionParameters& parameters) const {
    parameters.SetValues(QStringLiteral("Name"), FItem.Name);
    parameters.SetValues(QStringLiteral("ObjectType"), QString::number(FItem.ObjectType));
    parameters.SetValues(QStringLiteral("TableName"), FItem.TableName);
    parameters.SetValues(QStringLiteral("ParentObject"), FItem.ParentName);
    parameters.SetValues(QStringLiteral("Remark"), FItem.Remark);
    parameters.SetValues(QStringLiteral("LastChange"),
                         FItem.LastChange.IsNull()
                             ? QString()
                             : FormatStamp(FItem.LastChange.AsDateTime(), u'T', true));
}

TDSPListItem TEIDSPStructure::ItemOf(const TEISection& section) {
    const TEISectionParameters& p = section.Parameters();
    TDSPListItem item;
    item.Name = p.GetValues(QStringLiteral("Name"));
    bool ok = false;
    item.ObjectType = p.GetValues(QStringLiteral("ObjectType")).toInt(&ok);
    if (!ok)
        RaiseAt(section, QStringLiteral("the object type \"%1\" is not a number")
                             .arg(p.GetValues(QStringLiteral("ObjectType"))));
    item.TableName = p.GetValues(QStringLiteral("TableName"));
    item.ParentName = p.GetValues(QStringLiteral("ParentObject"));
    item.Remark = p.GetValues(QStringLiteral("Remark"));
    const QString lastChange = p.GetValues(QStringLiteral("LastChange"));
    if (!lastChange.isEmpty()) {
        const QDateTime when = QDateTime::fromString(lastChange, Qt::ISODateWithMs);
        if (!when.isValid())
            RaiseAt(
                section,
                QStringLiteral("the last change \"%1\" is not a date and time").arg(lastChange));
        item.LastChange = TQXVariant(when);
    }
    return item;
}

void TEIDSPStructure::Load(const TEISection& section) {
    TDSPListItem item = ItemOf(section);
    QByteArray base64;
    TEISectionDataReader data = section.OpenData();
    for (QString line; data.Readln(line);)
        base64 += line.toLatin1();
    auto decoded = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) RaiseAt(section, QStringLiteral("the structure body is not valid base64"));
    FItem = item;
    FBody = *decoded;
}

void TEIDSPStructure::Save(TEISectionWriter& writer) const {
    writer.WriteBase64Lines(FBody, kBase64LineLength);
}

// ---- TEILResource ----

void TEILResource::FillParameters(TEISectionParameters& parameters) const {
    parameters.SetValues(QStringLiteral("SectionID"), FSectionID);
}

void TEILResource::Load(const TEISection& section) {
    QList<TEILResText> texts;
    TEISectionDataReader data = section.OpenData();
    for (QString line; data.Readln(line);) {
        const QJsonArray a = ParseJson(data, line).array();
        if (a.size() != 3 || !a[0].isString() || !a[1].isString() || !a[2].isString())
            RaiseAt(data, QStringLiteral("a text must be [language, ident, text]"));
        texts.append({a[0].toString(), a[1].toString(), a[2].toString()});
    }
    FSectionID = section.Parameters().GetValues(QStringLiteral("SectionID"));
    FTexts = texts;
}

void TEILResource::Save(TEISectionWriter& writer) const {
    for (const TEILResText& t : FTexts)
        writer.Writeln(JsonStrings({&t.Language, &t.Ident, &t.Text}));
}

// ---- TEILanguage ----

void TEILanguage::FillParameters(TEISectionParameters& parameters) const {
    parameters.SetValues(QStringLiteral("LanguageID"), FLanguageID);
}

void TEILanguage::Load(const TEISection& section) {
    TEISectionDataReader data = section.OpenData();
    QString line;
    if (!data.Readln(line)) RaiseAt(section, QStringLiteral("the language record is missing"));
    const QJsonDocument doc = ParseJson(data, line);
    if (!doc.isObject()) RaiseAt(data, QStringLiteral("the language record must be an object"));
    const QJsonObject o = doc.object();
    const QJsonObject f = o.value(QLatin1String("Font")).toObject();
    TOneLanguage language;
    const TLanguageFont defaults;
    language.RussianName = o.value(QLatin1String("RussianName")).toString();
    language.EnglishName = o.value(QLatin1String("EnglishName")).toString();
    language.NativeName = o.value(QLatin1String("NativeName")).toString();
    language.Font.Name = f.value(QLatin1String("Name")).toString(defaults.Name);
    language.Font.Charset = f.value(QLatin1String("Charset")).toInt(defaults.Charset);
    language.Font.Size = f.value(QLatin1String("Size")).toInt(defaults.Size);
    language.Font.Style = f.value(QLatin1String("Style")).toInt(defaults.Style);
    language.Font.Color = f.value(QLatin1String("Color")).toInt(defaults.Color);
    language.Font.Pitch = f.value(QLatin1String("Pitch")).toInt(defaults.Pitch);
    if (data.Readln(line)) RaiseAt(data, QStringLiteral("a language section holds one record"));
    FLanguageID = section.Parameters().GetValues(QStringLiteral("LanguageID"));
    FLanguage = language;
}

void TEILanguage::Save(TEISectionWriter& writer) const {
    const TLanguageFont& f = FLanguage.Font;
    const QJsonObject font{
        {QStringLiteral("Name"), f.Name},   {QStringLiteral("Charset"), f.Charset},
        {QStringLiteral("Size"), f.Size},   {QStringLiteral("Style"), f.Style},
        {QStringLiteral("Color"), f.Color}, {QStringLiteral("Pitch"), f.Pitch}};
    writer.Writeln(CompactJson(QJsonObject{{QStringLiteral("RussianName"), FLanguage.RussianName},
                                           {QStringLiteral("EnglishName"), FLanguage.EnglishName},
                                           {QStringLiteral("NativeName"), FLanguage.NativeName},
                                           {QStringLiteral("Font"), font}}));
}

// ---- TEIQueryData ----

void TEIQueryData::FillParameters(TEISectionParameters& parameters) const {
    parameters.SetValues(QStringLiteral("TableName"), FTableName);
}

void TEIQueryData::Load(const TEISection& section) {
    QStringList lines;
    TEISectionDataReader data = section.OpenData();
    for (QString line; data.Readln(line);)
        lines << line;
    FTableName = section.Parameters().GetValues(QStringLiteral("TableName"));
    FLines = lines;
}

void TEIQueryData::Save(TEISectionWriter& writer) const {
    for (const QString& line : FLines)
        writer.Writeln(line);
}
