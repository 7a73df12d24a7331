#include "TestDatabase.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "map/SqliteFontMapWriter.h"

namespace varnex::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "varnex-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
}

FontTable MakeTable(std::vector<std::string> columns, const std::vector<std::vector<std::string>>& rows) {
    FontTable table;
    table.columns = std::move(columns);
    for (const auto& cells : rows) {
        auto& row = table.rows.emplace_back();
        for (const auto& cell : cells) {
            if (cell == "\\N") {
                row.emplace_back();
            } else {
                row.emplace_back(cell);
            }
        }
    }
    return table;
}

std::filesystem::path WriteFontMap(const TempDir& dir, const FontTable& table, const std::string& name) {
    const auto path = dir / name;
    WriteSqliteFontMap(path, table);
    return path;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

MessageAnswer ScriptedDialogs::Show(const Message& message) {
    shown.push_back(message);
    if (onShow) onShow(message);
    if (answers.empty())
        return message.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
    const MessageAnswer answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

std::optional<std::string> ScriptedDialogs::AskText(const std::string& prompt, const std::string& title,
                                                    const std::string& preset) {
    prompts.push_back(preset);
    promptTexts.push_back(prompt);
    promptTitles.push_back(title);
    if (onPrompt) onPrompt();
    if (textAnswers.empty()) return std::nullopt;
    auto answer = textAnswers.front();
    textAnswers.erase(textAnswers.begin());
    return answer;
}

}  // namespace varnex::test
