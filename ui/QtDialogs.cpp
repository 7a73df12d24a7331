#include "QtDialogs.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace varnex::ui {

namespace {

QMessageBox::Icon ToQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QString TitleOf(const std::string& title) {
    return title.empty() ? QStringLiteral("Varnex 2010") : QString::fromStdString(title);
}

}  // namespace

MessageAnswer QtDialogs::Show(const Message& message) {
    QMessageBox box(ToQt(message.icon), TitleOf(message.title), QString::fromStdString(message.text),
                    QMessageBox::NoButton, owner_);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    if (message.systemModal) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (message.buttons == MessageButtons::YesNo) {
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        QPushButton* no = box.addButton(QMessageBox::No);
        box.setDefaultButton(message.noIsDefault ? no : yes);
        box.setEscapeButton(no);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.addButton(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

std::optional<std::string> QtDialogs::AskText(const std::string& prompt, const std::string& title,
                                              const std::string& preset) {
    bool accepted = false;
    const QString answer =
        QInputDialog::getText(owner_, TitleOf(title), QString::fromStdString(prompt), QLineEdit::Normal,
                              QString::fromStdString(preset), &accepted);
    if (!accepted) return std::nullopt;
    return answer.toStdString();
}

}  // namespace varnex::ui
