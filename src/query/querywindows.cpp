#include "querywindows.h"

#include <QPointer>

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

TQueryBlobTableHook& BlobTableHook() {
    static TQueryBlobTableHook hook;
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
    BlobTableHook() = std::move(hook);
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
