#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <cstdlib>
#include <set>

#include "Assets.h"
#include "MainLayout.h"
#include "UiTestSupport.h"

namespace varnex {
namespace {

using test::WindowTest;

QRect Pixels(const ui::layout::Box& box) {
    return QRect(static_cast<int>(box.left / 15), static_cast<int>(box.top / 15),
                 static_cast<int>(box.width / 15), static_cast<int>(box.height / 15));
}

TEST_F(WindowTest, MainWindowStandsAsLaidOut) {
    auto frm = MakeWindow();
    EXPECT_EQ(frm->windowTitle(), "Varnex 2010");
    EXPECT_TRUE(frm->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(frm->size(), QSize(600, 380));
    EXPECT_EQ(frm->pos(), QPoint(97, 139));
    EXPECT_EQ(frm->lblTitleBar->geometry(), QRect(0, 0, 532, 29));
    EXPECT_EQ(frm->lblMinimise->geometry(), QRect(532, 0, 31, 29));
    EXPECT_EQ(frm->lblExit->geometry(), QRect(566, 0, 34, 29));
    EXPECT_EQ(frm->lblFile->geometry(), QRect(29, 74, 193, 14));
    EXPECT_EQ(frm->cmbFonts[0]->geometry(), QRect(29, 124, 238, 21));
    EXPECT_EQ(frm->cmbFonts[1]->geometry(), QRect(29, 175, 238, 21));
    EXPECT_EQ(frm->lblStart->geometry(), QRect(45, 226, 201, 71));
    EXPECT_EQ(frm->lblQuick->geometry(), QRect(45, 299, 201, 39));
    EXPECT_EQ(frm->lblQuestion->geometry(), QRect(248, 305, 27, 27));
    EXPECT_EQ(frm->lblKorvane->geometry(), QRect(34, 348, 218, 22));
    EXPECT_EQ(frm->lblTitleBar->cursor().shape(), Qt::SizeAllCursor);
    EXPECT_EQ(frm->lblFile->cursor().hotSpot(), QPoint(10, 5));
    EXPECT_EQ(frm->lblFile->cursor().pixmap().size(), QSize(32, 32));
    EXPECT_FALSE(frm->cmbFonts[0]->isEditable());
}

// Pixels of area within 24 of colour in each channel (styles shade their faces slightly).
int CountPixels(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            count += std::abs(pixel.red() - colour.red()) <= 24 &&
                     std::abs(pixel.green() - colour.green()) <= 24 &&
                     std::abs(pixel.blue() - colour.blue()) <= 24;
        }
    }
    return count;
}

TEST_F(WindowTest, FileFieldAndFontListsDrawDarkGreenOnWhite) {
    auto frm = MakeWindow();
    frm->Load();
    frm->lblFile->SetCaption(" report.txt ");
    const QImage shot = frm->grab().toImage();
    const QColor white(Qt::white), darkGreen(0, 64, 0);
    for (const QRect& area : {frm->lblFile->geometry(), frm->cmbFonts[0]->geometry()}) {
        const QRect inside = area.adjusted(3, 3, -3, -3);
        EXPECT_GT(CountPixels(shot, inside, white), inside.width() * inside.height() / 2);
        EXPECT_GT(CountPixels(shot, inside, darkGreen), 10);
    }
}

// Without MS Sans Serif and Arial, Liberation Sans stands in for both, and the loaded window
// draws in it at the laid-out sizes (without the fonts, Qt's default face shows).
TEST_F(WindowTest, LoadedWindowDrawsInTheStandInFontAtTheLaidOutSizes) {
    const QStringList installed = QFontDatabase::families();
    if (installed.contains("MS Sans Serif") || installed.contains("Arial")) {
        GTEST_SKIP() << "MS Sans Serif or Arial is installed here: nothing stands in";
    }
    auto frm = MakeWindow();
    frm->Load();
    const QFontInfo list(frm->cmbFonts[1]->font()), file(frm->lblFile->font()), label(frm->lblOpen->font());
    EXPECT_EQ(list.family(), "Liberation Sans");
    EXPECT_TRUE(list.bold());
    EXPECT_DOUBLE_EQ(frm->cmbFonts[1]->font().pointSizeF(), 8.25);
    EXPECT_EQ(file.family(), "Liberation Sans");
    EXPECT_TRUE(file.bold());
    EXPECT_DOUBLE_EQ(frm->lblFile->font().pointSizeF(), 9);
    EXPECT_EQ(label.family(), "Liberation Sans");
    EXPECT_FALSE(label.bold());
    EXPECT_DOUBLE_EQ(frm->lblOpen->font().pointSizeF(), 8.25);
}

TEST_F(WindowTest, TooltipsKeepTheirBlanks) {
    auto frm = MakeWindow();
    EXPECT_EQ(frm->lblOpen->toolTip(), " Click here to select a file ");
    EXPECT_EQ(frm->lblStart->toolTip(), " Click here to convert selected file ");
    EXPECT_EQ(frm->lblQuick->toolTip(), " Use Quick Conversion button to convert data in clipboard ");
    EXPECT_EQ(frm->lblQuestion->toolTip(), " Use Quick Conversion button to convert data in clipboard ");
    EXPECT_EQ(frm->lblTitleBar->toolTip(), "");
    EXPECT_EQ(frm->lblFile->toolTip(), "");
}

TEST_F(WindowTest, TimersAndFocusOrder) {
    auto frm = MakeWindow();
    EXPECT_EQ(frm->tmrAds->interval(), 3000);
    EXPECT_TRUE(frm->tmrAds->isActive());
    EXPECT_EQ(frm->tmrInstantConversionControl->interval(), 1500);
    EXPECT_FALSE(frm->tmrInstantConversionControl->isActive());
    EXPECT_EQ(frm->tmrFollowMouse->interval(), 1);
    EXPECT_FALSE(frm->tmrFollowMouse->isActive());
    EXPECT_EQ(frm->cmbFonts[0]->nextInFocusChain(), frm->cmbFonts[1]);
    EXPECT_EQ(frm->lblStart->focusPolicy(), Qt::TabFocus) << "a click gives it no focus";
}

TEST_F(WindowTest, TheVersionLabelIsGreenCentredAndSizesItselfToItsCaption) {
    auto frm = MakeWindow();
    frm->Load();
    ui::HotSpotLabel* label = frm->lblVersion;
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(label->geometry(), QRect(144, 209, 5, 13)) << "empty: 75 x 195 twips";
    label->SetCaption("Cancel File Convertion");
    EXPECT_EQ(label->pos(), QPoint(144, 209)) << "it keeps its left and top edges";
    EXPECT_EQ(label->size(), label->sizeHint());
    EXPECT_GT(label->width(), label->fontMetrics().horizontalAdvance("Cancel File"));
    label->SetCaption("");
    EXPECT_EQ(label->geometry(), QRect(144, 209, 5, 13));
}

TEST_F(WindowTest, InitialisationLeavesItsMarkers) {
    auto frm = MakeWindow();
    EXPECT_EQ(ui::Tag(frm.get()), "Varnex 2010");
    EXPECT_EQ(ui::Tag(frm->lblVersion), "");
    EXPECT_EQ(ui::Tag(frm->adbrowser), "4335");
    EXPECT_EQ(frm->adbrowser->x(), 600) << "the advert panel waits beyond the right edge";
    EXPECT_EQ(frm->adbrowser->geometry().size(), QSize(301, 331));
}

// Each hot spot draws nothing, so the picture under it must show the button it stands for.
TEST(MainPicture, ShowsAButtonUnderEveryHotSpot) {
    const QImage picture = ui::MainPicture().toImage();
    ASSERT_EQ(picture.size(), QSize(600, 380));
    namespace l = ui::layout;
    for (const auto& box :
         {l::kTitleBar, l::kMinimise, l::kExit, l::kOpen, l::kStart, l::kQuick, l::kQuestion, l::kKorvane}) {
        const QRect area = Pixels(box);
        std::set<QRgb> colours;
        int background = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb pixel = picture.pixel(x, y);
                colours.insert(pixel);
                background += qRed(pixel) == 192 && qGreen(pixel) == 255 && qBlue(pixel) == 192;
            }
        }
        EXPECT_GT(colours.size(), 8u) << "a plain area under the hot spot at " << box.left << ", " << box.top;
        EXPECT_EQ(background, 0);
    }
    EXPECT_EQ(ui::HelpPicture().size(), QSize(400, 200));
    EXPECT_EQ(ui::MainIcon().availableSizes().size(), 4) << "48, 32, 24 and 16 (16 twice)";
}

}  // namespace
}  // namespace varnex
