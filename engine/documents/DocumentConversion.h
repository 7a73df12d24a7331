#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "convert/FontMap.h"
#include "documents/DocumentTotals.h"
#include "documents/SourceFontNames.h"
#include "files/JobFiles.h"

namespace varnex {

enum class DocumentKind { Text, WordDocument, OpenDocumentText };

// What a file is, by its content, never by its name: a zip package whose main part (found
// through its relationships, else word/document.xml) is WordprocessingML, a document or a
// template, macros or not; or one whose mimetype is OpenDocument text, a text template or a
// master document. Any other file is text. Throws Failure ("damaged package", "encrypted
// package", "not a word document") for a package that cannot be read, for another kind of
// office package, and for an OLE compound file (a binary or password-protected Office
// document). `shownName` names the file in messages.
DocumentKind RecogniseDocument(const std::filesystem::path& path, const std::string& shownName);

// OpenDocument text, a text template, a master document or its template.
bool IsOpenDocumentText(std::string_view mimeType);

// Told how far a document conversion is; asked whether to stop.
class DocumentProgress {
public:
    virtual ~DocumentProgress() = default;
    virtual void Advanced(double shareDone) = 0;
    virtual bool CancelRequested() = 0;
};

struct DocumentRequest {
    const FontMap& map;
    DocumentFonts fonts;
    bool strict = false;  // a source-font character without a code is a Failure
};

// Converts the runs of the document whose font is the source font, renames that font to the
// target's, and writes the package into `output` (empty, not yet written to): the changed parts
// new, every other entry copied as it was, in the same order, an OpenDocument package's
// mimetype first and stored. Throws Failure, or DocumentCancelled when the progress asks to
// stop; the output then holds no complete package and must not be put in place.
void ConvertDocument(const std::filesystem::path& sourcePath, const std::string& shownName, NewFile& output,
                     const DocumentRequest& request, DocumentTotals& totals, DocumentProgress* progress);

// The text of one font of a document, for finding what font that text is in: its characters
// as the codes of a legacy font (through the Windows-1252 bridge, or U+F020..U+F0FF for a
// symbol font), at most `limit` of them, and how many of its characters no code gives (text
// in real Unicode characters).
struct DocumentFontText {
    std::string font;
    std::string codes;
    std::uint64_t characters = 0;
    std::uint64_t withoutCode = 0;
    std::uint64_t symbols = 0;  // characters of a symbol font, U+F020..U+F0FF
};

// Every font of the document that holds run text, in the order of its first text. Throws
// Failure as ConvertDocument does, and for a file that is no document.
std::vector<DocumentFontText> ReadDocumentFontTexts(const std::filesystem::path& path,
                                                    const std::string& shownName, std::size_t limit);

}  // namespace varnex
