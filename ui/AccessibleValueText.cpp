#include "AccessibleValueText.h"

#include <algorithm>

namespace varnex::ui {

void AccessibleValueText::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
}

// An end offset of -1 means the end of the text.
QString AccessibleValueText::text(int startOffset, int endOffset) const {
    const QString value = ValueText();
    const int end = endOffset < 0 ? static_cast<int>(value.size()) : std::min<int>(endOffset, value.size());
    const int start = std::clamp(startOffset, 0, end);
    return value.mid(start, end - start);
}

QString AccessibleValueText::attributes(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

}  // namespace varnex::ui
