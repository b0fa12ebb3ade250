#include "eifilerules.h"

#include "opkit/eifile.h"

namespace {

const QString kLanguageClass = QStringLiteral("TEILanguage");
const QString kStructureClass = QStringLiteral("TEIDSPStructure");
const QString kResourceClass = QStringLiteral("TEILResource");
const QString kTableClass = QStringLiteral("TEITableData");

int Sign(qint64 value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

int CompareText(const QString& a, const QString& b) {
    return Sign(QString::compare(a, b, Qt::CaseInsensitive));
}

// Newest first; a missing date after every date, two missing ones equal.
int CompareChange(const TQXVariant& a, const TQXVariant& b) {
    if (a.IsNull() || b.IsNull()) return int(a.IsNull()) - int(b.IsNull());
    return Sign(b.AsDateTime().toMSecsSinceEpoch() - a.AsDateTime().toMSecsSinceEpoch());
}

}  // namespace

QString EIFolderOfClass(const QString& sectionClass) {
    if (sectionClass == kLanguageClass) return EIFolders::kLanguages;
    if (sectionClass == kStructureClass) return EIFolders::kStructures;
    if (sectionClass == kResourceClass) return EIFolders::kResources;
    if (sectionClass == kTableClass) return EIFolders::kTables;
    return EIFolders::kUnknown;
}

QString EISectionClassOfFolder(const QString& folder) {
    if (folder == EIFolders::kLanguages) return kLanguageClass;
    if (folder == EIFolders::kStructures) return kStructureClass;
    if (folder == EIFolders::kResources) return kResourceClass;
    if (folder == EIFolders::kTables) return kTableClass;
    return QString();
}

bool EIFolderShows(const QString& folder, const QString& sectionClass) {
    if (folder == EIFolders::kUnknown) return EIFolderOfClass(sectionClass) == EIFolders::kUnknown;
    const QString shown = EISectionClassOfFolder(folder);
    return !shown.isEmpty() && shown == sectionClass;
}

QStringList EIFolderOrder(const TEISource& file) {
    QStringList order;
    for (int i = 0; i < file.Sections().GetCount(); ++i) {
        const QString folder = EIFolderOfClass(file.Sections().GetSections(i)->ClassName());
        if (!order.contains(folder)) order << folder;
    }
    return order;
}

QStringList EISectionIndexesOf(const TEISource& file, const QString& folder) {
    QStringList indexes;
    for (int i = 0; i < file.Sections().GetCount(); ++i)
        if (EIFolderShows(folder, file.Sections().GetSections(i)->ClassName()))
            indexes << QString::number(i);
    return indexes;
}

QString EIFolderDeleteMessageId(const QStringList& folders) {
    if (folders.size() != 1) return QStringLiteral("M_Pelvar_DORoot_MultiDeleteConfirm");
    const QString& f = folders.first();
    if (f == EIFolders::kResources)
        return QStringLiteral("M_Pelvar_DORoot_MultiDeleteLSectionConfirm");
    if (f == EIFolders::kLanguages)
        return QStringLiteral("M_Pelvar_DORoot_MultiDeleteLanguageConfirm");
    if (f == EIFolders::kStructures)
        return QStringLiteral("M_Pelvar_DORoot_MultiDeleteDSPStructureConfirm");
    if (f == EIFolders::kTables)
        return QStringLiteral("M_Pelvar_DORoot_MultiDeleteTableDataConfirm");
    return QStringLiteral("M_Pelvar_DORoot_MultiDeleteUnknownConfirm");
}

QString EIStructureItemName(const TDSPListItem& item) {
    return QString::number(item.ObjectType) + QLatin1Char(':') + item.Name;
}

int EITableDataSectionOf(const TEISource& file, const QString& tableName) {
    return file.FindSection(kTableClass, QStringLiteral("TableName"), tableName);
}

int EIFormResourceSectionOf(const TEISource& file, const QString& formName) {
    return file.FindSection(kResourceClass, QStringLiteral("SectionID"),
                            QStringLiteral("K_") + formName);
}

int EICompareStructures(const TDSPListItem& a, const TDSPListItem& b, int tag) {
    switch (tag) {
        case 2:
            return CompareChange(a.LastChange, b.LastChange);
        case 3:
            return CompareText(a.Remark, b.Remark);
        case 4:
            return CompareText(a.TableName, b.TableName);
        case 5:
            if (a.ObjectType != b.ObjectType) return Sign(a.ObjectType - b.ObjectType);
            return CompareText(a.TableName, b.TableName);
        case 6:
            return Sign(a.ObjectType - b.ObjectType);
        default:
            return CompareText(a.Name, b.Name);
    }
}
