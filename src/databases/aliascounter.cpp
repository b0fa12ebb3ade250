#include "aliascounter.h"

TAliasCounter& AliasCounter() {
    static TAliasCounter counter;
    return counter;
}

TAliasNotifier::~TAliasNotifier() {
    AliasCounter().RemoveNotifier(this);
}

int TAliasCounter::IndexOf(const QString& name) const {
    for (int i = 0; i < FEntries.size(); ++i)
        if (FEntries[i].Name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void TAliasCounter::AddDatabase(const QString& name) {
    const QString upper = name.toUpper();
    const int i = IndexOf(upper);
    if (i >= 0) {
        ++FEntries[i].Count;
        return;
    }
    FEntries.append(TEntry{upper, 1});
    Notify(upper);
}

void TAliasCounter::RemoveDatabase(const QString& name) {
    const int i = IndexOf(name);
    if (i < 0) return;
    if (FEntries[i].Count != 1) {
        --FEntries[i].Count;
        return;
    }
    FEntries.removeAt(i);
    Notify(name);
}

int TAliasCounter::GetUsed(const QString& name) const {
    const int i = IndexOf(name);
    return i < 0 ? 0 : FEntries[i].Count;
}

void TAliasCounter::AddNotifier(TAliasNotifier* notifier) {
    if (notifier && !FNotifiers.contains(notifier)) FNotifiers.append(notifier);
}

void TAliasCounter::RemoveNotifier(TAliasNotifier* notifier) {
    FNotifiers.removeAll(notifier);
}

QStringList TAliasCounter::Databases() const {
    QStringList list;
    for (const auto& e : FEntries)
        list << e.Name;
    return list;
}

void TAliasCounter::Notify(const QString& name) {
    // A handler may destroy alias nodes (and so their notifiers) on the way.
    const QList<TAliasNotifier*> snapshot = FNotifiers;
    for (TAliasNotifier* n : snapshot)
        if (FNotifiers.contains(n) && n->Handler()) n->Handler()(name);
}
