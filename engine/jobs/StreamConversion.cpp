#include "jobs/StreamConversion.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "Failure.h"
#include "convert/CharacterRule.h"
#include "convert/PieceConversion.h"

namespace varnex {

namespace {

// Input converted per call of the character rule; the output for it is reserved in one piece.
constexpr std::size_t kStreamPiece = 64 * 1024;

bool HasEntry(const FontMap& map, std::uint8_t code) { return code != 0 && !map.Entry(code).empty(); }

void CountMissing(const FontMap& map, std::string_view piece, StreamTotals& totals) {
    std::array<std::uint64_t, 256> seen{};
    for (const char c : piece) ++seen[static_cast<std::uint8_t>(c)];
    for (int code = 0; code < 256; ++code) {
        if (seen[code] != 0 && !HasEntry(map, static_cast<std::uint8_t>(code)))
            totals.missing[code] += seen[code];
    }
}

void FailOnMissing(const FontMap& map, std::string_view piece, const std::filesystem::path& name,
                   std::uint64_t pieceOffset) {
    for (std::size_t i = 0; i < piece.size(); ++i) {
        const auto code = static_cast<std::uint8_t>(piece[i]);
        if (!HasEntry(map, code)) {
            throw Failure(kBadFileFormat, name.string() + ": byte offset " + std::to_string(pieceOffset + i) +
                                              ": the code " + std::to_string(code) +
                                              " has no entry in the target font");
        }
    }
}

// In a text read as UTF-8, what is left out is told by the conversion itself, which alone
// knows where its characters begin.
DropReport Utf8Report(const std::filesystem::path& name, MissingCodes missing, StreamTotals& totals) {
    if (missing == MissingCodes::Drop) return nullptr;
    if (missing == MissingCodes::Fail) {
        return [name](const Dropped& dropped) {
            const bool bad = dropped.kind == Dropped::Kind::IllFormed;
            throw Failure(kBadFileFormat, name.string() + ": byte offset " + std::to_string(dropped.offset) +
                                              ": " + DescribeDropped(dropped) +
                                              (bad ? " are not UTF-8" : " has no entry in the target font"));
        };
    }
    return [&totals](const Dropped& dropped) {
        if (dropped.kind == Dropped::Kind::IllFormed) {
            ++totals.illFormed;
        } else {
            ++totals.missingCharacters[dropped.value];
        }
    };
}

// A new file whose write failures are thrown at once, not kept for Check().
class CheckedFile : public ByteSink {
public:
    explicit CheckedFile(NewFile& file) : file_(file) {}
    std::uint8_t* Reserve(std::size_t size) override { return file_.Reserve(size); }
    void Commit(std::size_t size) override {
        file_.Commit(size);
        file_.Check();
    }

private:
    NewFile& file_;
};

}  // namespace

std::uint64_t StreamTotals::MissingCount() const {
    std::uint64_t count = std::accumulate(missing.begin(), missing.end(), illFormed);
    for (const auto& [character, times] : missingCharacters) count += times;
    return count;
}

void ConvertStream(SourceFile& source, const std::filesystem::path& name, NewFile& output, const FontMap& map,
                   MissingCodes missing, StreamTotals& totals, StreamObserver* observer) {
    CheckedFile checked(output);
    ConvertStream(source, name, static_cast<ByteSink&>(checked), map, missing, totals, observer);
}

void ConvertStream(SourceFile& source, const std::filesystem::path& name, ByteSink& output,
                   const FontMap& map, MissingCodes missing, StreamTotals& totals, StreamObserver* observer) {
    std::uint64_t offset = 0;
    PieceConversion conversion(map, map.ReadsUtf8() ? Utf8Report(name, missing, totals) : nullptr);
    while (true) {
        const std::string_view piece = source.ReadAvailable(kStreamPiece);
        if (piece.empty()) break;
        if (!map.ReadsUtf8() && missing == MissingCodes::Fail) FailOnMissing(map, piece, name, offset);
        if (!map.ReadsUtf8() && missing == MissingCodes::Count) CountMissing(map, piece, totals);
        std::uint8_t* out = output.Reserve(conversion.Capacity(piece.size()));
        const std::size_t produced = conversion.Convert(piece, out);
        output.Commit(produced);
        offset += piece.size();
        totals.bytesIn += piece.size();
        totals.bytesOut += produced;
        if (observer) observer->Advanced(totals.bytesIn);
    }
    conversion.Finish();
}

}  // namespace varnex

namespace varnex {

void CopyStream(SourceFile& source, NewFile& output, StreamTotals& totals, StreamObserver* observer) {
    CheckedFile checked(output);
    CopyStream(source, static_cast<ByteSink&>(checked), totals, observer);
}

void CopyStream(SourceFile& source, ByteSink& output, StreamTotals& totals, StreamObserver* observer) {
    while (true) {
        const std::string_view piece = source.ReadAvailable(kStreamPiece);
        if (piece.empty()) break;
        std::copy(piece.begin(), piece.end(), output.Reserve(piece.size()));
        output.Commit(piece.size());
        totals.bytesIn += piece.size();
        totals.bytesOut += piece.size();
        if (observer) observer->Advanced(totals.bytesIn);
    }
}

}  // namespace varnex
