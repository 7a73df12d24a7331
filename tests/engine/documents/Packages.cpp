#include "Packages.h"

#include <zip.h>

#include <stdexcept>

#include "files/SafeOutput.h"
#include "map/FontLoaders.h"
#include "text/Utf8Characters.h"
#include "text/Windows1252.h"

namespace varnex::test {

namespace {

const std::string kW = R"(xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")";
const std::string kOdtNamespaces =
    R"(xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
    R"(xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" )"
    R"(xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" )"
    R"(xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" )"
    R"(xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0")";

zip_t* Open(const std::filesystem::path& path) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!archive) throw std::runtime_error("cannot open " + path.string());
    return archive;
}

std::string ReadEntry(const std::filesystem::path& path, const std::string& name, zip_flags_t flags) {
    zip_t* archive = Open(path);
    zip_stat_t stat;
    if (zip_stat(archive, name.c_str(), 0, &stat) != 0) {
        zip_discard(archive);
        throw std::runtime_error("no " + name + " in " + path.string());
    }
    zip_file_t* file = zip_fopen(archive, name.c_str(), flags);
    std::string data((flags & ZIP_FL_COMPRESSED) ? stat.comp_size : stat.size, '\0');
    const zip_int64_t got = zip_fread(file, data.data(), data.size());
    zip_fclose(file);
    zip_discard(archive);
    data.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
    return data;
}

}  // namespace

void WritePackage(const std::filesystem::path& path, const Entries& entries, bool stored, int level) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto& [name, data] : entries) {
        zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        // the fastest level: a copy compressed again at zip's usual level would not be the same
        const bool store = stored || name == "mimetype";
        zip_set_file_compression(archive, index, store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, store ? 0 : level);
    }
    if (zip_close(archive) != 0) throw std::runtime_error("cannot write " + path.string());
}

std::string PartOf(const std::filesystem::path& path, const std::string& name) {
    return ReadEntry(path, name, 0);
}

std::string CompressedOf(const std::filesystem::path& path, const std::string& name) {
    return ReadEntry(path, name, ZIP_FL_COMPRESSED);
}

std::vector<std::string> NamesOf(const std::filesystem::path& path) {
    zip_t* archive = Open(path);
    std::vector<std::string> names;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i)
        names.push_back(zip_get_name(archive, i, 0));
    zip_discard(archive);
    return names;
}

int MethodOf(const std::filesystem::path& path, const std::string& name) {
    zip_t* archive = Open(path);
    zip_stat_t stat;
    zip_stat(archive, name.c_str(), 0, &stat);
    zip_discard(archive);
    return stat.comp_method;
}

Entries Docx(const std::string& body, const std::string& styles, const std::string& minorFont) {
    Entries entries = {
        {"[Content_Types].xml",
         R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>)"},
        {"word/document.xml", "<w:document " + kW + "><w:body>" + body + "</w:body></w:document>"},
        {"word/styles.xml", "<w:styles " + kW + ">" + styles + "</w:styles>"},
        {"word/fontTable.xml", "<w:fonts " + kW + R"(><w:font w:name="Arial"/></w:fonts>)"},
    };
    if (!minorFont.empty()) {
        entries.push_back(
            {"word/theme/theme1.xml",
             R"(<a:theme xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main"><a:themeElements>)"
             R"(<a:fontScheme name="x"><a:majorFont><a:latin typeface="Cambria"/></a:majorFont>)"
             R"(<a:minorFont><a:latin typeface=")" +
                 minorFont + R"("/></a:minorFont></a:fontScheme></a:themeElements></a:theme>)"});
    }
    std::string image;
    for (unsigned value = 1; image.size() < 20000; value = value * 1103515245 + 12345)
        image += "\x89PNG"[value >> 30];
    entries.push_back({"media/image1.png", image});
    return entries;
}

Entries Odt(const std::string& automaticStyles, const std::string& text, const std::string& commonStyles,
            const std::string& masterStyles) {
    return {
        {"mimetype", "application/vnd.oasis.opendocument.text"},
        {"content.xml",
         "<office:document-content " + kOdtNamespaces +
             "><office:font-face-decls><style:font-face style:name=\"K\" "
             "svg:font-family=\"'KOI8-R'\"/></office:font-face-decls><office:automatic-styles>" +
             automaticStyles + "</office:automatic-styles><office:body><office:text>" + text +
             "</office:text></office:body></office:document-content>"},
        {"styles.xml", "<office:document-styles " + kOdtNamespaces + "><office:styles>" + commonStyles +
                           "</office:styles><office:master-styles>" + masterStyles +
                           "</office:master-styles></office:document-styles>"},
        {"META-INF/manifest.xml", "<manifest/>"},
    };
}

const FontMap& Koi8ToCp1251() {
    static const FontMap map = [] {
        FontMap built;
        LoadFontMap(VARNEX_SHIPPED_FONT_MAP, "KOI8-R", "Windows-1251", built);
        return built;
    }();
    return map;
}

DocumentFonts Koi8Fonts() {
    return {LoadFontList(VARNEX_SHIPPED_FONT_MAP), "KOI8-R", "Windows-1251", {}, ""};
}

std::string AsStored(const std::string& codes) {
    std::string text;
    for (const char code : codes) AppendUtf8(text, Windows1252Character(static_cast<std::uint8_t>(code)));
    return text;
}

DocumentTotals Convert(const std::filesystem::path& source, const std::filesystem::path& target,
                       const FontMap& map, const DocumentFonts& fonts, bool strict,
                       DocumentProgress* progress) {
    SafeOutput output(target);
    DocumentTotals totals;
    ConvertDocument(source, source.filename().string(), output.File(), {map, fonts, strict}, totals,
                    progress);
    output.Commit(false);
    return totals;
}

}  // namespace varnex::test
