#pragma once

#include <QList>
#include <QStringList>

#include "appcore/dsptree.h"

// A document status scheme operation (types 81 to 83): named operations, each
// a sequence of steps. Body:
//   root (the scheme's name), property "SchemeType" (0 simple, 1 table, 2 documentary, 3 statuses)
//     "Operations": one node per operation, property "Caption",
//       one node per step, in order, properties "Action" and "Parameter"
struct TSchemeStep {
    QString Name;
    QString Action;
    QString Parameter;
};
struct TSchemeOperation {
    QString Name;
    QString Caption;
    QList<TSchemeStep> Steps;
};
struct TOperationScheme {
    int SchemeType = 0;
    QList<TSchemeOperation> Operations;
};

// The actions a step may take.
const QStringList& SchemeStepActions();
// Raises EDSPError naming the scheme when the tree is not a scheme body.
TOperationScheme OperationSchemeFromNode(const TDSPNode& root, const QString& name);
// What keeps the scheme from being saved; empty when it may be.
QStringList OperationSchemeProblems(const TOperationScheme& scheme);
// Raises EDSPError listing the problems when there are any.
TDSPNode OperationSchemeToNode(const TOperationScheme& scheme, const QString& name);

// The status lists (type 84, "DocStatuses" and "MailStatuses"): the statuses
// a document or a mail passes through and the transitions allowed. Body:
//   root, "Statuses": one node per status code, "Caption", "Initial", "Final";
//   "Transitions": one node per transition, "From", "To", "Caption"
struct TDocStatus {
    QString Code;
    QString Caption;
    bool Initial = false;
    bool Final = false;
};
struct TStatusTransition {
    QString From;
    QString To;
    QString Caption;
};
struct TStatusList {
    QList<TDocStatus> Statuses;
    QList<TStatusTransition> Transitions;
};

TStatusList StatusListFromNode(const TDSPNode& root, const QString& name);
QStringList StatusListProblems(const TStatusList& list);
TDSPNode StatusListToNode(const TStatusList& list, const QString& name);
