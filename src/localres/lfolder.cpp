#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "lcontainer.h"
#include "lsection.h"
#include "model/shortcuts.h"

TDOLFolder::TDOLFolder() : FNotifier(std::make_unique<TLocalizatorNotifier>()) {
    FNotifier->SetOwner(this);
    FNotifier->SetCallback(
        [this](const QString& id, const QString& language, bool sectionLevel, int kind) {
            LocalizatorChanged(id, language, sectionLevel, kind);
        });
}

// The notifier goes first: no notification reaches a half-destroyed folder.
TDOLFolder::~TDOLFolder() {
    FNotifier.reset();
}

void TDOLFolder::ListSections() {
    // A database without the dictionary's system tables simply has none.
    if (!BaseMng().Databases().GetDatabase(AliasName()).TableExists(TLocalizatorTable::kTableName))
        return;
    QStringList sections;
    GetLocalizatorTable(AliasName()).FillSectionList(BaseMng().CurrentLanguage(), sections);
    for (const QString& s : sections)
        if (AcceptSection(s)) {
            auto section = std::make_unique<TDOLSection>();
            section->SetAliasName(AliasName());
            section->SetSectionID(s);
            AddSubObject(std::move(section), s);
        }
}

bool TDOLFolder::InternalOpen() {
    // Subscribed before the listing: a write in between is reported again, not lost.
    FNotifier->AddTo(GetLocalizatorTable(AliasName()));
    try {
        ListSections();
    } catch (...) {
        FNotifier->Remove();
        SubObjects().Clear();
        throw;
    }
    return true;
}

void TDOLFolder::Close() {
    FNotifier->Remove();
    TDOLContainer::Close();
}

bool TDOLFolder::Refresh() {
    SubObjects().Clear();
    ListSections();
    return true;
}

TPelvarChangeType TDOLFolder::RefreshItem(const QString& SubPath) {
    const QString id = SubPath.toUpper();
    TPelvarObject* existing = SubObjects().FindBySubPath(id);
    if (AcceptSection(id) &&
        GetLocalizatorTable(AliasName()).SectionExist(id, BaseMng().CurrentLanguage())) {
        if (existing) return ctItemChanged;
        auto section = std::make_unique<TDOLSection>();
        section->SetAliasName(AliasName());
        section->SetSectionID(id);
        AddSubObject(std::move(section), id);
        return ctItemAdded;
    }
    if (existing) SubObjects().Delete(SubObjects().IndexOf(existing));
    return ctItemDeleted;
}

void TDOLFolder::LocalizatorChanged(const QString& ID, const QString& Language, bool SectionLevel,
                                    int Kind) {
    if (!SectionLevel) return;
    if (Kind == lckReset && ID.isEmpty()) {
        DataChanged(FullPath());
        return;
    }
    if (Language.toUpper() != BaseMng().CurrentLanguage() || !AcceptSection(ID)) return;
    if (Kind == lckReset)
        DataChanged(FullPath());
    else
        DataChanged(FullPath() + QLatin1Char('\\') + ID.toUpper());
}

void TDOLFolder::FillShortcut(TPelvarObjectShortcut& ShortCut) {
    ShortCut.CaptionID = ShortCut.HintID = QStringLiteral("M_Pelvar_DOFolders_LocalResources");
    ShortCut.ImageIndex = 7;
}

QStringList TDOLFolder::SectionsOf(const QStringList& SubObjects) const {
    QStringList sections;
    for (const QString& subPath : SubObjects)
        if (auto* s = dynamic_cast<TDOLSection*>(this->SubObjects().FindBySubPath(subPath)))
            sections << s->SectionID();
    return sections;
}
