#include "FrmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>

#include "Accessibility.h"
#include "Assets.h"
#include "FontList.h"
#include "FrmHelp.h"
#include "MainLayout.h"
#include "ProgramEnd.h"
#include "QtClipboard.h"
#include "QtCommonDialog.h"
#include "Twips.h"

namespace varnex::ui {

struct LabelLook {
    layout::Box box;
    QString tooltip;
};

namespace {

const QColor kBackground(192, 255, 192);
const QColor kDarkGreen(0, 64, 0);

QPalette Colours(QPalette palette, std::initializer_list<QPalette::ColorRole> backgroundRoles,
                 const QColor& background, std::initializer_list<QPalette::ColorRole> textRoles,
                 const QColor& text) {
    for (QPalette::ColorRole role : backgroundRoles) palette.setColor(role, background);
    for (QPalette::ColorRole role : textRoles) palette.setColor(role, text);
    return palette;
}

}  // namespace

FrmMain::FrmMain(Dialogs& dialogs, std::filesystem::path database)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      dialogs_(dialogs),
      database_(std::move(database)),
      ownDialog_(std::make_unique<QtCommonDialog>(this)),
      ownClipboard_(std::make_unique<QtClipboard>()),
      picture_(MainPicture()) {
    InstallAccessibility();
    cdb = ownDialog_.get();
    clipboard = ownClipboard_.get();
    setObjectName("frmMain");
    setWindowTitle("Varnex 2010");
    setWindowIcon(MainIcon());
    setFixedSize(PixelsX(layout::kMainWindow.width), PixelsY(layout::kMainWindow.height));
    move(PixelsX(layout::kMainWindow.left), PixelsY(layout::kMainWindow.top));
    BuildControls();
    MakeKeyboardAccessible();
    ConnectHandlers();
    qApp->installEventFilter(this);
    Initialise();
}

FrmMain::~FrmMain() { qApp->removeEventFilter(this); }

HotSpotLabel* FrmMain::AddLabel(const QString& name, const LabelLook& look) {
    auto* label = new HotSpotLabel(name, this);
    label->setGeometry(PixelRect(look.box.left, look.box.top, look.box.width, look.box.height));
    label->setToolTip(look.tooltip);
    return label;
}

QComboBox* FrmMain::AddFontList(int index) {
    const layout::Box box = index == 0 ? layout::kSourceFonts : layout::kTargetFonts;
    auto* list = new FontList(this);
    list->setObjectName(QString("cmbFonts(%1)").arg(index));
    list->setEditable(false);
    list->setGeometry(PixelRect(box.left, box.top, box.width, box.height));
    list->setPalette(Colours(list->palette(), {QPalette::Button, QPalette::Base}, Qt::white,
                             {QPalette::ButtonText, QPalette::Text}, kDarkGreen));
    list->setFocusPolicy(Qt::StrongFocus);
    return list;
}

void FrmMain::BuildControls() {
    lblTitleBar = AddLabel("lblTitleBar", {layout::kTitleBar, ""});
    lblTitleBar->setCursor(Qt::SizeAllCursor);
    lblMinimise = AddLabel("lblMinimise", {layout::kMinimise, ""});
    lblExit = AddLabel("lblExit", {layout::kExit, ""});

    lblFile = AddLabel("lblFile", {layout::kFile, ""});
    lblFile->setAutoFillBackground(true);
    lblFile->setPalette(
        Colours(lblFile->palette(), {QPalette::Window}, Qt::white, {QPalette::WindowText}, kDarkGreen));
    lblFile->setWordWrap(true);
    lblFile->setCursor(FilePointer());

    lblOpen = AddLabel("lblOpen", {layout::kOpen, " Click here to select a file "});
    cmbFonts = {AddFontList(0), AddFontList(1)};

    lblVersion = AddLabel("lblVersion", {layout::kVersion, ""});
    lblVersion->setPalette(Colours(lblVersion->palette(), {}, {}, {QPalette::WindowText}, QColor(0, 128, 0)));
    lblVersion->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblVersion->setCursor(VersionPointer());
    connect(lblVersion, &HotSpotLabel::captionChanged, lblVersion, [this] {
        // sizes itself to its caption, keeping its left and top edges
        const QPoint corner = lblVersion->pos();
        if (lblVersion->text().isEmpty()) {
            lblVersion->resize(PixelsX(layout::kVersion.width), PixelsY(layout::kVersion.height));
        } else {
            lblVersion->adjustSize();
        }
        lblVersion->move(corner);
    });

    lblStart = AddLabel("lblStart", {layout::kStart, " Click here to convert selected file "});
    lblQuick =
        AddLabel("lblQuick", {layout::kQuick, " Use Quick Conversion button to convert data in clipboard "});
    lblQuestion = AddLabel("lblQuestion",
                           {layout::kQuestion, " Use Quick Conversion button to convert data in clipboard "});
    lblKorvane = AddLabel("lblKorvane", {layout::kKorvane, ""});

    adbrowser = new QWidget(this);
    adbrowser->setObjectName("adbrowser");
    adbrowser->setGeometry(
        PixelRect(layout::kAdvert.left, layout::kAdvert.top, layout::kAdvert.width, layout::kAdvert.height));
    adbrowser->setFocusPolicy(Qt::StrongFocus);

    tmrAds = new QTimer(this);
    tmrAds->setInterval(layout::kAdsInterval);
    tmrAds->start();
    tmrInstantConversionControl = new QTimer(this);
    tmrInstantConversionControl->setInterval(layout::kInstantConversionInterval);
    tmrFollowMouse = new QTimer(this);
    tmrFollowMouse->setInterval(layout::kFollowMouseInterval);
}

void FrmMain::ConnectHandlers() {
    connect(lblExit, &HotSpotLabel::clicked, this, [] { EndProgram(); });
    connect(lblMinimise, &HotSpotLabel::clicked, this, [this] { showMinimized(); });
    connect(lblFile, &HotSpotLabel::clicked, this, &FrmMain::SelectSourceFile);
    connect(lblOpen, &HotSpotLabel::clicked, this, &FrmMain::SelectSourceFile);
    for (QComboBox* list : cmbFonts) {
        connect(list, &QComboBox::activated, this, [this] { QuickBusy = false; });
        connect(list, &QComboBox::currentTextChanged, this, [this] { QuickBusy = false; });
    }
    connect(lblQuick, &HotSpotLabel::clicked, this, &FrmMain::OnQuickClicked);
    connect(lblTitleBar, &HotSpotLabel::pressed, this,
            [this](Qt::MouseButton, QPoint position) { OnTitleBarPressed(position); });
    connect(lblTitleBar, &HotSpotLabel::doubleClicked, tmrFollowMouse, qOverload<>(&QTimer::start));
    connect(lblTitleBar, &HotSpotLabel::released, this, &FrmMain::OnTitleBarReleased);
    connect(tmrFollowMouse, &QTimer::timeout, this, &FrmMain::FollowMouse);
    connect(tmrAds, &QTimer::timeout, this, &FrmMain::OnAdsTick);
    connect(lblKorvane, &HotSpotLabel::clicked, this, &FrmMain::OpenHomePage);
    connect(lblQuestion, &HotSpotLabel::clicked, this, &FrmMain::ShowHelp);
    connect(lblStart, &HotSpotLabel::clicked, this, &FrmMain::OnStartClicked);
    connect(lblVersion, &HotSpotLabel::pressed, this, &FrmMain::OnVersionPressed);
    connect(tmrInstantConversionControl, &QTimer::timeout, this, &FrmMain::OnInstantConversionTick);
}

double FrmMain::LeftTwips() const { return pos().x() * TwipsPerPixelX(); }
double FrmMain::TopTwips() const { return pos().y() * TwipsPerPixelY(); }
double FrmMain::WidthTwips() const { return width() * TwipsPerPixelX(); }
double FrmMain::HeightTwips() const { return height() * TwipsPerPixelY(); }
void FrmMain::SetLeftTwips(double left) { move(PixelsX(left), pos().y()); }
void FrmMain::SetTopTwips(double top) { move(pos().x(), PixelsY(top)); }

void FrmMain::ShowHelp() {
    if (!frmHelp) frmHelp = new FrmHelp(this);
    frmHelp->exec();
    activateWindow();
    Activate();
}

void FrmMain::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    painter.drawPixmap(0, 0, picture_);
}

void FrmMain::closeEvent(QCloseEvent* event) {
    event->ignore();
    EndProgram();
}

}  // namespace varnex::ui
