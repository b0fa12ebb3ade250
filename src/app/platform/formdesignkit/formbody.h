#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <vector>

#include "appcore/dsptree.h"

// One component of a visual form as the designer edits it. Bounds are relative
// to the client area of the component's container (the form or a panel).
struct TFormComponent {
    QString Name;
    QString ClassName;  // "TForm" for the form itself
    QString Caption;
    QRect Bounds;
    QString Field;              // the bound field of the form's table
    QString Parent;             // the container's name; empty for the form itself
    QList<TDSPProperty> Extra;  // further properties of the body, kept as they came
    bool Inherited = false;     // comes from an ancestor form: shown, never edited
    QString Origin;             // the form the component was declared in
};

// The component classes the designer places, in the order its palette offers them.
const QStringList& FormComponentClasses();
// Whether components of the class hold other components.
bool IsContainerClass(const QString& className);
// The size a new component of the class gets.
QSize DefaultComponentSize(const QString& className);

// A form body:
//   root (the structure's name), property "TableName"
//     one top node: the form (named after the root ancestor form), with
//       "Class" "TForm", "Caption", "Left", "Top", "Width", "Height"
//       one node per component declared in this form, in creation order:
//       "Class", "Caption", "Left", "Top", "Width", "Height", "Field",
//       "Parent" (the container; absent for the form) and any further property.
// A derived form's body holds only its own components and its form settings.
struct TFormBody {
    QString TableName;
    TFormComponent Form;
    std::vector<TFormComponent> Components;
};

// Raises EDSPError naming the form when the tree is not a form body. An empty
// tree (a new form) gives a form named `formName` with nothing on it.
TFormBody FormBodyFromNode(const TDSPNode& root, const QString& formName);
TDSPNode FormBodyToNode(const TFormBody& body, const QString& formName);
