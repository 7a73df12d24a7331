// Maps: open, the fonts and their names.
#include <dlfcn.h>

#include <filesystem>

#include "Failure.h"
#include "Guarded.h"
#include "Handles.h"
#include "map/FontLoaders.h"

namespace varnex::lib {

std::string ShippedMapPath() {
    Dl_info self{};
    if (!::dladdr(reinterpret_cast<void*>(&ShippedMapPath), &self) || !self.dli_fname)
        return std::string(VARNEX_MAP_FROM_LIBRARY) + "/" + kFontMapFileName;
    const auto folder = std::filesystem::path(self.dli_fname).parent_path();
    const auto beside = folder / kFontMapFileName;  // a build
    if (std::filesystem::exists(beside)) return beside.string();
    return (folder / VARNEX_MAP_FROM_LIBRARY / kFontMapFileName).lexically_normal().string();
}

}  // namespace varnex::lib

using varnex::lib::Guarded;
using varnex::lib::GuardedValue;

extern "C" {

varnex_status varnex_map_open(const char* path, varnex_map** map) {
    return Guarded([&] {
        if (!map) throw varnex::Failure(varnex::kTypeMismatch, "varnex_map_open: no place for the map");
        *map = nullptr;
        auto opened = std::make_unique<varnex_map>();
        opened->loaded = varnex::LoadMap(path ? std::string(path) : varnex::lib::ShippedMapPath());
        for (const std::string& font : opened->loaded.table.columns)
            opened->aliases.push_back(varnex::AliasesOf(opened->loaded, font));
        *map = opened.release();
        return VARNEX_OK;
    });
}

void varnex_map_close(varnex_map* map) { delete map; }

size_t varnex_map_font_count(const varnex_map* map) { return map ? map->loaded.table.columns.size() : 0; }

const char* varnex_map_font(const varnex_map* map, size_t index) {
    if (!map || index >= map->loaded.table.columns.size()) return nullptr;
    return map->loaded.table.columns[index].c_str();
}

varnex_status varnex_map_find_font(const varnex_map* map, const char* typed, const char** font) {
    return Guarded([&] {
        if (!map || !typed || !font)
            throw varnex::Failure(varnex::kTypeMismatch, "varnex_map_find_font: a null argument");
        const std::string name = varnex::ResolveFont(map->loaded, typed);
        const auto& columns = map->loaded.table.columns;
        *font = std::find(columns.begin(), columns.end(), name)->c_str();
        return VARNEX_OK;
    });
}

size_t varnex_map_alias_count(const varnex_map* map, size_t font) {
    return map && font < map->aliases.size() ? map->aliases[font].size() : 0;
}

const char* varnex_map_alias(const varnex_map* map, size_t font, size_t index) {
    if (!map || font >= map->aliases.size() || index >= map->aliases[font].size()) return nullptr;
    return map->aliases[font][index].c_str();
}

}  // extern "C"
