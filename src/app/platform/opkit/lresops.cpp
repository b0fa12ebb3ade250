// Deleting, copying and importing texts and languages.
#include "appcore/languages.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "dspopsupport.h"
#include "eifile.h"
#include "eiobjects.h"
#include "lresoperations.h"
#include "lresreader.h"

using DSPOps::Database;
using DSPOps::InTransaction;
using DSPOps::ResolveAlias;

void CheckNewStringID(const QString& stringID) {
    const QString id = stringID.trimmed();
    if (id.isEmpty()) throw ELocalizatorError(QStringLiteral("A local resource needs a string ID"));
    if (id.size() > kMaxStringIDLength)
        throw ELocalizatorError(
            QStringLiteral("The string ID %1... is %2 characters long; at most %3 are stored")
                .arg(id.left(20))
                .arg(id.size())
                .arg(kMaxStringIDLength));
    if (id.startsWith(QLatin1Char('_')) || id.contains(QLatin1Char(' ')))
        throw ELocalizatorError(
            QStringLiteral("The string ID '%1' has no section part or holds a blank").arg(id));
}

void CheckLanguageRecord(const QString& id, const TOneLanguage& l) {
    if (id.trimmed().isEmpty() || id.size() > kMaxLanguageIDLength)
        throw ELocalizatorError(QStringLiteral("'%1' is no language ID (1 to %2 characters)")
                                    .arg(id)
                                    .arg(kMaxLanguageIDLength));
    for (const QString& name : {l.RussianName, l.EnglishName, l.NativeName})
        if (name.size() > kMaxLanguageNameLength)
            throw ELocalizatorError(
                QStringLiteral("The name '%1' of language %2 is longer than %3 characters")
                    .arg(name.left(20) + QStringLiteral("..."), id)
                    .arg(kMaxLanguageNameLength));
}

namespace {

// The target of a copy or an import: the alias, else the default database.
QString TargetOf(const TUtilOperation& op) {
    return ResolveAlias(op.TargetAlias());
}

void StoreTexts(TLocalizatorTable& target, const QString& section,
                const QList<TEILResText>& texts) {
    for (const TEILResText& t : texts) {
        CheckNewStringID(TLocalizatorTable::ComposeID(section, t.Ident));
        target.SetSectionString(section, t.Ident, t.Language, t.Text);
    }
}

template <typename TItem, typename TWork>
void ForEachItem(const QList<TItem>& items, TOperationContext& context, const QString& what,
                 TWork work) {
    for (int i = 0; i < items.size(); ++i) {
        context.CheckCancel();
        context.Status(what.arg(items[i]));
        work(items[i]);
        context.Progress(i + 1, items.size());
    }
}

}  // namespace

void TUODeleteLSection::Execute(TOperationContext&) {
    const QString alias = ResolveAlias(SourceAlias());
    InTransaction(alias, [&] { GetLocalizatorTable(alias).DeleteSection(SectionID); });
}

void TUODeleteLSections::Execute(TOperationContext& context) {
    const QString alias = ResolveAlias(SourceAlias());
    InTransaction(alias, [&] {
        ForEachItem(Sections, context, QStringLiteral("Deleting section %1"),
                    [&](const QString& s) { GetLocalizatorTable(alias).DeleteSection(s); });
    });
}

void TUODeleteLResource::Execute(TOperationContext&) {
    const QString alias = ResolveAlias(SourceAlias());
    InTransaction(alias, [&] { GetLocalizatorTable(alias).DeleteString(StringID); });
}

void TUODeleteLResources::Execute(TOperationContext& context) {
    const QString alias = ResolveAlias(SourceAlias());
    InTransaction(alias, [&] {
        ForEachItem(StringIDs, context, QStringLiteral("Deleting %1"),
                    [&](const QString& id) { GetLocalizatorTable(alias).DeleteString(id); });
    });
}

void TUOCopyLSections::Execute(TOperationContext& context) {
    const QString from = ResolveAlias(SourceAlias()), to = TargetOf(*this);
    if (from == to) return;
    TLSectionReader reader(Database(from));
    InTransaction(to, [&] {
        ForEachItem(Sections, context, QStringLiteral("Copying section %1"), [&](const QString& s) {
            QList<TEILResText> texts;
            reader.Read(s, {}, texts);
            StoreTexts(GetLocalizatorTable(to), s.toUpper(), texts);
        });
    });
}

void TUOCopyLResources::Execute(TOperationContext& context) {
    const QString from = ResolveAlias(SourceAlias()), to = TargetOf(*this);
    const QString source = SourceSection.toUpper(), target = TargetSection.toUpper();
    if (from == to && source == target) return;
    TLSectionReader reader(Database(from));
    QList<TEILResText> all, chosen;
    reader.Read(source, {}, all);
    QSet<QString> idents;
    for (const QString& i : Idents)
        idents.insert(i.toUpper());
    for (const TEILResText& t : all)
        if (idents.contains(t.Ident)) chosen.append(t);
    context.Status(QStringLiteral("Copying %1 texts of section %2").arg(chosen.size()).arg(source));
    InTransaction(to, [&] { StoreTexts(GetLocalizatorTable(to), target, chosen); });
}

namespace {

// Loads the sections of the indexes that are of the class; others are reported.
template <typename TObject>
std::vector<std::unique_ptr<TObject>> LoadSections(TEIFile& file, const QStringList& indexes,
                                                   TOperationContext& context) {
    if (!file.Opened()) file.Open();
    std::vector<std::unique_ptr<TObject>> objects;
    for (const QString& index : indexes) {
        bool ok = false;
        const int i = index.toInt(&ok);
        if (!ok || i < 0 || i >= file.Sections().GetCount())
            throw EEIFileError(
                QStringLiteral("File %1 has no section %2").arg(file.FileName(), index));
        std::unique_ptr<TEIObject> object = file.CreateEIObject(i);
        if (auto* typed = dynamic_cast<TObject*>(object.get())) {
            object.release();
            objects.emplace_back(typed);
        } else {
            context.Error(
                QStringLiteral("Section %1 of file %2 (%3) is left out: it is not a %4")
                    .arg(index, file.FileName(), object->SectionClass(), TObject().SectionClass()));
        }
    }
    return objects;
}

void ImportResource(const QString& to, const TEILResource& res, const QStringList& languages) {
    QSet<QString> wanted;
    for (const QString& l : languages)
        wanted.insert(l.toUpper());
    QList<TEILResText> texts;
    for (const TEILResText& t : res.Texts())
        if (wanted.isEmpty() || wanted.contains(t.Language.toUpper())) texts.append(t);
    StoreTexts(GetLocalizatorTable(to), res.SectionID().toUpper(), texts);
}

}  // namespace

void TUOImportLSections::Execute(TOperationContext& context) {
    if (!File) throw EEIFileError(QStringLiteral("No export/import file was given"));
    const QString to = TargetOf(*this);
    const auto objects = LoadSections<TEILResource>(*File, Indexes, context);
    InTransaction(to, [&] {
        for (size_t i = 0; i < objects.size(); ++i) {
            context.CheckCancel();
            context.Status(QStringLiteral("Importing section %1").arg(objects[i]->SectionID()));
            ImportResource(to, *objects[i], Languages);
            context.Progress(qint64(i) + 1, qint64(objects.size()));
        }
    });
}

void TUOImportLanguages::Execute(TOperationContext& context) {
    if (!File) throw EEIFileError(QStringLiteral("No export/import file was given"));
    const QString to = TargetOf(*this);
    const auto objects = LoadSections<TEILanguage>(*File, Indexes, context);
    for (const auto& l : objects)
        CheckLanguageRecord(l->LanguageID(), l->Language());
    InTransaction(to, [&] {
        for (const auto& l : objects)
            GetLanguagesTable(to).SetLanguage(l->LanguageID().toUpper(), l->Language());
    });
}
