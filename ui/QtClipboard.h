#pragma once

#include "jobs/QuickConvert.h"

namespace varnex::ui {

// The system clipboard's plain text, bridged through Windows-1252, or as UTF-8.
class QtClipboard : public CodeClipboard {
public:
    std::string ReadCodes() override;
    void Replace(std::string_view codes) override;
    std::string ReadUtf8() override;
    void ReplaceUtf8(std::string_view text) override;
};

}  // namespace varnex::ui
