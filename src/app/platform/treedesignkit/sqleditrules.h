#pragma once

#include <QString>

// What the view, stored procedure and pattern editors do without a window:
// the text of one structure (the SQL of a view or procedure, the text of a
// pattern) read from its body and written back into it, the rest of the
// body kept.
class TSqlStructureRules {
  public:
    // `objectType` 72, 73, 74 or 75; the name as the store keeps it.
    void Init(const QString& name, const QString& alias, int objectType);
    const QString& Name() const { return FName; }
    const QString& Alias() const { return FAlias; }
    int ObjectType() const { return FObjectType; }
    bool IsSql() const { return FObjectType != 75; }

    // The stored text; for a structure without one, a starting text.
    QString Load();
    // Writes the text into the structure's body (created when missing).
    void Save(const QString& text);

  private:
    QString FName;
    QString FAlias;
    int FObjectType = 0;
};
