#include "formstore.h"

#include <QSet>

#include "appcore/dsptable.h"
#include "appcore/platform.h"

namespace {

constexpr int kForm = 12;

QStringList Hierarchy(TDSPTable& store, const QString& name) {
    QStringList chain;
    store.FillHierarchy(name, kForm, chain);
    return chain;
}

// The component names a form declares itself.
QStringList OwnComponents(TDSPTable& store, const QString& form) {
    QStringList names;
    const QByteArray bytes = store.GetStructure(form, kForm);
    if (bytes.isEmpty()) return names;
    const TFormBody body = FormBodyFromNode(TDSPNode::FromBytes(bytes, form), form);
    for (const TFormComponent& c : body.Components)
        names << c.Name;
    return names;
}

}  // namespace

QStringList FormChain(const QString& alias, const QString& name) {
    TDSPTable& store = GetDSPTable(alias);
    if (!store.DSPStructureExist(name, kForm)) return {name};
    QStringList chain = Hierarchy(store, name);
    const qsizetype dollar = name.indexOf(QLatin1Char('$'));
    if (chain.size() == 1 && dollar > 0) {
        const QString base = name.left(dollar);
        if (store.DSPStructureExist(base, kForm)) chain = Hierarchy(store, base) << name;
    }
    return chain;
}

std::vector<TFormDocument::TChainBody> ReadFormChain(const QString& alias, const QString& name) {
    TDSPTable& store = GetDSPTable(alias);
    std::vector<TFormDocument::TChainBody> bodies;
    for (const QString& form : FormChain(alias, name))
        bodies.push_back({form, store.DSPStructureExist(form, kForm)
                                    ? store.GetStructure(form, kForm)
                                    : QByteArray()});
    return bodies;
}

void LoadFormDocument(TFormDocument& document, const QString& alias, const QString& name) {
    document.LoadChain(ReadFormChain(alias, name));
}

bool AncestorChangeConflicts(const QString& alias, const QString& name, const QString& oldParent,
                             const QString& newParent, QString* report) {
    Q_UNUSED(oldParent);  // what the form leaves behind cannot clash
    TDSPTable& store = GetDSPTable(alias);
    QStringList found;
    auto done = [&](bool conflict) {
        if (report) *report = found.join(QLatin1Char(';'));
        return conflict;
    };
    if (newParent.isEmpty()) return done(false);
    if (newParent.compare(name, Qt::CaseInsensitive) == 0) {
        found << name + QLatin1Char(':') + name;
        return done(true);
    }
    if (!store.DSPStructureExist(newParent, kForm)) {
        found << newParent + QLatin1Char(':');
        return done(true);
    }
    QStringList newChain;
    try {
        newChain = Hierarchy(store, newParent);
    } catch (const EPelvarError&) {
        found << newParent + QLatin1Char(':');
        return done(true);  // the new parent's own chain already loops
    }
    for (const QString& form : newChain)
        if (form.compare(name, Qt::CaseInsensitive) == 0) {
            found << newChain.join(QLatin1Char(':'));
            return done(true);  // the form would become its own ancestor
        }
    // What the new ancestors declare, against what the form and the forms
    // derived from it declare (all forms of the database are consulted).
    QHash<QString, QString> inherited;  // component -> form
    for (const QString& form : newChain)
        for (const QString& c : OwnComponents(store, form))
            inherited.insert(c.toLower(), form);
    QStringList below{name};
    TDSPList all;
    store.FillStructuresList(kForm, all);
    for (int grown = 1; grown;) {
        grown = 0;
        for (int i = 0; i < all.Count(); ++i) {
            const TDSPListItem& f = all.Items(i);
            if (!below.contains(f.Name, Qt::CaseInsensitive) &&
                below.contains(f.ParentName, Qt::CaseInsensitive)) {
                below << f.Name;
                ++grown;
            }
        }
    }
    for (const QString& form : below)
        for (const QString& c : OwnComponents(store, form))
            if (inherited.contains(c.toLower()))
                found << inherited.value(c.toLower()) + QLatin1Char(':') + c
                      << form + QLatin1Char(':') + c;
    return done(!found.isEmpty());
}
