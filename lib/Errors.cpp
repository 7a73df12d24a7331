#include "Guarded.h"

namespace varnex::lib {

namespace {

thread_local std::string lastError;

}  // namespace

void SetError(const std::string& message) { lastError = message; }
const char* LastError() { return lastError.c_str(); }

}  // namespace varnex::lib

extern "C" const char* varnex_error_message(void) { return varnex::lib::LastError(); }
extern "C" const char* varnex_version(void) { return VARNEX_VERSION; }
