#include "errors.h"

#include <typeinfo>

#include "stacktrace.h"

EPelvarError::EPelvarError(QString message)
    : FMessage(std::move(message)), FUtf8(FMessage.toUtf8()), FStack(CaptureStackIfEnabled(1)) {}

QString ExceptionClassName(const std::exception& e) {
    if (auto* p = dynamic_cast<const EPelvarError*>(&e)) return p->ClassName();
    return QString::fromLatin1(typeid(e).name());
}

QString ExceptionMessage(const std::exception& e) {
    if (auto* p = dynamic_cast<const EPelvarError*>(&e)) return p->Message();
    return QString::fromUtf8(e.what());
}
