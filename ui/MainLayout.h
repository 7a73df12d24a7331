#pragma once

namespace varnex::ui::layout {

// The main window and its controls, in twips.
struct Box {
    double left, top, width, height;
};

inline constexpr Box kMainWindow{1455, 2085, 9000, 5700};
inline constexpr Box kTitleBar{0, 0, 7980, 435};
inline constexpr Box kMinimise{7980, 0, 465, 435};
inline constexpr Box kExit{8490, 0, 510, 435};
inline constexpr Box kFile{435, 1110, 2895, 210};
inline constexpr Box kOpen{3390, 1020, 660, 435};
inline constexpr Box kSourceFonts{435, 1860, 3570, 315};
inline constexpr Box kTargetFonts{435, 2625, 3570, 315};
inline constexpr Box kVersion{2160, 3135, 75, 195};
inline constexpr Box kStart{675, 3390, 3015, 1065};
inline constexpr Box kQuick{675, 4485, 3015, 585};
inline constexpr Box kQuestion{3720, 4575, 405, 405};
inline constexpr Box kKorvane{510, 5220, 3270, 330};
inline constexpr Box kAdvert{4335, 585, 4515, 4965};

inline constexpr Box kHelpWindow{0, 0, 6000, 3000};
inline constexpr Box kHelpTitle{315, 345, 2505, 330};
inline constexpr Box kHelpLabel1{345, 795, 2640, 885};
inline constexpr Box kHelpLabel2{330, 1770, 2565, 960};

inline constexpr int kAdsInterval = 3000;
inline constexpr int kInstantConversionInterval = 1500;
inline constexpr int kFollowMouseInterval = 1;

}  // namespace varnex::ui::layout
