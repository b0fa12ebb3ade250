#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "appcore/dsptable.h"

class TDatabase;

// What the DSP structure operations share; not for other callers.
namespace DSPOps {

// "'NAME' (type 10)" for messages.
QString Describe(const QString& name, int objectType);
// The local resource section of a form.
QString ResourceSectionID(const QString& formName);
// The alias as the connection manager names it (the empty alias: the default
// database).
QString ResolveAlias(const QString& alias);
// Raises EDatabaseError when the database is not connected.
TDatabase& Database(const QString& alias);

// Runs `work` in one transaction of the alias's database, or inside the one
// already running. When it fails, its own transaction is rolled back and the
// database's structure and text caches are dropped, since they saw writes
// that are gone; the error goes on.
void InTransaction(const QString& alias, const std::function<void()>& work);

// Runs `work`; an error other than a cancel or an export/import file error
// comes back as EDSPError "<what>: <its message>", so that it names the
// structure the operation was at.
void Naming(const QString& what, const std::function<void()>& work);
// The same with the name built only on failure, for steps run thousands of times.
void Naming(const std::function<QString()>& what, const std::function<void()>& work);

// Whether the structure's database object exists.
bool DBObjectExists(const QString& alias, const QString& name, int objectType);
// Drops the structure's database object when it exists.
void DropDBObject(const QString& alias, const QString& name, int objectType);
// Deletes the form's local resource section in every language.
void DeleteResources(const QString& alias, const QString& formName);
// Deletes the structure with, as asked, its database object and (forms) its
// local resources.
void DeleteStructure(const QString& alias, const QString& name, int objectType, bool dropObject,
                     bool deleteResources);

// The source structure's description; raises EDSPError when it is missing.
TDSPListItem SourceProperties(TDSPTable& source, const QString& name, int objectType);
// Stores the body and the description under the target name and type,
// replacing a structure that is there.
void StoreStructure(TDSPTable& target, const QString& name, int objectType,
                    const TDSPListItem& properties, const QByteArray& body);

}  // namespace DSPOps
