#pragma once

#include <getopt.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace varnex::cli {

// A command line that cannot be carried out as written (exit code 2).
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class Takes { Nothing, Value, OptionalValue };

struct OptionDefinition {
    int id;                // what Next() gives for the option; never kOperand
    const char* longName;  // without the dashes
    char shortName;        // 0 for none
    Takes takes;
};

// One option, or one word that is no option (id kOperand, the word as its value).
struct ParsedWord {
    int id;
    std::optional<std::string> value;
};

// The system's parser (getopt_long) over a list of words, in the GNU conventions: unambiguous
// prefixes of long options, clustered short options (-lV), -fVALUE, --opt=value, and "--"
// after which every word is an operand. Words are given in the order they were typed.
// getopt_long keeps its state in globals: parse one command line at a time, on one thread.
class OptionParser {
public:
    static constexpr int kOperand = -1;

    OptionParser(const std::vector<std::string>& words, std::vector<OptionDefinition> definitions);

    // The next option or operand; nullopt after the last. Throws UsageError naming the word.
    std::optional<ParsedWord> Next();
    // The next word taken whole as a further value of `option` (--pair A B). Throws UsageError.
    std::string TakeWord(const std::string& option);

private:
    bool Known(int value) const;
    const OptionDefinition& DefinitionFor(int value) const;
    std::string LongOptionFault(const std::string& word) const;
    std::string NameOf(const OptionDefinition& option) const;

    std::vector<std::string> storage_;
    std::vector<char*> argv_;
    std::vector<OptionDefinition> definitions_;
    std::vector<option> longOptions_;
    std::string shortOptions_;
    bool optionsEnded_ = false;
};

}  // namespace varnex::cli
