#pragma once

#include "documents/ConversionSetup.h"
#include "documents/XmlPart.h"

namespace varnex {

// The text of a DrawingML part of a word document: SmartArt's data and drawing, a chart's
// titles and labels. A run's font is the typeface of its own a:latin, else of its
// paragraph's a:pPr/a:defRPr; text in the source font converts as a paragraph's does, and the
// typeface is renamed. Theme fonts (+mn-lt) and runs without a typeface are left alone.
void ConvertDrawingText(ConversionSetup& setup, XmlPart& part);

}  // namespace varnex
