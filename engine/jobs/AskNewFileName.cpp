#include "jobs/AskNewFileName.h"

#include "files/JobFiles.h"
#include "text/AsciiText.h"
#include "text/LetterCase.h"

namespace varnex {

namespace {

bool NamesTheSource(const std::string& path, const std::string& sourcePath) {
    // The source's own name in other letter case, of any letter, although here it would name
    // a file of its own: on a Windows disk or share the two are one file. Any other spelling
    // that reaches the source (., .., links, a folder that ignores case) is found by identity.
    return SameIgnoringCase(path, sourcePath) || SameFile(path, sourcePath);
}

}  // namespace

ChosenSource DescribeSource(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string name = path.substr(nameStart);
    const std::size_t lastDot = name.rfind('.');
    return {path, path.substr(0, nameStart), lastDot == std::string::npos ? name : name.substr(0, lastDot)};
}

std::string NewFileExtension(const std::string& sourcePath, bool document) {
    if (!document) return ".txt";
    const std::size_t slash = sourcePath.rfind('/');
    const std::size_t dot = sourcePath.rfind('.');
    const bool none = dot == std::string::npos || (slash != std::string::npos && dot < slash);
    return none ? "" : sourcePath.substr(dot);
}

std::string ProposedFileName(const ChosenSource& source, const std::string& targetFont) {
    return source.baseName + "_" + targetFont + source.extension;
}

std::optional<std::string> AskNewFileName(const ChosenSource& source, const std::string& targetFont,
                                          Dialogs& dialogs,
                                          const std::function<void(const std::string&)>& deleteQuietly) {
    while (true) {
        const std::string proposal = ProposedFileName(source, targetFont);
        const std::optional<std::string> answer =
            dialogs.AskText("Enter name of the new file...", "Save as..", proposal);
        if (!answer || OnlySpaces(*answer)) return std::nullopt;
        const std::string path = source.folder + *answer;
        if (NamesTheSource(path, source.path)) {
            dialogs.Show(
                {"The original file and new file are the same.", "Name conflict", MessageIcon::Critical});
            continue;
        }
        if (!FileExists(path)) return path;
        const MessageAnswer overwrite =
            dialogs.Show({"The file you specified, already exists.\r\nWould you like to overwrite it?",
                          "Varnex Error", MessageIcon::Question, MessageButtons::YesNo});
        if (overwrite == MessageAnswer::Yes) {
            deleteQuietly(path);
            return path;
        }
        // No: the existing file stays untouched and the user is asked for another name.
    }
}

}  // namespace varnex
