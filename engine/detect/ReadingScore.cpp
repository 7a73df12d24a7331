#include "detect/ReadingScore.h"

#include "detect/Languages.h"

namespace varnex {

namespace {

// What the models miss, in natural logarithms per character.
constexpr double kNoEntry = -12;              // a code the font does not have, or ill-formed UTF-8
constexpr double kControl = -12;              // a control character in text
constexpr double kForeignLetter = -8;         // a letter of no known language between words
constexpr double kForeignInWord = -12;        // the same touching a letter
constexpr double kSign = -6;                  // ¤ © ± and the like between words
constexpr double kSignByLetter = -10;         // the same touching a letter
constexpr double kLoneBox = -8;               // box drawing after another character: seldom in text
constexpr double kBoxRepeated = -1;           // the same again: the lines and shades of DOS programs' tables
constexpr double kBoxByLetter = -12;          // box drawing touching a letter
constexpr double kRareBox = -6;               // box drawing that joins single and double lines, more
constexpr double kSpace = -7;                 // a no-break space or a soft hyphen
constexpr double kPunctuation = -5;           // typeset punctuation: rarer than a letter in plain text
constexpr double kWrongSide = -4;             // « after a letter or before a blank, » the other way
constexpr double kCaseFlip = -6;              // a capital after a small letter in one word
constexpr double kMidSentenceCapital = -1.5;  // a capitalised word after a small one, in a sentence

}  // namespace

const LanguageModel* ReadingScore::ModelFor(const Coded& letter) const {
    if (letter.script == model_.Writes()) return &model_;
    return letter.script == Script::Latin ? latin_ : nullptr;
}

void ReadingScore::Add(const Coded& symbol) {
    if (symbol.kind != SymbolKind::Pseudographic && symbol.kind != SymbolKind::RareBox) lastBox_ = -1;
    const bool blank = symbol.kind == SymbolKind::Boundary && (symbol.flags & kBlank);
    if (blank) total_ += beforeBlank_;
    beforeBlank_ = 0;
    Take(symbol);
    afterBlank_ = blank;
}

void ReadingScore::Take(const Coded& symbol) {
    switch (symbol.kind) {
        case SymbolKind::Letter:
            return Letter(symbol);
        case SymbolKind::Boundary:
            EndWord();
            if (symbol.flags & kSentenceEnd) lastWordLower_ = false;
            afterLetter_ = false;
            pending_ = 0;
            return;
        case SymbolKind::Punctuation:
            return Punctuation(symbol);
        case SymbolKind::Pseudographic:
            return Box(symbol.id, 0);
        case SymbolKind::RareBox:
            return Box(symbol.id, kRareBox);
        case SymbolKind::Space:
            return Sign(kSpace, kSpace);
        case SymbolKind::Symbol:
            return Sign(kSign, kSignByLetter);
        case SymbolKind::ForeignLetter:
            return Sign(kForeignLetter, kForeignInWord);
        case SymbolKind::Control:
            return Sign(kControl, kControl);
        case SymbolKind::NoEntry:
            return Sign(kNoEntry, kNoEntry);
    }
}

double ReadingScore::Alone(const Coded& symbol) const {
    switch (symbol.kind) {
        case SymbolKind::Letter: {
            const LanguageModel* model = ModelFor(symbol);
            return model ? model->Letter(symbol.id) : kForeignLetter;
        }
        case SymbolKind::Boundary:
            return 0;
        case SymbolKind::Punctuation:
            return kPunctuation;
        case SymbolKind::Pseudographic:
            return kLoneBox;
        case SymbolKind::RareBox:
            return kLoneBox + kRareBox;
        case SymbolKind::Space:
            return kSpace;
        case SymbolKind::Symbol:
            return kSign;
        case SymbolKind::ForeignLetter:
            return kForeignLetter;
        case SymbolKind::Control:
            return kControl;
        case SymbolKind::NoEntry:
            return kNoEntry;
    }
    return 0;
}

double ReadingScore::Repeated(const Coded& symbol) {
    const bool box = symbol.kind == SymbolKind::Pseudographic || symbol.kind == SymbolKind::RareBox;
    return box ? kBoxRepeated - kLoneBox : 0;
}

void ReadingScore::Letter(const Coded& symbol) {
    const LanguageModel* model = ModelFor(symbol);
    if (!model) {  // a letter all the same, of a script this language does not write
        ++letters_;
        return Sign(kForeignLetter, kForeignInWord);
    }
    if (!afterLetter_ && symbol.upper && lastWordLower_) total_ += kMidSentenceCapital;
    if (model != word_) {
        EndWord();
        word_ = model;
    }
    total_ += model->Next(x_, y_, symbol.id) + pending_;
    if (afterLetter_ && afterLower_ && symbol.upper) total_ += kCaseFlip;
    x_ = y_;
    y_ = symbol.id;
    pending_ = 0;
    afterLetter_ = true;
    afterLower_ = !symbol.upper;
    ++letters_;
}

void ReadingScore::EndWord() {
    if (word_) {
        total_ += word_->Next(x_, y_, 0);
        lastWordLower_ = afterLower_;
    }
    word_ = nullptr;
    x_ = y_ = 0;
}

void ReadingScore::Sign(double alone, double byLetter) {
    EndWord();
    total_ += afterLetter_ ? byLetter : alone;
    pending_ = afterLetter_ ? 0 : byLetter - alone;
    afterLetter_ = false;
}

void ReadingScore::Box(int which, double more) {
    const bool byLetter = afterLetter_;
    EndWord();
    total_ += (which == lastBox_ ? kBoxRepeated : kLoneBox) + more + (byLetter ? kBoxByLetter - kLoneBox : 0);
    pending_ = kBoxByLetter - kLoneBox;
    afterLetter_ = false;
    lastBox_ = which;
}

void ReadingScore::Punctuation(const Coded& symbol) {
    const bool byLetter = afterLetter_;
    EndWord();
    const bool closing = (symbol.flags & kAfterLetter) && !(symbol.flags & kBeforeLetter);
    const bool opening = (symbol.flags & kBeforeLetter) && !(symbol.flags & kAfterLetter);
    total_ += kPunctuation + (byLetter && !(symbol.flags & kAfterLetter) ? kWrongSide : 0);
    if (closing && afterBlank_) total_ += kWrongSide;  // » closes what comes before it
    pending_ = symbol.flags & kBeforeLetter ? 0 : kWrongSide;
    beforeBlank_ = opening ? kWrongSide : 0;  // « opens what follows it
    if (symbol.flags & kSentenceEnd) lastWordLower_ = false;
    afterLetter_ = false;
}

}  // namespace varnex

namespace varnex {

namespace {

template <class Add>
TextScore BestOver(std::u32string_view text, Add add) {
    TextScore best;
    for (std::size_t l = 0; l < Languages::Known().All().size(); ++l) {
        ReadingScore score = ScoreIn(l);
        const LanguageModel& model = score.Model();
        double total = 0;
        for (const char32_t c : text)
            total += add(score, c == kNoCharacter ? Coded{SymbolKind::NoEntry} : CodedOf(c));
        total += score.Total();
        if (total > best.total) best = {total, score.Letters(), &model};
    }
    return best;
}

}  // namespace

ReadingScore ScoreIn(std::size_t language) {
    const Languages& languages = Languages::Known();
    const LanguageModel& model = languages.All()[language];
    const auto& latin = languages.Of(Script::Latin);
    return ReadingScore(model, model.Writes() == Script::Latin || latin.empty() ? nullptr : latin.front());
}

TextScore ScoreText(std::u32string_view text) {
    return BestOver(text, [](ReadingScore& score, const Coded& symbol) {
        score.Add(symbol);
        return 0.0;
    });
}

TextScore ScoreAlone(std::u32string_view text) {
    TextScore best =
        BestOver(text, [](ReadingScore& score, const Coded& symbol) { return score.Alone(symbol); });
    std::size_t letters = 0;
    for (const char32_t c : text) letters += c != kNoCharacter && CodedOf(c).kind == SymbolKind::Letter;
    best.letters = letters;
    return best;
}

}  // namespace varnex
