#include "dspopsupport.h"

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/dialect.h"
#include "appcore/dictionary.h"
#include "appcore/languages.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/structurebodies.h"
#include "eistream.h"

namespace DSPOps {

QString Describe(const QString& name, int objectType) {
    return u'\'' + name + QStringLiteral("' (type ") + QString::number(objectType) + u')';
}

QString ResourceSectionID(const QString& formName) {
    return QStringLiteral("K_") + formName.toUpper();
}

QString ResolveAlias(const QString& alias) {
    return BaseMng().Databases().ResolveAlias(alias);
}

TDatabase& Database(const QString& alias) {
    return BaseMng().Databases().GetDatabase(alias);
}

namespace {

void DropCaches(const QString& alias) {
    // Refresh tells every window to re-read; a window that fails to must not
    // hide the error that brought us here.
    try {
        GetDSPTable(alias).Refresh();
    } catch (const std::exception&) {
    }
    try {
        GetLocalizatorTable(alias).Refresh();
    } catch (const std::exception&) {
    }
    try {
        GetLanguagesTable(alias).Refresh();
    } catch (const std::exception&) {
    }
}

}  // namespace

void InTransaction(const QString& alias, const std::function<void()>& work) {
    // The connection is looked up again at the end: whoever closes the alias
    // meanwhile (the database is gone) destroys the connection object.
    const bool own = !Database(alias).InTransaction();
    if (own) Database(alias).StartTransaction();
    try {
        work();
        if (own) Database(alias).Commit();
    } catch (...) {
        if (own) {
            try {
                TDatabaseManager& dbs = BaseMng().Databases();
                if (dbs.IsOpen(alias)) dbs.GetDatabase(alias).Rollback();
            } catch (const std::exception&) {
                // A connection that cannot roll back has lost the transaction anyway.
            }
            DropCaches(alias);
        }
        throw;
    }
}

void Naming(const QString& what, const std::function<void()>& work) {
    Naming([&what] { return what; }, work);
}

void Naming(const std::function<QString()>& what, const std::function<void()>& work) {
    try {
        work();
    } catch (const EAbortError&) {
        throw;
    } catch (const EEIFileError&) {
        throw;  // names its file, which is what went wrong
    } catch (const EPelvarError& e) {
        throw EDSPError(QStringLiteral("%1: %2").arg(what(), e.Message()));
    }
}

bool DBObjectExists(const QString& alias, const QString& name, int objectType) {
    TDicDatabase& dic = DicDBContainer().GetDicDatabase(alias);
    switch (objectType) {
        case otTable:
            return Database(alias).TableExists(name);
        case otGenerator:
            return dic.GeneratorExists(name);
        case otView:
            return dic.ViewExists(name);
        case otExecStoredProc:
            return dic.ExecStoredProcExists(name);
        case otSelectStoredProc:
            return dic.SelectStoredProcExists(name);
        default:
            return false;
    }
}

void DropDBObject(const QString& alias, const QString& name, int objectType) {
    if (!DBObjectExists(alias, name, objectType)) return;
    TDicDatabase& dic = DicDBContainer().GetDicDatabase(alias);
    switch (objectType) {
        case otTable: {
            TDatabase& db = Database(alias);
            db.ExecDirect(db.Dialect().DropTableStatement(name));
            break;
        }
        case otGenerator:
            dic.DropGenerator(name);
            break;
        case otView:
            dic.DropView(name);
            break;
        case otExecStoredProc:
        case otSelectStoredProc:
            dic.DropStoredProc(name, objectType == otSelectStoredProc);
            break;
        default:
            break;
    }
}

void DeleteResources(const QString& alias, const QString& formName) {
    // A database without a text table has no resources to lose.
    if (!Database(alias).TableExists(TLocalizatorTable::kTableName)) return;
    TLocalizatorTable& texts = GetLocalizatorTable(alias);
    const QString section = ResourceSectionID(formName);
    if (texts.SectionExist(section, QString())) texts.DeleteSection(section);
}

void DeleteStructure(const QString& alias, const QString& name, int objectType, bool dropObject,
                     bool deleteResources) {
    Naming(QStringLiteral("Can not delete DSP structure %1 from database %2")
               .arg(Describe(name, objectType), alias),
           [&] {
               if (dropObject) DropDBObject(alias, name, objectType);
               // Only a form owns a resource section: a structure of another
               // kind with a form's name must not take the form's texts along.
               if (deleteResources && objectType == otForm) DeleteResources(alias, name);
               GetDSPTable(alias).DeleteStructure(name, objectType);
           });
}

TDSPListItem SourceProperties(TDSPTable& source, const QString& name, int objectType) {
    TDSPListItem item;
    if (!source.GetStructureProperties(name, objectType, item))
        throw EDSPError(QStringLiteral("DSP structure %1 not found in database %2")
                            .arg(Describe(name, objectType), source.Alias()));
    return item;
}

void StoreStructure(TDSPTable& target, const QString& name, int objectType,
                    const TDSPListItem& properties, const QByteArray& body) {
    target.PutStructure(name, objectType, body);
    target.ChangeStructureProperties(name, objectType, properties.ParentName, properties.TableName,
                                     properties.Remark);
}

}  // namespace DSPOps
