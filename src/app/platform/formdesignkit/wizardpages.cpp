#include "wizardpages.h"

#include "designkit/bodyrules.h"

QList<TWizardPage> WizardPagesFromNode(const TDSPNode& root, const QString& name) {
    QList<TWizardPage> pages;
    const TDSPNode* list = root.FindNode(QStringLiteral("Pages"));
    if (!list) return pages;
    for (int i = 0; i < list->NodeCount(); ++i) {
        const TDSPNode& p = list->Node(i);
        if (p.NodeCount() > 0)
            throw EDSPError(QStringLiteral("The scenario %1: page %2 holds nodes; pages hold only "
                                           "\"Caption\" and \"Form\".")
                                .arg(name, p.Name()));
        pages << TWizardPage{p.Name(), p.Property(QStringLiteral("Caption")).toString(),
                             p.Property(QStringLiteral("Form")).toString()};
    }
    return pages;
}

QStringList WizardPageProblems(const QList<TWizardPage>& pages, const QStringList& forms) {
    QStringList problems, names;
    for (const TWizardPage& p : pages) {
        names << p.Name;
        if (!p.Form.isEmpty() && !forms.contains(p.Form, Qt::CaseInsensitive))
            problems << QStringLiteral("Page %1 shows the form %2, which does not exist.")
                            .arg(p.Name, p.Form);
    }
    CheckRecordNames(names, QStringLiteral("page"), problems);
    return problems;
}

TDSPNode WizardPagesToNode(const QList<TWizardPage>& pages, const QString& name,
                           const QStringList& forms) {
    RaiseProblems(QStringLiteral("The scenario %1").arg(name), WizardPageProblems(pages, forms));
    TDSPNode root(name);
    TDSPNode& list = root.AddNode(QStringLiteral("Pages"));
    for (const TWizardPage& p : pages) {
        TDSPNode& node = list.AddNode(p.Name);
        node.SetProperty(QStringLiteral("Caption"), p.Caption);
        node.SetProperty(QStringLiteral("Form"), p.Form);
    }
    return root;
}
