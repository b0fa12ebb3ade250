#pragma once

#include <QString>
#include <functional>

#include "basekit/errors.h"

// The message of the E that `action` raises, or "<no error>". Other exceptions
// pass through and fail the test.
template <typename E = EPelvarError>
QString ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const E& e) {
        return e.Message();
    }
    return QStringLiteral("<no error>");
}
