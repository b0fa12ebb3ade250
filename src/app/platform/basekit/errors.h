#pragma once

#include <QString>
#include <QStringList>
#include <exception>

// Base of every error the program raises. Carries a user-readable message and,
// when stack tracing is switched on, the call stack captured where it was raised.
class EPelvarError : public std::exception {
  public:
    explicit EPelvarError(QString message);
    ~EPelvarError() override = default;

    const QString& Message() const { return FMessage; }
    const QStringList& StackTrace() const { return FStack; }
    const char* what() const noexcept override { return FUtf8.constData(); }
    virtual QString ClassName() const { return QStringLiteral("EPelvarError"); }

  private:
    QString FMessage;
    QByteArray FUtf8;
    QStringList FStack;
};

#define PELVAR_DECLARE_ERROR(Name, Base)                                     \
    class Name : public Base {                                               \
      public:                                                                \
        using Base::Base;                                                    \
        QString ClassName() const override { return QStringLiteral(#Name); } \
    }

PELVAR_DECLARE_ERROR(ERegistryError, EPelvarError);
PELVAR_DECLARE_ERROR(ENotSupportedError, EPelvarError);
// An operation stopped because the user asked it to.
PELVAR_DECLARE_ERROR(EAbortError, EPelvarError);

// Class name and message of any exception, for messages such as
// "Error on finalization of FindLresForm; %s:%s".
QString ExceptionClassName(const std::exception& e);
QString ExceptionMessage(const std::exception& e);
