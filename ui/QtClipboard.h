#pragma once

#include "jobs/QuickConvert.h"

namespace varnex::ui {

// The system clipboard's plain text, bridged through Windows-1252.
class QtClipboard : public CodeClipboard {
public:
    std::string ReadCodes() override;
    void Replace(std::string_view codes) override;
};

}  // namespace varnex::ui
