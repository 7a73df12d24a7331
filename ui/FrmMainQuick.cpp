// The quick clipboard conversion and its lock.
#include "FrmMain.h"
#include "ProgramEnd.h"
#include "Yield.h"
#include "map/FontLoaders.h"

namespace varnex::ui {

QString FrmMain::SourceFont() const { return cmbFonts[0]->currentText(); }
QString FrmMain::TargetFont() const { return cmbFonts[1]->currentText(); }

bool FrmMain::LoadFontMapOrEnd(FontMap& map) {
    try {
        LoadFontMap(database_, SourceFont().toStdString(), TargetFont().toStdString(), map);
        return true;
    } catch (const std::exception& failure) {
        dialogs_.Show({failure.what(), "Varnex Error - Loading Fonts", MessageIcon::Critical});
        EndProgram();
        return false;
    }
}

void FrmMain::OnQuickClicked() {
    if (QuickBusy) return;
    QuickBusy = true;
    // A font change may have released an earlier run's lock while its timer still runs; that
    // tick belongs to the earlier run and must not release this one halfway (during its
    // yield or its box), or a queued click would nest a conversion. It is put off until this
    // run has ended instead, so that a warning does not hold the button it would have freed.
    const bool earlierRunCooling = tmrInstantConversionControl->isActive();
    tmrInstantConversionControl->stop();
    const QuickConversionHost host{SourceFont().toStdString(),
                                   TargetFont().toStdString(),
                                   [this](FontMap& map) { return LoadFontMapOrEnd(map); },
                                   [] { YieldToEvents(); },
                                   *clipboard,
                                   dialogs_};
    const QuickOutcome outcome = QuickConvert(fontMap, host);
    if (outcome == QuickOutcome::Finished || (outcome == QuickOutcome::Warned && earlierRunCooling)) {
        tmrInstantConversionControl->start();
    }
}

void FrmMain::OnInstantConversionTick() {
    QuickBusy = false;
    tmrInstantConversionControl->stop();
}

}  // namespace varnex::ui
