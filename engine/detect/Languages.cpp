#include "detect/Languages.h"

#include <string_view>

#include "detect/NgramData.h"
#include "text/Utf8Characters.h"

namespace varnex {

namespace {

std::u32string Characters(std::string_view utf8) {
    std::u32string characters;
    for (std::size_t i = 0; i < utf8.size();) characters.push_back(NextCharacter(utf8, i));
    return characters;
}

Script ScriptNamed(std::string_view name) { return name == "Latin" ? Script::Latin : Script::Cyrillic; }

}  // namespace

const Languages& Languages::Known() {
    static const Languages known;
    return known;
}

Languages::Languages() {
    for (std::size_t l = 0; l < kLanguageRecordCount; ++l) {
        const Script script = ScriptNamed(kLanguageRecords[l].script);
        Alphabet& alphabet = script == Script::Latin ? latin_ : cyrillic_;
        for (const char32_t letter : Characters(kLanguageRecords[l].letters))
            alphabet.Add(IndexOf(script, letter));
    }
    std::vector<std::vector<LanguageModel::Count>> counts(kLanguageRecordCount);
    for (std::size_t i = 0; i < kNgramRecordCount; ++i) {
        const NgramRecord& record = kNgramRecords[i];
        counts[record.language].push_back({Characters(record.gram), static_cast<double>(record.count)});
    }
    models_.reserve(kLanguageRecordCount);
    for (std::size_t l = 0; l < kLanguageRecordCount; ++l) {
        const LanguageRecord& record = kLanguageRecords[l];
        const Script script = ScriptNamed(record.script);
        models_.emplace_back(record.code, record.name, script, AlphabetOf(script), counts[l]);
    }
    for (const LanguageModel& model : models_)
        (model.Writes() == Script::Latin ? latinModels_ : cyrillicModels_).push_back(&model);
}

}  // namespace varnex
