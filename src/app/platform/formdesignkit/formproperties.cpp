// The property editor's writes and the checks made before a form is saved.
#include <QSet>

#include "checkname.h"
#include "formdocument.h"

namespace {

int ToInteger(const QString& property, const QString& value) {
    bool ok = false;
    const int n = value.trimmed().toInt(&ok);
    if (!ok)
        throw EDSPError(
            QStringLiteral("%1 takes a whole number, not \"%2\".").arg(property, value));
    return n;
}

}  // namespace

void TFormDocument::SetProperty(const QString& name, const QString& property,
                                const QString& value) {
    TFormComponent& c = Editable(name);
    const bool isForm = &c == &Form();
    const QString p = property.toLower();
    if (p == QLatin1String("tablename")) {
        if (!isForm) throw EDSPError(QStringLiteral("Only the form is bound to a table."));
        if (value == FTableName) return;
        Remember();
        FTableName = value;
        emit ComponentChanged(c.Name);
        return;
    }
    if (p == QLatin1String("left") || p == QLatin1String("top") || p == QLatin1String("width") ||
        p == QLatin1String("height")) {
        const int n = ToInteger(property, value);
        QRect r = c.Bounds;
        if (p == QLatin1String("left")) r.moveLeft(n);
        if (p == QLatin1String("top")) r.moveTop(n);
        if (p == QLatin1String("width")) r.setWidth(n);
        if (p == QLatin1String("height")) r.setHeight(n);
        SetBounds(c.Name, r);
        return;
    }
    if (p == QLatin1String("class"))
        throw EDSPError(
            QStringLiteral("The class of %1 is fixed: delete it and add another.").arg(c.Name));
    if (p == QLatin1String("name")) {
        if (value == c.Name) return;
        if (isForm)
            throw EDSPError(
                QStringLiteral("The form is named after its structure: rename the structure."));
        if (!CheckName(value))
            throw EDSPError(QStringLiteral("\"%1\" is not a component name: a letter or \"_\" "
                                           "first, then letters, digits or \"_\".")
                                .arg(value));
        if (const TFormComponent* other = Find(value); other && other != &c)
            throw EDSPError(
                QStringLiteral("The form already has a component %1.").arg(other->Name));
        Remember();
        const QString old = c.Name;
        for (TFormComponent& child : FItems)
            if (child.Parent.compare(old, Qt::CaseInsensitive) == 0) child.Parent = value;
        c.Name = value;
        if (FSelected == old) FSelected = value;
        Reindex();
        emit Reset();
        return;
    }
    if (p == QLatin1String("parent"))
        throw EDSPError(QStringLiteral("Move %1 into another container by deleting and adding it.")
                            .arg(c.Name));
    Remember();
    if (p == QLatin1String("caption")) {
        c.Caption = value;
    } else if (p == QLatin1String("field")) {
        c.Field = value;
    } else {
        bool found = false;
        for (TDSPProperty& extra : c.Extra)
            if (extra.Name.compare(property, Qt::CaseInsensitive) == 0) {
                extra.Value = value;
                found = true;
            }
        if (!found) c.Extra << TDSPProperty{property, value};
    }
    emit ComponentChanged(c.Name);
}

QStringList TFormDocument::Problems() const {
    QStringList problems;
    QSet<QString> seen;
    for (const TFormComponent& c : FItems) {
        const QString key = c.Name.toLower();
        if (seen.contains(key))
            problems << QStringLiteral("Two components are named %1.").arg(c.Name);
        seen.insert(key);
        if (&c != &FItems.front() && !CheckName(c.Name))
            problems << QStringLiteral("\"%1\" is not a component name.").arg(c.Name);
        if (c.Inherited) continue;
        try {
            CheckFits(c, FItems, false);  // each component reports itself
        } catch (const EPelvarError& e) {
            problems << e.Message();
        }
        if (!c.Parent.isEmpty()) {
            const TFormComponent* host = Find(c.Parent);
            if (!host || !IsContainerClass(host->ClassName))
                problems << QStringLiteral("%1 names %2 as its container, which holds nothing.")
                                .arg(c.Name, c.Parent);
        }
    }
    problems.removeDuplicates();
    return problems;
}

QByteArray TFormDocument::OwnBody() const {
    const QStringList problems = Problems();
    if (!problems.isEmpty())
        throw EDSPError(
            QStringLiteral("The form %1 is not saved:\n%2").arg(FFormName, problems.join('\n')));
    TFormBody body;
    body.TableName = FTableName;
    body.Form = FItems.front();
    for (size_t i = 1; i < FItems.size(); ++i)
        if (!FItems[i].Inherited) body.Components.push_back(FItems[i]);
    return FormBodyToNode(body, FFormName).ToBytes();
}
