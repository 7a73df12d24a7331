#include "ConvertCommand.h"

#include <ostream>

namespace varnex::cli {

int RunConvertCommand(const std::vector<std::string>&, const std::filesystem::path&, std::ostream&,
                      std::ostream& err) {
    err << "varnex: conversion: not available in this build\n";
    return 2;
}

}  // namespace varnex::cli
