#pragma once

#include "Failure.h"

namespace varnex {

// A batch that cannot be carried out as asked, whatever the files hold: two inputs named as
// one output, a document sent to standard output. A command line calls it a usage error.
class RequestFault : public Failure {
public:
    explicit RequestFault(const std::string& description) : Failure(kPathAccessError, description) {}
};

}  // namespace varnex
