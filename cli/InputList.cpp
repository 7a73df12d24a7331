#include "InputList.h"

#include <fnmatch.h>
#include <sys/stat.h>

#include <cstring>

#include "DocumentInput.h"
#include "Failure.h"
#include "documents/InputRecognition.h"
#include "files/FolderWalk.h"
#include "files/TemporaryNames.h"

namespace varnex::cli {

namespace {

bool Matches(const std::vector<std::string>& globs, const std::string& name) {
    for (const auto& glob : globs) {
        if (::fnmatch(glob.c_str(), name.c_str(), 0) == 0) return true;
    }
    return false;
}

class InputWalk : public FolderVisitor {
public:
    InputWalk(const ConvertOptions& options, Messages& messages, InputList& list)
        : options_(options), messages_(messages), list_(list) {}

    bool Enter(const std::string&, const std::string& name) override {
        return !Matches(options_.excludes, name);
    }

    void File(const std::string& path, const std::string& name, const struct stat&, bool link) override {
        if (IsTemporaryName(name)) {
            ++list_.skipped;
        } else if (link && options_.inPlace) {
            ++list_.linksSkipped;  // converted in place would be the file it names, maybe elsewhere
        } else if (!Matches(options_.excludes, name)) {
            if (options_.includes.empty()) {
                Recognise(path);
            } else if (Matches(options_.includes, name)) {
                list_.inputs.push_back({path, LooksLikeDocumentInput(path), true});
            }
        }
    }

    void Skipped(const std::string&, WalkSkip why) override {
        if (why == WalkSkip::LinkToFolder || why == WalkSkip::BrokenLink) {
            ++list_.linksSkipped;
        } else {
            ++list_.skipped;
        }
    }

    void Unreadable(const std::string& path, int error) override {
        messages_.Line(path + ": cannot be read: " + std::strerror(error));
        ++list_.failed;
    }

private:
    void Recognise(const std::string& path) {
        try {
            const RecognisedInput found = RecogniseInput(path, path);
            if (found.kind == InputKind::Text || found.kind == InputKind::Document) {
                list_.inputs.push_back({path, found.kind == InputKind::Document, true});
                return;
            }
            if (found.kind == InputKind::OtherDocument) messages_.Line(found.why + " (skipped)");
            ++list_.skipped;
        } catch (const std::exception& failure) {
            messages_.Line(failure.what());
            ++list_.failed;
        }
    }

    const ConvertOptions& options_;
    Messages& messages_;
    InputList& list_;
};

bool IsFolder(const std::string& path) {
    struct stat info {};
    return path != "-" && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::string ShownName(const Input& input) { return input.name == "-" ? "standard input" : input.name; }

InputList ListInputs(const ConvertOptions& options, Messages& messages) {
    InputList list;
    const std::vector<std::string> files =
        options.files.empty() ? std::vector<std::string>{"-"} : options.files;
    for (const auto& file : files) {
        if (options.recursive && IsFolder(file)) {
            InputWalk walk(options, messages, list);
            WalkFolder(file, walk);
        } else {
            list.inputs.push_back({file, LooksLikeDocumentInput(file), false});
        }
    }
    return list;
}

}  // namespace varnex::cli
