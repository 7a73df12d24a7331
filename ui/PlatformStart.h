#pragma once

namespace varnex::ui {

// What has to be settled before the application object exists. Returns false, after one
// line on standard error, when there is no display to show a window on.
bool PrepareGuiStart(const char* program);

}  // namespace varnex::ui
