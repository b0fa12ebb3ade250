#pragma once

#include <QList>
#include <QStringList>

#include "appcore/dsptree.h"

// A wizard scenario (type 30): its pages in the order the wizard shows them,
// each naming the visual form it shows. Body:
//   root (the scenario's name), "Pages": one node per page, in order,
//   properties "Caption" and "Form"
struct TWizardPage {
    QString Name;
    QString Caption;
    QString Form;
};

// Raises EDSPError naming the scenario when the tree is not a scenario body.
QList<TWizardPage> WizardPagesFromNode(const TDSPNode& root, const QString& name);
// Unnamed or repeated pages, and pages whose form is not among `forms`.
QStringList WizardPageProblems(const QList<TWizardPage>& pages, const QStringList& forms);
TDSPNode WizardPagesToNode(const QList<TWizardPage>& pages, const QString& name,
                           const QStringList& forms);
