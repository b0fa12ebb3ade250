#include "operationscheme.h"

#include <QSet>

#include "designkit/bodyrules.h"

namespace {

const TDSPNode* Section(const TDSPNode& root, const char* name, const QString& what) {
    const TDSPNode* node = root.FindNode(QLatin1String(name));
    if (node && node->Properties().size() > 0)
        throw EDSPError(QStringLiteral("The body of %1: \"%2\" holds properties, not only nodes.")
                            .arg(what, QLatin1String(name)));
    return node;
}

QString Text(const TDSPNode& node, const char* property) {
    return node.Property(QLatin1String(property)).toString();
}

}  // namespace

const QStringList& SchemeStepActions() {
    static const QStringList actions = {QStringLiteral("SetStatus"), QStringLiteral("RunProcedure"),
                                        QStringLiteral("OpenForm"), QStringLiteral("SendMail"),
                                        QStringLiteral("Confirm")};
    return actions;
}

TOperationScheme OperationSchemeFromNode(const TDSPNode& root, const QString& name) {
    TOperationScheme scheme;
    bool ok = true;
    scheme.SchemeType = root.Property(QStringLiteral("SchemeType"), 0).toInt(&ok);
    if (!ok || scheme.SchemeType < 0 || scheme.SchemeType > 3)
        throw EDSPError(QStringLiteral("The scheme %1 has no scheme type from 0 to 3.").arg(name));
    if (const TDSPNode* operations = Section(root, "Operations", name))
        for (int i = 0; i < operations->NodeCount(); ++i) {
            const TDSPNode& o = operations->Node(i);
            TSchemeOperation operation{o.Name(), Text(o, "Caption"), {}};
            for (int j = 0; j < o.NodeCount(); ++j)
                operation.Steps << TSchemeStep{o.Node(j).Name(), Text(o.Node(j), "Action"),
                                               Text(o.Node(j), "Parameter")};
            scheme.Operations << operation;
        }
    return scheme;
}

QStringList OperationSchemeProblems(const TOperationScheme& scheme) {
    QStringList problems, names;
    for (const TSchemeOperation& o : scheme.Operations) {
        names << o.Name;
        QStringList steps;
        for (const TSchemeStep& s : o.Steps) {
            steps << s.Name;
            if (!SchemeStepActions().contains(s.Action))
                problems << QStringLiteral("Step %1 of %2 has no action.").arg(s.Name, o.Name);
        }
        CheckRecordNames(steps, QStringLiteral("step of %1").arg(o.Name), problems);
    }
    CheckRecordNames(names, QStringLiteral("operation"), problems);
    return problems;
}

TDSPNode OperationSchemeToNode(const TOperationScheme& scheme, const QString& name) {
    RaiseProblems(QStringLiteral("The scheme %1").arg(name), OperationSchemeProblems(scheme));
    TDSPNode root(name);
    root.SetProperty(QStringLiteral("SchemeType"), qlonglong(scheme.SchemeType));
    TDSPNode& operations = root.AddNode(QStringLiteral("Operations"));
    for (const TSchemeOperation& o : scheme.Operations) {
        TDSPNode& node = operations.AddNode(o.Name);
        node.SetProperty(QStringLiteral("Caption"), o.Caption);
        for (const TSchemeStep& s : o.Steps) {
            TDSPNode& step = node.AddNode(s.Name);
            step.SetProperty(QStringLiteral("Action"), s.Action);
            step.SetProperty(QStringLiteral("Parameter"), s.Parameter);
        }
    }
    return root;
}

TStatusList StatusListFromNode(const TDSPNode& root, const QString& name) {
    TStatusList list;
    if (const TDSPNode* statuses = Section(root, "Statuses", name))
        for (int i = 0; i < statuses->NodeCount(); ++i) {
            const TDSPNode& s = statuses->Node(i);
            list.Statuses << TDocStatus{s.Name(), Text(s, "Caption"),
                                        s.Property(QStringLiteral("Initial")).toBool(),
                                        s.Property(QStringLiteral("Final")).toBool()};
        }
    if (const TDSPNode* transitions = Section(root, "Transitions", name))
        for (int i = 0; i < transitions->NodeCount(); ++i) {
            const TDSPNode& t = transitions->Node(i);
            list.Transitions << TStatusTransition{Text(t, "From"), Text(t, "To"),
                                                  Text(t, "Caption")};
        }
    return list;
}

QStringList StatusListProblems(const TStatusList& list) {
    QStringList problems, codes;
    QSet<QString> known, finals;
    int initial = 0;
    for (const TDocStatus& s : list.Statuses) {
        codes << s.Code;
        known.insert(s.Code.toLower());
        if (s.Final) finals.insert(s.Code.toLower());
        initial += s.Initial;
    }
    CheckRecordNames(codes, QStringLiteral("status"), problems);
    if (!list.Statuses.isEmpty() && initial != 1)
        problems
            << QStringLiteral("Exactly one status must be the initial one (%1 are).").arg(initial);
    QSet<QString> pairs;
    for (const TStatusTransition& t : list.Transitions) {
        const QString pair = t.From.toLower() + QLatin1Char('>') + t.To.toLower();
        if (!known.contains(t.From.toLower()) || !known.contains(t.To.toLower()))
            problems << QStringLiteral("The transition %1 -> %2 names a status that is not listed.")
                            .arg(t.From, t.To);
        else if (finals.contains(t.From.toLower()))
            problems << QStringLiteral("The transition %1 -> %2 leaves a final status.")
                            .arg(t.From, t.To);
        else if (t.From.compare(t.To, Qt::CaseInsensitive) == 0)
            problems << QStringLiteral("The transition %1 -> %2 leads nowhere.").arg(t.From, t.To);
        else if (pairs.contains(pair))
            problems
                << QStringLiteral("The transition %1 -> %2 is listed twice.").arg(t.From, t.To);
        pairs.insert(pair);
    }
    return problems;
}

TDSPNode StatusListToNode(const TStatusList& list, const QString& name) {
    RaiseProblems(QStringLiteral("The statuses %1").arg(name), StatusListProblems(list));
    TDSPNode root(name);
    TDSPNode& statuses = root.AddNode(QStringLiteral("Statuses"));
    for (const TDocStatus& s : list.Statuses) {
        TDSPNode& node = statuses.AddNode(s.Code);
        node.SetProperty(QStringLiteral("Caption"), s.Caption);
        node.SetProperty(QStringLiteral("Initial"), s.Initial);
        node.SetProperty(QStringLiteral("Final"), s.Final);
    }
    TDSPNode& transitions = root.AddNode(QStringLiteral("Transitions"));
    for (int i = 0; i < list.Transitions.size(); ++i) {
        const TStatusTransition& t = list.Transitions[i];
        TDSPNode& node = transitions.AddNode(QStringLiteral("T%1").arg(i + 1));
        node.SetProperty(QStringLiteral("From"), t.From);
        node.SetProperty(QStringLiteral("To"), t.To);
        node.SetProperty(QStringLiteral("Caption"), t.Caption);
    }
    return root;
}
