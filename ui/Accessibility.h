#pragma once

namespace varnex::ui {

// Lets assistive technology read the window's own parts (the main window, its hot spots and
// its font lists) through Qt's accessibility interfaces. Needs the application object; the
// first call installs, later calls do nothing.
void InstallAccessibility();

}  // namespace varnex::ui
