// Exporting texts and languages: to export/import files and to XML.
#include <QDir>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QXmlStreamWriter>

#include "appcore/languages.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "dspopsupport.h"
#include "eifile.h"
#include "lresoperations.h"
#include "lresreader.h"

using DSPOps::Database;
using DSPOps::ResolveAlias;

namespace {

// Texts the file's encoding cannot hold are reported and left out: a text
// silently mangled into question marks would come back wrong on import.
class TEncodingCheck {
  public:
    TEncodingCheck(TEIEncoding encoding, TOperationContext& context)
        : FAnsi(encoding == eeANSI), FContext(context) {}

    bool Fits(const QString& section, const TEILResText& t) {
        if (!FAnsi) return true;
        bool ascii = true;
        for (const QChar c : t.Text)
            if (c.unicode() >= 0x80) {
                ascii = false;
                break;
            }
        if (ascii) return true;
        // The encoder quietly substitutes what it cannot represent: a round trip tells.
        QStringEncoder encoder("windows-1251", QStringConverter::Flag::Stateless);
        QStringDecoder decoder("windows-1251", QStringConverter::Flag::Stateless);
        if (decoder.decode(encoder.encode(t.Text)) == t.Text) return true;
        FContext.Error(QStringLiteral("The %1 text of %2 cannot be written in ANSI "
                                      "(Windows-1251) and is left out")
                           .arg(t.Language, TLocalizatorTable::ComposeID(section, t.Ident)));
        return false;
    }

  private:
    bool FAnsi;
    TOperationContext& FContext;
};

QSet<QString> UpperSet(const QStringList& list) {
    QSet<QString> set;
    for (const QString& s : list)
        set.insert(s.toUpper());
    return set;
}

// One TEILResource section per section of the list: in list order, or in
// string ID order when the sections are read in one pass.
void WriteSections(TEIFile& file, TLSectionReader& reader, const QStringList& sections,
                   const QStringList& languages, const QSet<QString>& idents,
                   TOperationContext& context) {
    TEncodingCheck check(file.Encoding(), context);
    int done = 0;
    const auto write = [&](const QString& section, const QList<TEILResText>& texts) {
        context.CheckCancel();
        context.Status(QStringLiteral("Exporting section %1").arg(section));
        TEILResource res;
        res.SetSectionID(section);
        for (const TEILResText& t : texts)
            if ((idents.isEmpty() || idents.contains(t.Ident)) && check.Fits(section, t))
                res.Texts().append(t);
        file.AddObject(res);
        context.Progress(++done, sections.size());
        return true;
    };
    if (reader.PrefersOnePass(int(sections.size()))) {
        // One pass, each section written as soon as it is complete.
        const QSet<QString> wanted = UpperSet(sections);
        reader.ReadAll(wanted, languages, write);
        return;
    }
    QList<TEILResText> texts;
    for (const QString& s : sections) {
        reader.Read(s, languages, texts);
        write(s.toUpper(), texts);
    }
}

}  // namespace

void TUOExportLSections::Execute(TOperationContext& context) {
    TLSectionReader reader(Database(ResolveAlias(SourceAlias())));
    if (!SeparateExport) {
        WriteExport(Target, context, [&](TEIFile& file) {
            WriteSections(file, reader, Sections, Languages, {}, context);
        });
        return;
    }
    const QDir dir(Target.FileName);
    if (Target.FileName.isEmpty() || !dir.exists())
        throw EEIFileError(
            QStringLiteral("The export directory %1 does not exist").arg(Target.FileName));
    for (const QString& section : Sections) {
        TEIExportTarget one = Target;
        one.File = nullptr;
        one.Append = false;
        one.FileName = dir.filePath(section.toUpper() + QStringLiteral(".eif"));
        WriteExport(one, context, [&](TEIFile& file) {
            WriteSections(file, reader, {section}, Languages, {}, context);
        });
    }
}

void TUOExportLResource::Execute(TOperationContext& context) {
    TLSectionReader reader(Database(ResolveAlias(SourceAlias())));
    WriteExport(Target, context, [&](TEIFile& file) {
        WriteSections(file, reader, {SectionID}, Languages, UpperSet(Idents), context);
    });
}

void TUOExportLanguages::Execute(TOperationContext& context) {
    TLanguagesTable& table = GetLanguagesTable(ResolveAlias(SourceAlias()));
    WriteExport(Target, context, [&](TEIFile& file) {
        for (const QString& id : Languages) {
            context.CheckCancel();
            TEILanguage language;
            language.SetLanguageID(id);
            if (!table.GetLanguage(id, language.Language())) {
                context.Error(QStringLiteral("Language %1 is gone and is not exported").arg(id));
                continue;
            }
            file.AddObject(language);
        }
    });
}

namespace {

// XML 1.0 cannot hold most control characters, not even escaped.
QString XmlText(const QString& text, bool& stripped) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 0x20 && u != 0x9 && u != 0xA && u != 0xD) {
            stripped = true;
            continue;
        }
        out += c;
    }
    return out;
}

}  // namespace

void TExportXMLLResourceUtilOperation::Execute(TOperationContext& context) {
    if (!Stream || !Stream->isWritable())
        throw EEIFileError(QStringLiteral("No writable stream for the XML export"));
    TLSectionReader reader(Database(ResolveAlias(SourceAlias())));
    QXmlStreamWriter xml(Stream);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(RootName);
    xml.writeAttribute(QStringLiteral("Version"), Version);
    QList<TEILResText> texts;
    for (int i = 0; i < Sections.size(); ++i) {
        context.CheckCancel();
        const QString section = Sections[i].toUpper();
        context.Status(QStringLiteral("Exporting section %1").arg(section));
        reader.Read(section, Languages, texts);
        xml.writeStartElement(QStringLiteral("Section"));
        xml.writeAttribute(QStringLiteral("ID"), section);
        QString open;  // the ident whose String element is open
        bool any = false;
        for (const TEILResText& t : texts) {
            if (!any || t.Ident != open) {
                if (any) xml.writeEndElement();
                xml.writeStartElement(QStringLiteral("String"));
                xml.writeAttribute(QStringLiteral("ID"),
                                   TLocalizatorTable::ComposeID(section, t.Ident));
                open = t.Ident;
                any = true;
            }
            bool stripped = false;
            xml.writeStartElement(QStringLiteral("Text"));
            xml.writeAttribute(QStringLiteral("Language"), t.Language);
            xml.writeCharacters(XmlText(t.Text, stripped));
            xml.writeEndElement();
            if (stripped)
                context.Error(QStringLiteral("Control characters of the %1 text of %2 are left "
                                             "out: XML cannot hold them")
                                  .arg(t.Language, TLocalizatorTable::ComposeID(section, t.Ident)));
        }
        if (any) xml.writeEndElement();
        xml.writeEndElement();
        context.Progress(i + 1, Sections.size());
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    if (xml.hasError()) throw EEIFileError(QStringLiteral("The XML export could not be written"));
}
