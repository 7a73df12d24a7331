#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "detect/Symbols.h"

namespace varnex {

// The letters of one script that any language model knows, numbered from 1 (0 is the word
// boundary), so that the models' tables stay small.
class Alphabet {
public:
    static constexpr std::uint8_t kUnknown = 0xFF;
    Alphabet() { ids_.fill(kUnknown); }
    void Add(int index);
    // The letter's number, or kUnknown for a letter that no model of the script knows.
    std::uint8_t Id(int index) const { return ids_[static_cast<std::size_t>(index)]; }
    int Size() const { return size_; }  // the letters and the boundary

private:
    std::array<std::uint8_t, kScriptSymbols> ids_;
    int size_ = 1;
};

// A character trigram model of one language over the letters of its script, from counts of
// n-grams of one to three characters (a blank is the word boundary). A trigram's probability
// is interpolated with its bigram's and its letter's, so that one never seen keeps some.
class LanguageModel {
public:
    struct Count {
        std::u32string gram;
        double count;
    };
    LanguageModel(std::string code, std::string name, Script script, const Alphabet& alphabet,
                  const std::vector<Count>& counts);

    const std::string& Code() const { return code_; }
    const std::string& Name() const { return name_; }
    Script Writes() const { return script_; }

    // The natural logarithm of the probability of letter z after x and y (alphabet ids).
    float Next(int x, int y, int z) const {
        const std::size_t context = static_cast<std::size_t>(x * size_ + y);
        if (hasContext_[context]) {
            if (const float* found =
                    Trigram(context * static_cast<std::size_t>(size_) + static_cast<std::size_t>(z)))
                return *found;
            return kUnseenWeight + bigram_[static_cast<std::size_t>(y * size_ + z)];
        }
        return bigram_[static_cast<std::size_t>(y * size_ + z)];
    }

    // The natural logarithm of a letter's share of the text, whatever is around it.
    float Letter(int z) const { return letter_[static_cast<std::size_t>(z)]; }

private:
    static constexpr float kUnseenWeight = -0.916291f;  // log 0.4: the bigram's share of a trigram
    const float* Trigram(std::size_t key) const;
    void Insert(std::size_t key, float value);

    std::string code_, name_;
    Script script_;
    int size_;
    std::vector<float> letter_;
    std::vector<float> bigram_;             // y * size + z
    std::vector<std::uint8_t> hasContext_;  // x * size + y: some trigram continues it
    std::vector<std::uint32_t> keys_;       // open addressing; kEmpty where free
    std::vector<float> values_;
};

}  // namespace varnex
