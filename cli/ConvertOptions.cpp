#include "ConvertOptions.h"

#include "ConvertOptionTable.h"

namespace varnex::cli {

namespace {

void Take(ConvertOptions& o, const ParsedWord& word) {
    if (word.id == OptionParser::kOperand) {
        o.files.push_back(*word.value);
        return;
    }
    const ConvertOption& option = ConvertOptionTable().at(static_cast<std::size_t>(word.id));
    if (option.definition.takes == Takes::Value && word.value->empty()) {
        const OptionDefinition& named = option.definition;
        throw UsageError(
            "option " +
            (named.shortName ? std::string("-") + named.shortName : "--" + std::string(named.longName)) +
            " needs a value");
    }
    option.take(o, word.value.value_or(""));
}

void CheckOutputs(const ConvertOptions& o) {
    if (o.output && o.beside) throw UsageError("-o and --beside exclude each other");
    if (o.inPlace && (o.output || o.beside))
        throw UsageError("-i replaces each FILE: it goes with neither -o nor --beside");
    if (o.keepTime && !o.inPlace)
        throw UsageError("--keep-time keeps the times of files converted in place (-i)");
    if (!o.beside && !o.inPlace) return;
    const char* what = o.beside ? "--beside" : "-i";
    if (o.files.empty())
        throw UsageError(std::string(what) + " needs FILE names (standard input has no folder)");
    for (const auto& file : o.files) {
        if (file != "-") continue;
        throw UsageError(o.beside ? "--beside cannot place standard input (-) beside a file"
                                  : "-i cannot convert standard input (-) in place");
    }
}

void CheckCombination(const ConvertOptions& o) {
    const bool converts =
        !o.source.empty() || !o.target.empty() || !o.files.empty() || o.output || o.beside || o.inPlace;
    if (o.cleanTemporary && converts && !o.help && !o.version)
        throw UsageError("--clean-temporary DIR looks for leftovers and converts nothing: give it alone");
    if (o.aliases && !o.list) throw UsageError("--aliases goes with -l: varnex -l --aliases");
    if (o.help || o.version || o.list || o.cleanTemporary) return;
    if (o.source.empty() || o.target.empty()) {
        throw UsageError("say which fonts to convert between: -f SOURCE -t TARGET (varnex -l lists them)");
    }
    if ((!o.includes.empty() || !o.excludes.empty()) && !o.recursive) {
        throw UsageError("--include and --exclude choose files in folders: give -r");
    }
    if (o.recursive && o.files.empty()) throw UsageError("-r needs FOLDER names");
    CheckOutputs(o);
}

}  // namespace

ConvertOptions ParseConvertOptions(const std::vector<std::string>& args) {
    ConvertOptions options;
    try {
        OptionParser parser(args, ConvertOptionDefinitions());
        while (const auto word = parser.Next()) Take(options, *word);
    } catch (const UsageError& fault) {
        const std::string what = fault.what();
        if (!what.starts_with("unknown option") && what.find("ambiguous") == std::string::npos) throw;
        throw UsageError(what + " (varnex --help lists the options)");
    }
    CheckCombination(options);
    return options;
}

}  // namespace varnex::cli
