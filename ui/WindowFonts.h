#pragma once

#include <QFont>

namespace varnex::ui {

// The fonts of the windows. They were laid out in MS Sans Serif and Arial; where a family is
// not installed, Liberation Sans (metric-compatible with Arial) stands in. The stand-in is
// chosen here from the installed families rather than through Qt's substitution table: for a
// missing family Qt first asks the system for that family's fallbacks, a query that costs
// more at start-up than the whole choice made here. The first call reads the system's list of
// fonts.
QFont WindowFont();    // MS Sans Serif 8.25
QFont FontListFont();  // the font lists: the window font in bold
QFont FileFont();      // the file field: Arial 9 bold
QFont ArialFont(double points, bool bold = false);

}  // namespace varnex::ui
