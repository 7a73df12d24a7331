#pragma once

#include <vector>

#include "detect/LanguageModel.h"

namespace varnex {

// The language models the detector scores text with, made once from the built-in counts.
class Languages {
public:
    static const Languages& Known();

    const Alphabet& AlphabetOf(Script script) const { return script == Script::Latin ? latin_ : cyrillic_; }
    // The models of the script's languages.
    const std::vector<const LanguageModel*>& Of(Script script) const {
        return script == Script::Latin ? latinModels_ : cyrillicModels_;
    }
    const std::vector<LanguageModel>& All() const { return models_; }

private:
    Languages();
    Alphabet cyrillic_, latin_;
    std::vector<LanguageModel> models_;
    std::vector<const LanguageModel*> cyrillicModels_, latinModels_;
};

}  // namespace varnex
