#pragma once

namespace varnex::ui {

// The maker's web server: the advert page and the home page.
inline constexpr char kMakerHost[] = "www.korvane.com";
inline constexpr char kAdvertPath[] = "/adverts/varnex.php";

}  // namespace varnex::ui
