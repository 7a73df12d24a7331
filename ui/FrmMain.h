#pragma once

#include <QComboBox>
#include <QTimer>
#include <QWidget>
#include <array>
#include <filesystem>
#include <memory>
#include <optional>

#include "AdvertPanel.h"
#include "CommonDialog.h"
#include "Dialogs.h"
#include "Failure.h"
#include "HotSpotLabel.h"
#include "convert/FontMap.h"
#include "documents/SourceFontNames.h"
#include "jobs/QuickConvert.h"

namespace varnex::ui {

// The main window: one picture, hot-spot labels over its drawn buttons, the file field,
// the two font lists, the cancel label and the advert panel.
class FrmMain : public QWidget {
    Q_OBJECT
public:
    FrmMain(Dialogs& dialogs, std::filesystem::path database);
    ~FrmMain() override;

    // The loading step: fills the font lists, restores fonts and position, shows the window.
    void Load();

    double LeftTwips() const;
    double TopTwips() const;
    double WidthTwips() const;
    double HeightTwips() const;
    void SetLeftTwips(double left);
    void SetTopTwips(double top);

    static QUrl AdvertPageUrl();
    static QUrl HomePageUrl();

    // The open-file dialog; lblFile and lblOpen show it.
    void SelectSourceFile();

    HotSpotLabel* lblTitleBar;
    HotSpotLabel* lblMinimise;
    HotSpotLabel* lblExit;
    HotSpotLabel* lblFile;
    HotSpotLabel* lblOpen;
    HotSpotLabel* lblVersion;
    HotSpotLabel* lblStart;
    HotSpotLabel* lblQuick;
    HotSpotLabel* lblQuestion;
    HotSpotLabel* lblKorvane;
    std::array<QComboBox*, 2> cmbFonts;
    QWidget* adbrowser;
    QTimer* tmrAds;
    QTimer* tmrInstantConversionControl;
    QTimer* tmrFollowMouse;
    CommonDialog* cdb;
    AdvertPanelFactory* advertFactory = nullptr;  // null: the web engine module beside the program
    AdvertPanel* advertPanel = nullptr;           // created when the advert is due
    QUrl advertUrl = AdvertPageUrl();
    class FrmHelp* frmHelp = nullptr;  // created on first use, then kept
    CodeClipboard* clipboard;

    // Run-time state.
    FontMap fontMap;
    bool QuickBusy = false;
    bool CancelRequested = false;
    QString NewFilePath;
    float DragOffsetX = 0;
    float DragOffsetY = 0;
    QString SourceBaseName;
    QString SourceFolder;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildControls();
    void MakeKeyboardAccessible();
    HotSpotLabel* AddLabel(const QString& name, const struct LabelLook& look);
    QComboBox* AddFontList(int index);
    void Initialise();
    bool FillFontLists();
    void ApplyFonts();
    void RestoreFontsAndPosition(QString& lastFailure);
    void SelectFont(int index, const QString& key);
    void KeepOnScreen();
    void Activate();
    bool OwnsKeysOf(const QObject* receiver) const;
    bool HandleKey(const class QKeyEvent& key);
    void ConnectHandlers();
    void OnQuickClicked();
    void OnInstantConversionTick();
    bool LoadFontMapOrEnd(FontMap& map);
    QString SourceFont() const;
    bool JobRunning() const;
    void OnStartClicked();
    void ConvertFile();
    void RunJobSteps();
    DocumentFonts DocumentFontsOf() const;
    void EndJob(bool busyPointer, const std::optional<Failure>& failure);
    void OnVersionPressed();
    void ShowHelp();
    void OnTitleBarPressed(QPoint position);
    void OnTitleBarReleased();
    void FollowMouse();
    void OnAdsTick();
    void OnNavigateComplete2(const QString& url);
    void OnNavigateError(int status);
    void OpenHomePage();
    QString TargetFont() const;

    Dialogs& dialogs_;
    std::filesystem::path database_;
    std::unique_ptr<CommonDialog> ownDialog_;
    std::unique_ptr<CodeClipboard> ownClipboard_;
    QPixmap picture_;
};

}  // namespace varnex::ui
