#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Dialogs.h"
#include "map/FontTable.h"

namespace varnex::test {

// A folder of its own under the system's temporary folder, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// A font table from rows of cells written as text, "\\N" for NULL.
FontTable MakeTable(std::vector<std::string> columns, const std::vector<std::vector<std::string>>& rows);

// Writes an SQLite font map with the table font_info and returns its path.
std::filesystem::path WriteFontMap(const TempDir& dir, const FontTable& table,
                                   const std::string& name = "mskvmap16.dll");

void WriteFile(const std::filesystem::path& path, const std::string& bytes);
// Throws for a file that cannot be opened, so that a missing file is never taken for an empty one.
std::string ReadFile(const std::filesystem::path& path);

// Records every message and answers from a queue (Ok or Yes when the queue is empty).
class ScriptedDialogs : public Dialogs {
public:
    MessageAnswer Show(const Message& message) override;
    std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                       const std::string& preset) override;

    std::vector<Message> shown;
    std::vector<MessageAnswer> answers;
    std::vector<std::optional<std::string>> textAnswers;
    std::vector<std::string> prompts;  // the preset of each prompt shown
    std::vector<std::string> promptTexts;
    std::vector<std::string> promptTitles;
    std::function<void(const Message&)> onShow;  // runs while the box is open
    std::function<void()> onPrompt;
};

}  // namespace varnex::test
