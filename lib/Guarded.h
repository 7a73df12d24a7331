#pragma once

#include <exception>
#include <string>
#include <utility>

#include "varnex.h"

namespace varnex::lib {

// The last failure of this thread, as varnex_error_message() gives it.
void SetError(const std::string& message);
const char* LastError();

// Runs `body`; a C++ exception gives `fallback`, with its message kept for
// varnex_error_message(), so that none crosses into a C caller.
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

// For calls that return a status: VARNEX_ERROR on a failure.
template <class Body>
varnex_status Guarded(Body&& body) noexcept {
    return GuardedValue(VARNEX_ERROR, std::forward<Body>(body));
}

}  // namespace varnex::lib
