#pragma once
// A map of libvarnex as the module's objects share it.
#include <pybind11/pybind11.h>

#include <optional>
#include <string>
#include <vector>

#include "varnex.h"

namespace varnex::python {

[[noreturn]] inline void RaiseFailure() { throw pybind11::value_error(varnex_error_message()); }

inline void Check(varnex_status status) {
    if (status == VARNEX_ERROR) RaiseFailure();
}

class Map {
public:
    explicit Map(std::optional<std::string> path) {
        varnex_status status;
        {
            pybind11::gil_scoped_release free;
            status = varnex_map_open(path ? path->c_str() : nullptr, &map_);
        }
        if (status != VARNEX_OK) throw pybind11::value_error(varnex_error_message());
    }
    ~Map() { varnex_map_close(map_); }
    Map(const Map&) = delete;
    Map& operator=(const Map&) = delete;

    std::vector<std::string> Fonts() const {
        std::vector<std::string> fonts;
        for (std::size_t i = 0; i < varnex_map_font_count(map_); ++i)
            fonts.emplace_back(varnex_map_font(map_, i));
        return fonts;
    }
    std::vector<std::string> Aliases(std::size_t font) const {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < varnex_map_alias_count(map_, font); ++i)
            names.emplace_back(varnex_map_alias(map_, font, i));
        return names;
    }
    std::string FindFont(const std::string& typed) const {
        const char* font = nullptr;
        Check(varnex_map_find_font(map_, typed.c_str(), &font));
        return font;
    }
    const varnex_map* Handle() const { return map_; }

private:
    varnex_map* map_ = nullptr;
};

}  // namespace varnex::python
