#include "batch/InputList.h"

#include <sys/stat.h>

#include <cstring>

#include "Failure.h"
#include "batch/DocumentInput.h"
#include "documents/InputRecognition.h"
#include "files/FolderWalk.h"
#include "files/TemporaryNames.h"

namespace varnex {

namespace {

class InputWalk : public FolderVisitor {
public:
    InputWalk(const BatchRequest& request, BatchObserver& observer, InputList& list)
        : request_(request), observer_(observer), list_(list) {}

    bool Enter(const std::string&, const std::string& name) override { return !Excluded(name); }

    void File(const std::string& path, const std::string& name, const struct stat&, bool link) override {
        if (IsTemporaryName(name)) {
            ++list_.skipped;
        } else if (link && request_.output == OutputKind::InPlace) {
            ++list_.linksSkipped;  // converted in place would be the file it names, maybe elsewhere
        } else if (!Excluded(name)) {
            if (!request_.include) {
                Recognise(path);
            } else if (request_.include(name)) {
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
        Refuse(path, path + ": cannot be read: " + std::strerror(error));
    }

private:
    bool Excluded(const std::string& name) const { return request_.exclude && request_.exclude(name); }

    void Recognise(const std::string& path) {
        try {
            const RecognisedInput found = RecogniseInput(path, path);
            if (found.kind == InputKind::Text || found.kind == InputKind::Document) {
                list_.inputs.push_back({path, found.kind == InputKind::Document, true});
                return;
            }
            if (found.kind == InputKind::OtherDocument) observer_.Skipped(found.why);
            ++list_.skipped;
        } catch (const std::exception& failure) {
            Refuse(path, failure.what());
        }
    }

    void Refuse(const std::string& path, const std::string& why) {
        observer_.Failed(why);
        ++list_.failed;
        list_.refused.emplace_back(path, why);
    }

    const BatchRequest& request_;
    BatchObserver& observer_;
    InputList& list_;
};

bool IsFolder(const std::string& path) {
    struct stat info {};
    return path != "-" && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A file named by the caller: text or a document, or refused with what it looks like (converted
// byte by byte all the same when the request asks for it).
void AddNamedInput(const BatchRequest& request, BatchObserver& observer, const std::string& file,
                   InputList& list) {
    const RecognisedInput found = RecogniseNamedInput(file);
    if (found.kind == InputKind::Text || found.kind == InputKind::Document) {
        list.inputs.push_back({file, found.kind == InputKind::Document, false});
    } else if (request.asText) {
        list.inputs.push_back({file, false, false});
    } else {
        const std::string why =
            found.why + (found.kind == InputKind::Binary ? "; --as-text converts it byte by byte" : "");
        observer.Failed(why);
        ++list.failed;
        list.refused.emplace_back(file, why);
    }
}

}  // namespace

std::string ShownName(const std::string& input) { return input == "-" ? "standard input" : input; }

std::string ShownName(const Input& input) { return ShownName(input.name); }

InputList ListInputs(const BatchRequest& request, BatchObserver& observer) {
    InputList list;
    const std::vector<std::string> files =
        request.inputs.empty() ? std::vector<std::string>{"-"} : request.inputs;
    for (const auto& file : files) {
        if (request.recursive && IsFolder(file)) {
            InputWalk walk(request, observer, list);
            WalkFolder(file, walk);
        } else {
            AddNamedInput(request, observer, file, list);
        }
    }
    return list;
}

}  // namespace varnex
