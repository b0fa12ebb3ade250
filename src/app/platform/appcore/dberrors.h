#pragma once

#include <QString>

#include "basekit/errors.h"

// A database error: the driver's message, its SQLSTATE, and what we were doing.
class EDatabaseError : public EPelvarError {
  public:
    EDatabaseError(const QString& message, QString sqlState = QString())
        : EPelvarError(message), FSqlState(std::move(sqlState)) {}
    QString ClassName() const override { return QStringLiteral("EDatabaseError"); }
    const QString& SqlState() const { return FSqlState; }

  private:
    QString FSqlState;
};
