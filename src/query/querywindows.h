#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

class QWidget;
class TQueryForm;

// The open query windows of the process and what they reach outside their
// own subsystem through hooks registered by the caller that opens them.

// The open query windows, in opening order.
QList<TQueryForm*> OpenQueryForms();
// Closes every query window of the database, as disconnecting it does. A
// window with an open transaction asks first; false when one stayed open.
bool CloseQueryFormsOf(const QString& alias);

// Asks for a column search: `text` and `direction` (0 down from the focused
// row, 1 up from it, 2 from the first row) come in as the last ones and go
// out as chosen; false when the user cancelled.
using TQueryFindDialogHook =
    std::function<bool(QWidget* parent, const QString& caption, QString& text, int& direction)>;
void SetQueryFindDialogHook(TQueryFindDialogHook hook);
const TQueryFindDialogHook& QueryFindDialogHook();

// Shows `bytes` modally and read-only in the BLOB table form of the table
// structure `tableName` of the database `alias`; raises on failure. The
// default reads the structure and opens the form; an empty hook restores it.
using TQueryBlobTableHook = std::function<void(QWidget* parent, const QString& alias,
                                               const QString& tableName, const QByteArray& bytes)>;
void SetQueryBlobTableHook(TQueryBlobTableHook hook);
const TQueryBlobTableHook& QueryBlobTableHook();

// For TQueryForm itself.
void AddOpenQueryForm(TQueryForm* form);
void RemoveOpenQueryForm(TQueryForm* form);
