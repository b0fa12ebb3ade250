#pragma once

#include <QString>

// What the generator editor does without a window: the start value and the
// increment of one generator structure, read from its body, checked and
// written back with the rest of the body kept.
class TGeneratorRules {
  public:
    // The name as the store keeps it.
    void Init(const QString& name, const QString& alias);
    const QString& Name() const { return FName; }

    // The stored values as the editor shows them (0 and 1 for a new structure).
    QString StartValue() const { return FStartValue; }
    QString Increment() const { return FIncrement; }
    void Load();
    // The fault of the entered values, empty when they make a generator.
    static QString Check(const QString& startValue, const QString& increment);
    // Checks (raising EDSPError with the fault) and writes the body.
    void Save(const QString& startValue, const QString& increment);

  private:
    QString FName;
    QString FAlias;
    QString FStartValue;
    QString FIncrement;
};
