#pragma once

#include <exception>
#include <string>

#include "varnex.h"

namespace varnex::lib {

// The last failure of this thread, as varnex_error_message() gives it.
void SetError(const std::string& message);
const char* LastError();

// Runs `body`, which returns a status; a C++ exception becomes VARNEX_ERROR with its message,
// so that none crosses into a C caller.
template <class Body>
varnex_status Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::exception& failure) {
        SetError(failure.what());
    } catch (...) {
        SetError("an unknown failure");
    }
    return VARNEX_ERROR;
}

// For calls that return a value rather than a status: `fallback` on a failure.
template <class Value, class Body>
Value GuardedValue(Value fallback, Body&& body) noexcept {
    try {
        return body();
    } catch (const std::exception& failure) {
        SetError(failure.what());
    } catch (...) {
        SetError("an unknown failure");
    }
    return fallback;
}

}  // namespace varnex::lib
