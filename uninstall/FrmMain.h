#pragma once

#include <QWidget>

namespace varnex::uninstall {

// The launcher's window. It is never shown: the program ends in its loading step.
class FrmMain : public QWidget {
public:
    FrmMain();
    // Starts the uninstaller or shows why it cannot.
    void Load();
};

}  // namespace varnex::uninstall
