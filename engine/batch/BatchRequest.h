#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "files/SafeOutput.h"

namespace varnex {

// Where the converted text of a batch goes.
enum class OutputKind {
    StandardOutput,
    OneFile,     // every input into one file, put in place when complete
    Device,      // one file that is a device or a pipe: written straight to it
    BesideEach,  // one new file per input, beside it, under the name the window proposes
    InPlace,     // each input replaced by its conversion
};

// Chooses files below a folder by their name (without the folder).
using NameFilter = std::function<bool(const std::string& name)>;

// A batch as its caller asks for it: fonts as the user typed them, inputs as named.
struct BatchRequest {
    std::string source;  // font names as typed; matched as ResolveFont does; kDetectFont for
                         // each input's own, as the detector finds it
    std::string target;
    std::vector<std::string> inputs;  // "-" is standard input; none means standard input
    bool recursive = false;           // an input that is a folder stands for the files below it
    NameFilter include;               // unset: the files recognised as text or documents
    NameFilter exclude;               // files and folders left out; unset: none

    OutputKind output = OutputKind::StandardOutput;  // StandardOutput, OneFile, BesideEach or InPlace
    std::filesystem::path outputPath;                // for OneFile; a device or pipe makes it Device
    bool force = false;        // an existing output (or in-place backup) may be replaced
    std::string backupSuffix;  // InPlace: keep the original as NAME + suffix; empty: do not
    bool keepTime = false;     // InPlace: keep each file's access and modification times
    unsigned jobs = 0;         // files converted at once; 0: one per processor
    TemporaryFile temporaryFiles = TemporaryFile::Unnamed;

    std::vector<std::string> docFonts;  // document fonts that hold source-font text too
    std::string targetDocFont;          // the font name converted document text gets; empty: target
    bool report = false;                // count what is dropped, per input
    bool strict = false;                // a code without an entry fails its input
    // A named input that is no text (a binary file, an archive, RTF, another office
    // document) converts byte by byte all the same; unset: it fails, and nothing is written.
    bool asText = false;
};

// The source font that asks for each input's font to be detected.
inline constexpr char kDetectFont[] = "auto";

// The most files converted at once.
inline constexpr unsigned kMostJobs = 256;

}  // namespace varnex
