#include "ConvertOptions.h"

#include <charconv>

namespace varnex::cli {

namespace {

enum Id {
    kFrom,
    kTo,
    kOutput,
    kMap,
    kDocFont,
    kTargetDocFont,
    kBeside,
    kList,
    kStrict,
    kReport,
    kForce,
    kHelp,
    kVersion,
    kRecursive,
    kInclude,
    kExclude,
    kJobs,
    kInPlace,
    kKeepTime,
    kCleanTemporary,
};

const std::vector<OptionDefinition>& Definitions() {
    static const std::vector<OptionDefinition> definitions = {
        {kFrom, "from", 'f', Takes::Value},          {kTo, "to", 't', Takes::Value},
        {kOutput, "output", 'o', Takes::Value},      {kMap, "map", 0, Takes::Value},
        {kDocFont, "doc-font", 0, Takes::Value},     {kTargetDocFont, "target-doc-font", 0, Takes::Value},
        {kBeside, "beside", 0, Takes::Nothing},      {kList, "list", 'l', Takes::Nothing},
        {kStrict, "strict", 0, Takes::Nothing},      {kReport, "report", 0, Takes::Nothing},
        {kForce, "force", 0, Takes::Nothing},        {kHelp, "help", 'h', Takes::Nothing},
        {kVersion, "version", 'V', Takes::Nothing},  {kRecursive, "recursive", 'r', Takes::Nothing},
        {kInclude, "include", 0, Takes::Value},      {kExclude, "exclude", 0, Takes::Value},
        {kJobs, "jobs", 'j', Takes::Value},          {kInPlace, "in-place", 'i', Takes::OptionalValue},
        {kKeepTime, "keep-time", 0, Takes::Nothing}, {kCleanTemporary, "clean-temporary", 0, Takes::Value},
    };
    return definitions;
}

unsigned JobCount(const std::string& text) {
    unsigned count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc() || end != text.data() + text.size() || count == 0 || count > kMostJobs) {
        throw UsageError("-j needs a number of files from 1 to " + std::to_string(kMostJobs) + ", not \"" +
                         text + "\"");
    }
    return count;
}

bool SetFlag(ConvertOptions& o, int id) {
    bool ConvertOptions::*flag = nullptr;
    switch (id) {
        case kBeside:
            flag = &ConvertOptions::beside;
            break;
        case kList:
            flag = &ConvertOptions::list;
            break;
        case kStrict:
            flag = &ConvertOptions::strict;
            break;
        case kReport:
            flag = &ConvertOptions::report;
            break;
        case kForce:
            flag = &ConvertOptions::force;
            break;
        case kHelp:
            flag = &ConvertOptions::help;
            break;
        case kVersion:
            flag = &ConvertOptions::version;
            break;
        case kRecursive:
            flag = &ConvertOptions::recursive;
            break;
        case kKeepTime:
            flag = &ConvertOptions::keepTime;
            break;
        default:
            return false;
    }
    o.*flag = true;
    return true;
}

void SetValue(ConvertOptions& o, int id, const std::string& v) {
    switch (id) {
        case kFrom:
            o.source = v;
            break;
        case kTo:
            o.target = v;
            break;
        case kOutput:
            o.output = v;
            break;
        case kMap:
            o.map = v;
            break;
        case kDocFont:
            o.docFonts.push_back(v);
            break;
        case kTargetDocFont:
            o.targetDocFont = v;
            break;
        case kInclude:
            o.includes.push_back(v);
            break;
        case kExclude:
            o.excludes.push_back(v);
            break;
        case kJobs:
            o.jobs = JobCount(v);
            break;
        case kCleanTemporary:
            o.cleanTemporary = v;
            break;
        default:
            break;
    }
}

std::string SpellingOf(int id) {
    for (const OptionDefinition& option : Definitions()) {
        if (option.id == id)
            return option.shortName ? std::string("-") + option.shortName
                                    : "--" + std::string(option.longName);
    }
    return "";
}

void Take(ConvertOptions& o, const ParsedWord& word) {
    if (word.id == OptionParser::kOperand) {
        o.files.push_back(*word.value);
    } else if (word.id == kInPlace) {
        o.inPlace = word.value.value_or("");
    } else if (!SetFlag(o, word.id)) {
        if (word.value->empty()) throw UsageError("option " + SpellingOf(word.id) + " needs a value");
        SetValue(o, word.id, *word.value);
    }
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
        OptionParser parser(args, Definitions());
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
