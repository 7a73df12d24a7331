#pragma once

#include <QComboBox>

namespace varnex::ui {

// A drop-down list of the font map's fonts. A class of its own so that assistive technology
// reads it by its name, as the caption above it says, with the chosen font as its value.
class FontList : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
};

}  // namespace varnex::ui
