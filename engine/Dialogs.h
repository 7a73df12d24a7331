#pragma once

#include <optional>
#include <string>

namespace varnex {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// One message box: text and title as the user reads them (UTF-8).
struct Message {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    bool noIsDefault = false;
    bool systemModal = false;
};

// The questions and reports that engine operations put to the user. The windows answer
// with real dialogs; tests answer from a script.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MessageAnswer Show(const Message& message) = 0;
    // A text prompt; nullopt when the user cancels it.
    virtual std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                               const std::string& preset) = 0;
};

}  // namespace varnex
