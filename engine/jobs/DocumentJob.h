#pragma once

#include <filesystem>

#include "Dialogs.h"
#include "convert/FontMap.h"
#include "documents/SourceFontNames.h"
#include "jobs/FileJob.h"

namespace varnex {

// The window's job for a document (DOCX, ODT): converts it into a new file at newPath, with the
// progress in the host's caption as for text ("Remaining: " + the share left) and the same
// completion message. The new file appears only when it is complete: after a cancel or a
// failure there is none, and a file already at newPath is as it was. Throws Failure.
JobEnd RunDocumentJob(const std::filesystem::path& sourcePath, const std::filesystem::path& newPath,
                      const FontMap& map, const DocumentFonts& fonts, JobHost& host, Dialogs& dialogs);

}  // namespace varnex
