#pragma once

#include "jobs/FileJob.h"

namespace varnex::ui {

class FrmMain;

// The main window as the host of a running file job: its caption shows the progress and
// its yields let the cancel label work.
class WindowJobHost : public JobHost {
public:
    explicit WindowJobHost(FrmMain& window) : window_(window) {}
    void SetCaption(const std::string& caption) override;
    void Yield() override;
    bool CancelRequested() const override;
    double Seconds() override;
    std::string DecimalSeparator() const override;

private:
    FrmMain& window_;
};

}  // namespace varnex::ui
