#include "formdocument.h"

#include <QSet>

#include "checkname.h"

namespace {

constexpr size_t kUndoDepth = 100;

QString Key(const QString& name) {
    return name.toLower();
}

const TFormComponent* FindIn(const std::vector<TFormComponent>& items, const QString& name) {
    for (const TFormComponent& c : items)
        if (c.Name.compare(name, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

// The container's client area in its own coordinates.
QRect ClientOf(const TFormComponent& container) {
    return QRect(QPoint(0, 0), container.Bounds.size());
}

}  // namespace

TFormDocument::TFormDocument(QObject* parent) : QObject(parent) {
    Clear();
}

void TFormDocument::Clear() {
    FItems.clear();
    TFormComponent form;
    form.ClassName = QStringLiteral("TForm");
    form.Name = FFormName;
    form.Bounds = QRect(0, 0, 400, 300);
    FItems.push_back(form);
    FTableName.clear();
    FSelected = form.Name;
    FUndo.clear();
    FModified = false;
    Reindex();
    emit Reset();
}

void TFormDocument::LoadChain(const std::vector<TChainBody>& chain) {
    std::vector<TFormComponent> items;
    QString table;
    TFormComponent form;
    for (size_t i = 0; i < chain.size(); ++i) {
        const TChainBody& link = chain[i];
        const bool own = i + 1 == chain.size();
        TFormBody body;
        try {
            body = FormBodyFromNode(link.Bytes.isEmpty()
                                        ? TDSPNode(link.FormName)
                                        : TDSPNode::FromBytes(link.Bytes, link.FormName),
                                    link.FormName);
        } catch (const EPelvarError&) {
            FFormName = chain.back().FormName;
            Clear();
            throw;
        }
        // The form keeps the name of its root ancestor; later links refine its settings.
        const QString formName = i == 0 ? body.Form.Name : form.Name;
        const bool fresh = link.Bytes.isEmpty();
        if (i == 0 || !fresh) form = body.Form;
        form.Name = formName;
        if (!body.TableName.isEmpty()) table = body.TableName;
        for (TFormComponent& c : body.Components) {
            c.Inherited = !own;
            c.Origin = link.FormName;
            items.push_back(std::move(c));
        }
    }
    form.Origin = chain.empty() ? QString() : chain.front().FormName;
    FFormName = chain.empty() ? QString() : chain.back().FormName;
    items.insert(items.begin(), form);
    FItems = std::move(items);
    FTableName = table;
    FSelected = FItems.front().Name;
    FUndo.clear();
    FModified = false;
    Reindex();
    emit Reset();
}

void TFormDocument::SetFormName(const QString& name) {
    // A form without ancestors names its top node after itself.
    if (FItems.front().Origin == FFormName || FItems.front().Origin.isEmpty()) {
        if (FSelected == FItems.front().Name) FSelected = name;
        FItems.front().Name = name;
        FItems.front().Origin = name;
        Reindex();
    }
    FFormName = name;
    FModified = true;
}

void TFormDocument::SetTableName(const QString& table) {
    if (table == FTableName) return;
    FTableName = table;
    FModified = true;
}

void TFormDocument::Reindex() {
    FIndex.clear();
    for (int i = 0; i < Count(); ++i)
        FIndex.insert(Key(FItems[size_t(i)].Name), i);
}

int TFormDocument::IndexOf(const QString& name) const {
    return FIndex.value(Key(name), -1);
}

const TFormComponent* TFormDocument::Find(const QString& name) const {
    const int i = IndexOf(name);
    return i < 0 ? nullptr : &FItems[size_t(i)];
}

void TFormDocument::Select(const QString& name) {
    const TFormComponent* c = Find(name);
    const QString selected = c ? c->Name : QString();
    if (selected == FSelected) return;
    FSelected = selected;
    emit SelectionChanged(FSelected);
}

TFormComponent& TFormDocument::Editable(const QString& name) {
    const int i = IndexOf(name);
    if (i < 0) throw EDSPError(QStringLiteral("There is no component %1 on the form.").arg(name));
    TFormComponent& c = FItems[size_t(i)];
    if (c.Inherited)
        throw EDSPError(QStringLiteral("%1 is inherited from the form %2: change it there.")
                            .arg(c.Name, c.Origin));
    return c;
}

void TFormDocument::CheckFits(const TFormComponent& c, const std::vector<TFormComponent>& items,
                              bool contents) const {
    if (c.Bounds.width() <= 0 || c.Bounds.height() <= 0)
        throw EDSPError(QStringLiteral("%1 needs a width and a height above 0.").arg(c.Name));
    if (!c.Parent.isEmpty() || &c != &items.front()) {
        const TFormComponent* container =
            c.Parent.isEmpty() ? &items.front() : FindIn(items, c.Parent);
        if (container && !ClientOf(*container).contains(c.Bounds))
            throw EDSPError(QStringLiteral("%1 would lie outside %2 (%3 x %4).")
                                .arg(c.Name, container->Name)
                                .arg(container->Bounds.width())
                                .arg(container->Bounds.height()));
    }
    // A container that shrinks must still hold what is inside it.
    if (!contents || !IsContainerClass(c.ClassName)) return;
    const bool isForm = &c == &items.front();
    for (const TFormComponent& child : items) {
        if (&child == &c) continue;
        const bool inside = isForm ? child.Parent.isEmpty()
                                   : child.Parent.compare(c.Name, Qt::CaseInsensitive) == 0;
        if (inside && !ClientOf(c).contains(child.Bounds))
            throw EDSPError(
                QStringLiteral("%1 would leave %2 outside it.").arg(c.Name, child.Name));
    }
}

void TFormDocument::Remember() {
    FUndo.push_back({FItems, FTableName});
    if (FUndo.size() > kUndoDepth) FUndo.erase(FUndo.begin());
    FModified = true;
}

void TFormDocument::Undo() {
    if (FUndo.empty()) return;
    FItems = std::move(FUndo.back().Items);
    FTableName = FUndo.back().TableName;
    FUndo.pop_back();
    FModified = true;
    Reindex();
    if (IndexOf(FSelected) < 0) FSelected = FItems.front().Name;
    emit Reset();
}

QString TFormDocument::UniqueName(const QString& className) const {
    const QString stem = className.startsWith(QLatin1Char('T')) ? className.mid(1) : className;
    for (int n = 1;; ++n) {
        const QString name = stem + QString::number(n);
        if (IndexOf(name) < 0) return name;
    }
}

QString TFormDocument::AddComponent(const QString& className, const QString& container) {
    const TFormComponent* host = container.isEmpty() ? &Form() : Find(container);
    if (!host || !IsContainerClass(host->ClassName))
        throw EDSPError(QStringLiteral("%1 cannot hold components.").arg(container));
    TFormComponent c;
    c.ClassName = className;
    c.Name = UniqueName(className);
    c.Caption = c.Name;
    c.Parent = host == &Form() ? QString() : host->Name;
    c.Origin = FFormName;
    // Placed near the top left, cut to the container when it is small.
    const QSize size = DefaultComponentSize(className);
    const QRect client = ClientOf(*host);
    // Below a group box's title.
    const int top = host->ClassName == QLatin1String("TGroupBox") ? 20 : 8;
    c.Bounds = QRect(QPoint(qMin(8, client.width() - 1), qMin(top, client.height() - 1)), size)
                   .intersected(client);
    Remember();
    FItems.push_back(c);
    Reindex();
    FSelected = c.Name;
    emit Reset();
    return c.Name;
}

void TFormDocument::DeleteComponent(const QString& name) {
    const TFormComponent& target = Editable(name);
    if (&target == &Form()) throw EDSPError(QStringLiteral("The form itself cannot be deleted."));
    // The component and everything inside it, however deep.
    QSet<QString> gone{Key(target.Name)};
    for (bool grew = true; grew;) {
        grew = false;
        for (const TFormComponent& c : FItems)
            if (!c.Parent.isEmpty() && gone.contains(Key(c.Parent)) &&
                !gone.contains(Key(c.Name))) {
                if (c.Inherited)
                    throw EDSPError(QStringLiteral("%1 holds %2, which is inherited from %3.")
                                        .arg(target.Name, c.Name, c.Origin));
                gone.insert(Key(c.Name));
                grew = true;
            }
    }
    Remember();
    std::erase_if(FItems, [&](const TFormComponent& c) { return gone.contains(Key(c.Name)); });
    Reindex();
    if (IndexOf(FSelected) < 0) FSelected = FItems.front().Name;
    emit Reset();
}

void TFormDocument::SetBounds(const QString& name, const QRect& bounds) {
    TFormComponent& c = Editable(name);
    if (c.Bounds == bounds) return;
    std::vector<TFormComponent> trial = FItems;
    trial[size_t(IndexOf(name))].Bounds = bounds;
    CheckFits(trial[size_t(IndexOf(name))], trial);
    Remember();
    c.Bounds = bounds;
    emit ComponentChanged(c.Name);
}
