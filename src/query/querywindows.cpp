#include "querywindows.h"

#include <QPointer>

#include "basekit/errors.h"
#include "gridkit/blobtable.h"
#include "gridkit/blobtableform.h"
#include "queryform.h"

namespace {

QList<TQueryForm*>& Forms() {
    static QList<TQueryForm*> forms;
    return forms;
}

TQueryFindDialogHook& FindHook() {
    static TQueryFindDialogHook hook;
    return hook;
}

void ShowBlobTable(QWidget* parent, const QString& alias, const QString& tableName,
                   const QByteArray& bytes) {
    TDicTableDescription description;
    if (!ReadTableStructure(alias, tableName, description))
        throw EPelvarError(
            QStringLiteral("Database %1 has no table structure %2").arg(alias, tableName));
    OpenBLOBTableEditor(tableName, description, bytes, true, {}, parent);
}

TQueryBlobTableHook& BlobTableHook() {
    static TQueryBlobTableHook hook = ShowBlobTable;
    return hook;
}

}  // namespace

QList<TQueryForm*> OpenQueryForms() {
    return Forms();
}

bool CloseQueryFormsOf(const QString& alias) {
    bool allClosed = true;
    for (TQueryForm* form : OpenQueryForms()) {
        if (form->AliasName().compare(alias, Qt::CaseInsensitive) != 0) continue;
        const QPointer<TQueryForm> guard(form);
        if (!form->close()) {
            allClosed = false;
            continue;
        }
        // Closed windows go now: the database they used is about to go.
        if (guard) delete guard.data();
    }
    return allClosed;
}

void SetQueryFindDialogHook(TQueryFindDialogHook hook) {
    FindHook() = std::move(hook);
}

const TQueryFindDialogHook& QueryFindDialogHook() {
    return FindHook();
}

void SetQueryBlobTableHook(TQueryBlobTableHook hook) {
    BlobTableHook() = hook ? std::move(hook) : TQueryBlobTableHook(ShowBlobTable);
}

const TQueryBlobTableHook& QueryBlobTableHook() {
    return BlobTableHook();
}

void AddOpenQueryForm(TQueryForm* form) {
    Forms().append(form);
}

void RemoveOpenQueryForm(TQueryForm* form) {
    Forms().removeAll(form);
}
