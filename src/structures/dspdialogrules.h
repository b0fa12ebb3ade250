#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Rules of the structure properties dialog (name, type, parent, remark) that
// need no window, and the typed prompt through which callers show it.

// The entries of the type field: the localised list, one entry a line, each the
// decimal type code, a blank and a description.
QStringList ObjectTypeEntries();
// The type a text of the type field stands for: the text up to its first blank
// read as a decimal number; -1 when that is not a number.
int ObjectTypeOfText(const QString& text);
// The first entry that begins with the decimal type and a blank; -1 for none.
int FindObjectTypeEntry(const QStringList& entries, int objectType);

// What the parent field offers and whether it may be used.
struct TParentList {
    QStringList Names;  // in store order; the field sorts them
    bool Enabled = true;
    bool ClearText = false;
};
// The parent list for a structure of `objectType` called `name` in the
// structure store of `alias`: the names of the structures of that type or, for
// derived structures (`tableNames`), their table names, without empty and
// repeated entries; never the structure's own name. A name with "$" (a derived
// structure) takes no parent, nor does a dialog whose parent is not enabled.
// Store errors pass to the caller.
TParentList FillParentList(const QString& alias, int objectType, const QString& name,
                           bool parentEnabled, bool tableNames);

// What the dialog edits. Filled by the caller, returned with the user's values.
struct TDSPPropertiesRequest {
    QString DatabaseName;  // the alias whose structure store lists the parents
    int ObjectType = 0;    // 0: none preset, the user chooses
    bool ObjectTypeEnabled = true;
    QString Name;
    QString ParentName;
    QString Remark;
    bool ParentEnabled = true;  // false: no parent, and "$" cannot be typed in the name
    // The variant for derived structures: table names as parents, and names
    // that are dotted identifiers, optionally followed by "$" and an identifier.
    bool InheritSelect = false;
    // The variant for visual forms: the form's table is chosen too, from the
    // tables derived from the base form's table.
    bool FormVariant = false;
    QString TableName;
    bool TableNameEnabled = true;
};

// Which field refuses the OK button.
enum class TDSPPropertiesFault { None, ObjectType, Name };

// The OK check of every structure: a type must be chosen, then a name given.
TDSPPropertiesFault CheckDSPProperties(int objectType, const QString& name);
// A dotted name: identifiers (CheckName) joined by ".".
bool IsDottedName(const QString& name);
// The name check of the derived-structure variant, made before the general
// one: a dotted name, or (with a parent allowed) a dotted name, "$" and one
// identifier. The empty name passes here; the general check refuses it.
bool IsInheritName(const QString& name, bool parentEnabled);

// Shows the dialog and, on OK, puts the user's values into the request.
using TDSPPropertiesPrompt = std::function<bool(TDSPPropertiesRequest& request)>;
void SetDSPPropertiesPrompt(TDSPPropertiesPrompt prompt);
// True when the user pressed OK; false (and the request unchanged) on Cancel or
// when no dialog is installed.
bool EditDSPProperties(TDSPPropertiesRequest& request);
