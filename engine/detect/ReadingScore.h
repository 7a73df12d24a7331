#pragma once

#include <cstddef>
#include <string_view>

#include "detect/FontReadings.h"
#include "detect/LanguageModel.h"

namespace varnex {

// How likely a text is in one language, told one character at a time: the model's
// probability of each letter of its script (Latin letters by the Latin model beside a
// Cyrillic one), and what the models miss: codes without an entry, control characters,
// signs and box drawing between letters, foreign letters, and a letter case that flips to
// capitals inside a word. In natural logarithms; higher is likelier.
class ReadingScore {
public:
    ReadingScore(const LanguageModel& model, const LanguageModel* latin) : model_(model), latin_(latin) {}

    void Add(const Coded& symbol);
    // What one character costs whatever is around it: a letter its share of the text, a sign
    // its cost between words. A first, cheap ranking of readings from their characters' counts.
    double Alone(const Coded& symbol) const;
    // What a character costs less when it repeats the one before it: a row of box drawing.
    static double Repeated(const Coded& symbol);
    double Total() const { return total_; }
    std::size_t Letters() const { return letters_; }
    const LanguageModel& Model() const { return model_; }

private:
    const LanguageModel* ModelFor(const Coded& letter) const;
    void Take(const Coded& symbol);
    void Letter(const Coded& symbol);
    void EndWord();
    void Sign(double alone, double byLetter);
    void Box(int which, double more);
    void Punctuation(const Coded& symbol);

    const LanguageModel& model_;
    const LanguageModel* latin_;
    double total_ = 0;
    std::size_t letters_ = 0;
    const LanguageModel* word_ = nullptr;  // the model of the word being read
    int x_ = 0, y_ = 0;
    bool afterLetter_ = false, afterLower_ = false;
    bool afterBlank_ = true;      // the text so far ends in a blank (or there is none)
    double beforeBlank_ = 0;      // what the last character costs more if a blank follows it
    bool lastWordLower_ = false;  // the word before ended in a small letter, in the same sentence
    double pending_ = 0;          // what the last character costs more if a letter follows it
    int lastBox_ = -1;            // the box drawing character just read, if it was one
};

// A score in the language of Languages::Known().All()[language], with the Latin model for
// Latin letters beside a Cyrillic one.
ReadingScore ScoreIn(std::size_t language);

// A text's score in the language that it reads best in.
struct TextScore {
    double total = -1e300;
    std::size_t letters = 0;
    const LanguageModel* model = nullptr;
};
TextScore ScoreText(std::u32string_view text);
// The same from the characters' counts alone (ReadingScore::Alone): cheap, for a first cut.
TextScore ScoreAlone(std::u32string_view text);

}  // namespace varnex
