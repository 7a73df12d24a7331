#include "detect/LanguageModel.h"

#include <cmath>
#include <map>

namespace varnex {

namespace {

constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
// Interpolation weights of a trigram, its bigram and its letter; without a trigram context
// the bigram and the letter share the whole.
constexpr double kTrigramShare = 0.6, kBigramShare = 0.3, kLetterShare = 0.1;

std::size_t Hash(std::size_t key, std::size_t mask) { return (key * 2654435761u >> 7) & mask; }

}  // namespace

void Alphabet::Add(int index) {
    if (index <= 0 || index >= kScriptSymbols || ids_[static_cast<std::size_t>(index)] != kUnknown) return;
    ids_[static_cast<std::size_t>(index)] = static_cast<std::uint8_t>(size_++);
}

LanguageModel::LanguageModel(std::string code, std::string name, Script script, const Alphabet& alphabet,
                             const std::vector<Count>& counts)
    : code_(std::move(code)), name_(std::move(name)), script_(script), size_(alphabet.Size()) {
    const auto n = static_cast<std::size_t>(size_);
    std::vector<double> letters(n, 0), pairs(n * n, 0), pairContexts(n, 0), tripleContexts(n * n, 0);
    std::map<std::size_t, double> triples;
    const auto id = [&](char32_t c) -> int {
        if (c == U' ') return 0;
        const int found = alphabet.Id(IndexOf(script, c));
        return found == Alphabet::kUnknown ? -1 : found;
    };
    for (const Count& count : counts) {
        int ids[3] = {0, 0, 0};
        bool known = true;
        for (std::size_t i = 0; i < count.gram.size() && i < 3; ++i) {
            ids[i] = id(count.gram[i]);
            known = known && ids[i] >= 0;
        }
        if (!known) continue;
        if (count.gram.size() == 1) {
            letters[static_cast<std::size_t>(ids[0])] += count.count;
        } else if (count.gram.size() == 2) {
            pairs[static_cast<std::size_t>(ids[0] * size_ + ids[1])] += count.count;
            pairContexts[static_cast<std::size_t>(ids[0])] += count.count;
            if (ids[1] == 0) letters[0] += count.count;  // a word's end: the boundary's own count
        } else if (count.gram.size() == 3) {
            const std::size_t context = static_cast<std::size_t>(ids[0] * size_ + ids[1]);
            triples[context * n + static_cast<std::size_t>(ids[2])] += count.count;
            tripleContexts[context] += count.count;
        }
    }
    double total = 0;
    for (const double count : letters) total += count;
    std::vector<double> letter(n);
    letter_.resize(n);
    for (std::size_t z = 0; z < n; ++z) {
        letter[z] = (letters[z] + 0.5) / (total + 0.5 * static_cast<double>(n));
        letter_[z] = static_cast<float>(std::log(letter[z]));
    }
    const double bigramShare = kBigramShare / (kBigramShare + kLetterShare);
    std::vector<double> pair(n * n);
    bigram_.resize(n * n);
    for (std::size_t y = 0; y < n; ++y) {
        for (std::size_t z = 0; z < n; ++z) {
            const double seen = pairContexts[y] > 0 ? pairs[y * n + z] / pairContexts[y] : letter[z];
            pair[y * n + z] = bigramShare * seen + (1 - bigramShare) * letter[z];
            bigram_[y * n + z] = static_cast<float>(std::log(pair[y * n + z]));
        }
    }
    hasContext_.assign(n * n, 0);
    std::size_t capacity = 16;
    while (capacity < triples.size() * 2) capacity *= 2;
    keys_.assign(capacity, kEmpty);
    values_.assign(capacity, 0);
    for (const auto& [key, count] : triples) {
        const std::size_t context = key / n, y = context % n;
        hasContext_[context] = 1;
        const double p =
            kTrigramShare * count / tripleContexts[context] + (1 - kTrigramShare) * pair[y * n + key % n];
        Insert(key, static_cast<float>(std::log(p)));
    }
}

void LanguageModel::Insert(std::size_t key, float value) {
    const std::size_t mask = keys_.size() - 1;
    std::size_t slot = Hash(key, mask);
    while (keys_[slot] != kEmpty) slot = (slot + 1) & mask;
    keys_[slot] = static_cast<std::uint32_t>(key);
    values_[slot] = value;
}

const float* LanguageModel::Trigram(std::size_t key) const {
    const std::size_t mask = keys_.size() - 1;
    for (std::size_t slot = Hash(key, mask);; slot = (slot + 1) & mask) {
        if (keys_[slot] == key) return &values_[slot];
        if (keys_[slot] == kEmpty) return nullptr;
    }
}

}  // namespace varnex
