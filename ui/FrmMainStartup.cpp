// Start-up of the main window: initialisation, loading and activation, and the keys that
// end the program.
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>
#include <cmath>
#include <functional>
#include <iostream>

#include "Failure.h"
#include "FrmMain.h"
#include "ModCommon.h"
#include "ProgramEnd.h"
#include "Twips.h"
#include "WindowFonts.h"
#include "map/FontLoaders.h"

namespace varnex::ui {

namespace {

constexpr int kInvalidPropertyValue = 380;

const char kLoadingDllText[] =
    "Dynamic Link Library was not found.\r\nIf the problem presists, try not to touch the system files "
    "again.";

void TryStep(QString& lastFailure, const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception& failure) {
        lastFailure = QString::fromUtf8(failure.what());
    }
}

double PositionFrom(const QString& text, const char* key) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        throw Failure(kTypeMismatch, std::string("Type mismatch: the stored ") + key + " \"" +
                                         text.toStdString() + "\" is not a number.");
    }
    return static_cast<float>(value);
}

}  // namespace

void FrmMain::Initialise() {
    try {
        SetTag(this, windowTitle());
        SetTag(lblVersion, lblVersion->text());
        SetTag(adbrowser, QString::number(static_cast<float>(adbrowser->x() * TwipsPerPixelX())));
        adbrowser->move(width(), adbrowser->y());
    } catch (const std::exception& failure) {
        dialogs_.Show({failure.what(), "Varnex Error - Initialisation Application", MessageIcon::Critical});
        EndProgram();
    }
}

void FrmMain::Load() {
    QString lastFailure;
    try {
        if (!FillFontLists()) return;
        SetTag(lblVersion, lblVersion->text());
        if (cmbFonts[0]->count() == 0) {
            dialogs_.Show({"There seems to be some sort of critical internal error.", "Critical error",
                           MessageIcon::Critical, MessageButtons::Ok, false, true});
            EndProgram();
            return;
        }
        RestoreFontsAndPosition(lastFailure);
    } catch (const std::exception& failure) {
        lastFailure = QString::fromUtf8(failure.what());
    }
    if (!lastFailure.isEmpty()) {
        dialogs_.Show(
            {lastFailure.toStdString(), "Varnex Error - Loading Application", MessageIcon::Information});
    }
    show();
    ApplyFonts();
}

// The fonts are chosen and set, which reads the system's font configuration and Qt's list of
// fonts and loads the lists' font, once the window has been shown: the window manager maps
// the window and the display answers with the first expose while this runs, instead of after
// it. The lists and the file field get their own fonts before the window's font reaches them,
// so the lists' drop-downs are laid out once, in their own font.
void FrmMain::ApplyFonts() {
    for (QComboBox* list : cmbFonts) list->setFont(FontListFont());
    lblFile->setFont(FileFont());
    setFont(WindowFont());
    (void)cmbFonts[0]->fontMetrics().height();
}

bool FrmMain::FillFontLists() {
    std::vector<std::string> fonts;
    try {
        fonts = LoadFontList(database_);
    } catch (const std::exception& failure) {
        std::cerr << "Varnex 2010: " << failure.what() << "\n";
        dialogs_.Show({kLoadingDllText, "Varnex Error - Loading Dll", MessageIcon::Critical,
                       MessageButtons::Ok, false, true});
        EndProgram();
        return false;
    }
    QStringList names;
    for (const auto& font : fonts) names.append(QString::fromStdString(font));
    cmbFonts[0]->addItems(names);
    cmbFonts[1]->addItems(names);
    cmbFonts[0]->setCurrentIndex(-1);
    cmbFonts[1]->setCurrentIndex(-1);
    return true;
}

void FrmMain::RestoreFontsAndPosition(QString& lastFailure) {
    TryStep(lastFailure, [] { CheckSettingsStore(); });
    TryStep(lastFailure, [this] { SelectFont(0, "FontOld"); });
    TryStep(lastFailure, [this] { SelectFont(1, "FontNew"); });
    TryStep(lastFailure, [this] {
        SetTopTwips(PositionFrom(ReadSetting("WindowTop", QString::number(TopTwips())), "WindowTop"));
    });
    TryStep(lastFailure, [this] {
        SetLeftTwips(PositionFrom(ReadSetting("WindowLeft", QString::number(LeftTwips())), "WindowLeft"));
    });
    TryStep(lastFailure, [this] { KeepOnScreen(); });
}

void FrmMain::SelectFont(int index, const QString& key) {
    QComboBox* list = cmbFonts[index];
    const QString name = ReadSetting(key, list->itemText(0));
    const int found = list->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found < 0) {
        throw Failure(kInvalidPropertyValue, "Invalid property value: the font \"" + name.toStdString() +
                                                 "\" chosen last time is not in the font map.");
    }
    list->setCurrentIndex(found);
}

void FrmMain::KeepOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const double screenWidth = screen->geometry().width() * TwipsPerPixelX();
    const double screenHeight = screen->geometry().height() * TwipsPerPixelY();
    if (TopTwips() + HeightTwips() > screenHeight) {
        SetTopTwips(screenHeight - HeightTwips() - 50 * TwipsPerPixelY());
    }
    if (LeftTwips() + WidthTwips() > screenWidth) {
        SetLeftTwips(screenWidth - WidthTwips() - 1 * TwipsPerPixelX());
    }
    if (TopTwips() < 0) SetTopTwips(0);
    if (LeftTwips() < 0) SetLeftTwips(0);
}

void FrmMain::Activate() {
    const QCursor pointer = lblFile->cursor();
    for (QWidget* label : {lblKorvane, lblMinimise, lblExit, lblOpen, lblStart, lblQuick, lblQuestion}) {
        label->setCursor(pointer);
    }
}

bool FrmMain::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) Activate();
    return QWidget::event(event);
}

// Key preview: the window sees every key press before the control that has the focus, also
// while a font list's drop-down (a pop-up window of its own) is open.
bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && OwnsKeysOf(watched)) {
        return HandleKey(static_cast<const QKeyEvent&>(*event));
    }
    return QWidget::eventFilter(watched, event);
}

bool FrmMain::OwnsKeysOf(const QObject* receiver) const {
    if (const auto* window = qobject_cast<const QWindow*>(receiver)) {
        // A top-level hands its keys on to its widgets; a window inside this one is the
        // advert panel's, which draws in a native window of its own.
        if (!window->parent()) return false;
        while (window->parent()) window = window->parent();
        return window == windowHandle();
    }
    if (!receiver->isWidgetType()) return false;
    const QWidget* window = static_cast<const QWidget*>(receiver)->window();
    while (window->windowType() == Qt::Popup && window->parentWidget()) {
        window = window->parentWidget()->window();
    }
    return window == this;
}

bool FrmMain::HandleKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (key.key() == Qt::Key_Escape || (key.key() == Qt::Key_F4 && modifiers == Qt::AltModifier)) {
        EndProgram();
        return true;
    }
    return false;
}

}  // namespace varnex::ui
