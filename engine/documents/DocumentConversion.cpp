#include "documents/DocumentConversion.h"

#include <algorithm>
#include <deque>
#include <optional>

#include "Failure.h"
#include "documents/ConversionSetup.h"
#include "documents/DocumentCancelled.h"
#include "documents/FileLooks.h"
#include "documents/NotWordDocument.h"
#include "documents/PackageReader.h"
#include "documents/PackageRelations.h"
#include "documents/PackageWriter.h"
#include "map/FontNameMatch.h"
#include "text/Utf8Characters.h"
#include "text/Windows1252.h"

namespace varnex {

namespace {

constexpr std::uint64_t kLongestMimeType = 256;
constexpr std::string_view kOpenDocumentType = "application/vnd.oasis.opendocument.";

[[noreturn]] void NotAWordDocument(const std::string& shownName, const std::string& why) {
    throw NotWordDocument(shownName + ": not a word document: " + why);
}

void RefuseEncryptedOdt(PackageReader& package) {
    const auto manifest = package.Find("META-INF/manifest.xml");
    if (!manifest) return;
    if (package.Read(*manifest).find("encryption-data") != std::string::npos) {
        throw Failure(kBadFileFormat,
                      package.ShownName() + ": encrypted package: the document is protected by a password");
    }
}

// What the main part's content type says the package is, for one that is no word document.
std::string OfficeKindOf(const std::string& contentType) {
    if (contentType.find("spreadsheetml") != std::string::npos ||
        contentType.starts_with("application/vnd.ms-excel"))
        return "a spreadsheet (an Office Open XML workbook)";
    if (contentType.find("presentationml") != std::string::npos ||
        contentType.starts_with("application/vnd.ms-powerpoint"))
        return "a presentation (an Office Open XML slide show)";
    return "an Office Open XML package of the type " + contentType;
}

bool IsWordContentType(const std::string& contentType) {
    return contentType.empty() || contentType.find(".wordprocessingml.") != std::string::npos ||
           contentType.starts_with("application/vnd.ms-word.");
}

std::optional<DocumentKind> OpenXmlKindOf(PackageReader& package) {
    if (const auto main = OfficeDocumentOf(package)) {
        if (!package.Find(main->name)) {
            throw Failure(kBadFileFormat, package.ShownName() + ": damaged package: its main part " +
                                              main->name + " is missing");
        }
        if (!IsWordContentType(main->contentType))
            NotAWordDocument(package.ShownName(), OfficeKindOf(main->contentType));
        return DocumentKind::WordDocument;
    }
    if (package.Find("word/document.xml")) return DocumentKind::WordDocument;
    if (package.Find("[Content_Types].xml")) {
        NotAWordDocument(package.ShownName(), "an Office Open XML package without a main document");
    }
    return std::nullopt;
}

DocumentKind KindOf(PackageReader& package) {
    if (const auto mimetype = package.Find("mimetype")) {
        const std::string type =
            package.Entries()[*mimetype].size <= kLongestMimeType ? package.Read(*mimetype) : std::string();
        if (IsOpenDocumentText(type)) {
            RefuseEncryptedOdt(package);
            return DocumentKind::OpenDocumentText;
        }
        if (type.starts_with(kOpenDocumentType)) {
            NotAWordDocument(package.ShownName(), "an OpenDocument package of the type " + type);
        }
    }
    return OpenXmlKindOf(package).value_or(DocumentKind::Text);
}

// A package that is a document: a word document or OpenDocument text.
DocumentKind DocumentKindOf(PackageReader& package) {
    const DocumentKind kind = KindOf(package);
    if (kind == DocumentKind::Text)
        NotAWordDocument(package.ShownName(), "a zip package without word/document.xml or content.xml");
    return kind;
}

void ConvertParts(DocumentKind kind, ConversionSetup& setup) {
    if (kind == DocumentKind::WordDocument) {
        ConvertDocx(setup);
    } else {
        ConvertOdt(setup);
    }
}

// The share of the conversion step, by the bytes of XML converted: half of the whole.
class ConversionShare {
public:
    ConversionShare(PackageReader& package, DocumentProgress* progress) : progress_(progress) {
        for (const PackageEntry& entry : package.Entries()) {
            if (entry.name.ends_with(".xml")) total_ += entry.size;
        }
    }
    void At(const XmlPart& part, std::size_t offset) {
        if (!progress_) return;
        if (&part != current_) {
            if (current_) before_ += current_->Size();
            current_ = &part;
        }
        if (progress_->CancelRequested()) throw DocumentCancelled();
        const double done = static_cast<double>(before_ + offset) / static_cast<double>(total_ ? total_ : 1);
        progress_->Advanced(0.5 * std::min(done, 1.0));
    }

private:
    DocumentProgress* progress_;
    const XmlPart* current_ = nullptr;
    std::uint64_t before_ = 0, total_ = 0;
};

// The package written anew in the order of the source, an ODT's mimetype first; of two entries
// of one name only the one read (the later) is written.
void WritePackage(PackageReader& package, DocumentParts& parts, bool openDocument, NewFile& output,
                  DocumentProgress* progress) {
    output.Flush();
    PackageWriter writer(output.Descriptor(), package.ShownName());
    std::deque<std::string> written;  // each must stay in place until the package is written
    std::vector<std::size_t> order;
    const auto mimetype = openDocument ? package.Find("mimetype") : std::nullopt;
    if (mimetype) order.push_back(*mimetype);
    for (std::size_t i = 0; i < package.Entries().size(); ++i) {
        if (i != mimetype && !package.Entries()[i].shadowed) order.push_back(i);
    }
    for (const std::size_t i : order) {
        const PackageEntry& entry = package.Entries()[i];
        if (!parts.Changed(entry.name)) {
            writer.Copy(package, i);
            continue;
        }
        written.push_back(parts.TakeSerialized(entry.name));
        writer.Add(entry.name, written.back(), entry.method);
    }
    writer.Finish(
        [progress](double share) {
            if (progress) progress->Advanced(0.5 + 0.5 * share);
        },
        [progress] { return progress && progress->CancelRequested(); });
}

}  // namespace

bool IsOpenDocumentText(std::string_view mimeType) {
    for (const std::string_view type : {"text", "text-template", "text-master", "text-master-template"}) {
        if (mimeType.starts_with(kOpenDocumentType) && mimeType.substr(kOpenDocumentType.size()) == type)
            return true;
    }
    return false;
}

DocumentKind RecogniseDocument(const std::filesystem::path& path, const std::string& shownName) {
    if (HasCompoundFileSignature(path)) {
        throw NotWordDocument(shownName + ": not converted: " + CompoundFileHolds(path, shownName));
    }
    if (!HasZipSignature(path)) return DocumentKind::Text;
    PackageReader package(path, shownName);
    return KindOf(package);
}

std::vector<DocumentFontText> ReadDocumentFontTexts(const std::filesystem::path& path,
                                                    const std::string& shownName, std::size_t limit) {
    PackageReader package(path, shownName);
    const DocumentKind kind = DocumentKindOf(package);
    DocumentParts parts(package);
    const DocumentFonts none;
    SourceFontNames names(none);
    const FontMap unused;
    DocumentTotals totals;
    std::vector<DocumentFontText> texts;
    ConversionSetup setup{parts, CodeRule{&unused}, totals, names, "", nullptr};
    setup.collect = [&](std::string_view font, std::string_view text) {
        if (font.empty() || text.empty()) return;
        auto found =
            std::find_if(texts.begin(), texts.end(), [&](const auto& each) { return each.font == font; });
        if (found == texts.end()) {
            found = texts.insert(texts.end(), DocumentFontText{});
            found->font = font;
        }
        for (std::size_t i = 0; i < text.size();) {
            const char32_t c = NextCharacter(text, i);
            ++found->characters;
            found->symbols += IsSymbolCharacter(c);
            const auto code = IsSymbolCharacter(c)
                                  ? std::optional<std::uint8_t>(static_cast<std::uint8_t>(c - kSymbolBase))
                                  : Windows1252Code(c);
            if (!code) {
                ++found->withoutCode;
            } else if (found->codes.size() < limit) {
                found->codes.push_back(static_cast<char>(*code));
            }
        }
    };
    ConvertParts(kind, setup);
    return texts;
}

void ConvertDocument(const std::filesystem::path& sourcePath, const std::string& shownName, NewFile& output,
                     const DocumentRequest& request, DocumentTotals& totals, DocumentProgress* progress) {
    PackageReader package(sourcePath, shownName);
    const DocumentKind kind = DocumentKindOf(package);
    DocumentParts parts(package);
    SourceFontNames names(request.fonts);
    ConversionShare share(package, progress);
    const CodeRule rule{&request.map, IsUnicodeFont(request.fonts.source),
                        IsUnicodeFont(request.fonts.target), request.strict};
    ConversionSetup setup{parts,
                          rule,
                          totals,
                          names,
                          request.fonts.WrittenTarget(),
                          [&share](const XmlPart& part, std::size_t offset) { share.At(part, offset); }};
    ConvertParts(kind, setup);
    if (progress && progress->CancelRequested()) throw DocumentCancelled();
    WritePackage(package, parts, kind == DocumentKind::OpenDocumentText, output, progress);
}

}  // namespace varnex
