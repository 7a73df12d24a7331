// The real message boxes and prompts, opened as the program opens them and answered from a
// zero-delay timer inside their own event loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "QtDialogs.h"

namespace varnex {
namespace {

// What the user saw of the box that was open when the timer fired.
struct SeenBox {
    bool open = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    Qt::WindowModality modality = Qt::NonModal;
    bool staysOnTop = false;
    QList<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::StandardButton escapeButton = QMessageBox::NoButton;
};

// Runs `open` with a timer that records the modal box and then answers it with `answer`.
SeenBox WhileOpen(const std::function<void()>& open, QMessageBox::StandardButton answer) {
    SeenBox seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        seen.open = true;
        seen.icon = box->icon();
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.modality = box->windowModality();
        seen.staysOnTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        for (QAbstractButton* button : box->buttons()) seen.buttons.append(box->standardButton(button));
        seen.defaultButton = box->standardButton(box->defaultButton());
        seen.escapeButton = box->standardButton(box->escapeButton());
        box->button(answer)->click();
    });
    open();
    return seen;
}

TEST(QtDialogsTest, EachIconShowsAsItsOwnInAnApplicationModalBox) {
    const std::pair<MessageIcon, QMessageBox::Icon> icons[] = {
        {MessageIcon::Critical, QMessageBox::Critical},
        {MessageIcon::Question, QMessageBox::Question},
        {MessageIcon::Exclamation, QMessageBox::Warning},
        {MessageIcon::Information, QMessageBox::Information},
        {MessageIcon::None, QMessageBox::NoIcon},
    };
    ui::QtDialogs dialogs;
    for (const auto& [icon, qtIcon] : icons) {
        for (const bool systemModal : {false, true}) {
            MessageAnswer answer{};
            const SeenBox seen = WhileOpen(
                [&] {
                    answer = dialogs.Show({"Text <b>as typed</b>", "A title", icon, {}, false, systemModal});
                },
                QMessageBox::Ok);
            ASSERT_TRUE(seen.open);
            EXPECT_EQ(seen.icon, qtIcon) << static_cast<int>(icon);
            EXPECT_EQ(seen.title, "A title");
            EXPECT_EQ(seen.text, "Text <b>as typed</b>");
            EXPECT_EQ(seen.modality, Qt::ApplicationModal);
            EXPECT_EQ(seen.staysOnTop, systemModal) << "a system-modal box stays on top, and only it";
            EXPECT_EQ(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
            EXPECT_EQ(answer, MessageAnswer::Ok);
        }
    }
}

TEST(QtDialogsTest, ABoxWithoutTitleIsTheProgramsAndYesNoKeepsItsDefault) {
    ui::QtDialogs dialogs;
    for (const bool noIsDefault : {false, true}) {
        for (const auto& [click, expected] : {std::pair{QMessageBox::Yes, MessageAnswer::Yes},
                                              std::pair{QMessageBox::No, MessageAnswer::No}}) {
            MessageAnswer answer{};
            const SeenBox seen = WhileOpen(
                [&] {
                    answer = dialogs.Show(
                        {"Replace?", "", MessageIcon::Question, MessageButtons::YesNo, noIsDefault, false});
                },
                click);
            ASSERT_TRUE(seen.open);
            EXPECT_EQ(seen.title, "Varnex 2010");
            EXPECT_EQ(seen.defaultButton, noIsDefault ? QMessageBox::No : QMessageBox::Yes);
            EXPECT_EQ(seen.escapeButton, QMessageBox::No) << "Esc answers no";
            EXPECT_EQ(answer, expected);
        }
    }
}

TEST(QtDialogsTest, APromptGivesTheTypedTextOrNothingWhenCancelled) {
    ui::QtDialogs dialogs;
    for (const bool accept : {true, false}) {
        QString title;
        QTimer::singleShot(0, [&] {
            auto* prompt = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!prompt) return;
            title = prompt->windowTitle();
            EXPECT_EQ(prompt->textValue(), "preset");
            prompt->setTextValue("typed");
            accept ? prompt->accept() : prompt->reject();
        });
        const auto answer = dialogs.AskText("Name:", "Ask", "preset");
        EXPECT_EQ(title, "Ask");
        if (accept) {
            EXPECT_EQ(answer, std::optional<std::string>("typed"));
        } else {
            EXPECT_EQ(answer, std::nullopt);
        }
    }
}

}  // namespace
}  // namespace varnex
