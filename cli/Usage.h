#pragma once

#include <string>

namespace varnex::cli {

std::string HelpText();
std::string VersionText();

}  // namespace varnex::cli
