#include "batch/BatchRun.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>

#include "Cancelled.h"
#include "Failure.h"
#include "batch/ConversionRun.h"
#include "batch/InputConversion.h"
#include "batch/InputList.h"
#include "batch/OrderedOutput.h"
#include "batch/OutputPlan.h"
#include "batch/OwnOutput.h"
#include "batch/RequestFault.h"
#include "batch/WorkerPool.h"
#include "files/SyncedBatch.h"
#include "text/LetterCase.h"

namespace varnex {

namespace {

constexpr std::uint64_t kGroupBytes = 256ull << 20;
constexpr std::uint64_t kSpoolPerThread = 64ull << 20;
constexpr int kPipeSize = 1 << 20;

// The memory that the inputs waiting for their turn in one output may hold, past which they go
// on into temporary files; VARNEX_ORDERED_BUDGET (bytes) sets it for the tests.
std::uint64_t SpoolBudget(unsigned threads) {
    if (const char* set = std::getenv("VARNEX_ORDERED_BUDGET")) {
        char* end = nullptr;
        const unsigned long long bytes = std::strtoull(set, &end, 10);
        if (end != set && *end == '\0') return bytes;
    }
    return kSpoolPerThread * std::max(threads, 2u);
}

// What a batch came to, counted from every thread.
struct Counts {
    std::atomic<std::size_t> converted{0};
    std::atomic<std::size_t> failed{0};
    std::atomic<std::uint64_t> bytes{0};
    std::atomic<std::uint64_t> dropped{0};
    std::atomic<bool> cancelled{false};
};

class Batch {
public:
    Batch(const ConversionRun& run, const OutputPlan& plan, const InputList& list)
        : run_(run),
          plan_(plan),
          observer_(run.observer),
          threads_(ThreadCount(run.request.jobs, plan.inputs.size())) {
        totals_.skipped = list.skipped + plan.skipped;
        totals_.linksSkipped = list.linksSkipped;
        totals_.met = plan.inputs.size() + totals_.skipped + list.failed;
        counts_.failed = list.failed;
        std::uint64_t bytes = 0;
        if (observer_.ShowsProgress()) {
            for (const auto& input : plan_.inputs) bytes += KnownSize(input);
        }
        const std::string only = plan_.inputs.size() == 1 ? ShownName(plan_.inputs.front()) : "";
        observer_.Planned(plan_.inputs.size(), bytes, only);
    }

    BatchTotals Run() {
        // told first and in order; the tasks pass over them
        for (const auto& fault : plan_.faults) {
            if (!fault.empty()) Fail(fault);
        }
        const bool own = plan_.kind == OutputKind::BesideEach || plan_.kind == OutputKind::InPlace;
        if (own) {
            ConvertIntoOwnFiles();
        } else {
            ConvertIntoOneOutput();
        }
        totals_.converted = counts_.converted;
        totals_.failed = counts_.failed;
        totals_.bytes = counts_.bytes;
        totals_.dropped = counts_.dropped;
        totals_.cancelled = counts_.cancelled;
        totals_.droppedCharacters = run_.map.ReadsUtf8();
        observer_.Finished(totals_);
        return totals_;
    }

    void Fail(const std::string& message) {
        observer_.Failed(message);
        ++counts_.failed;
    }

    // The one output failed or is given up: told once, and the files converted into it are
    // lost with it.
    void LoseOutput(const std::string& message) {
        observer_.Failed(message);
        const std::size_t lost = counts_.converted.exchange(0);
        counts_.failed += lost;
        counts_.bytes = 0;
        if (lost == 0 && counts_.failed == 0) ++counts_.failed;
    }

    void Done(std::size_t index, const Converted& converted) {
        counts_.bytes += converted.bytesIn;
        counts_.dropped += converted.dropped;
        ++counts_.converted;
        if (!converted.font.empty()) {
            const std::lock_guard lock(fontsMutex_);
            ++totals_.fonts[converted.font];
        }
        observer_.Placed(ShownName(plan_.inputs[index]));
    }

    // Counted once converted; it may still wait for its group's sync.
    void FileConverted(std::size_t index) { observer_.Converted(ShownName(plan_.inputs[index])); }

    // Asked before an input begins: once the observer asks to stop, no input begins.
    bool Cancelled() {
        if (!counts_.cancelled && observer_.CancelRequested()) counts_.cancelled = true;
        return counts_.cancelled;
    }

private:
    void ConvertIntoOwnFiles();
    void ConvertOwn(std::size_t index, SyncedBatch& batch);
    void ConvertIntoOneOutput();
    void ConvertIntoOneFile();
    void ConvertInOrder(std::size_t index, OrderedOutput& ordered);
    bool Convert(NewFile& output);

    const ConversionRun& run_;
    const OutputPlan& plan_;
    BatchObserver& observer_;
    unsigned threads_;
    Counts counts_;
    BatchTotals totals_;
    std::mutex fontsMutex_;
};

// An output waiting for its group's sync: told where it ended up.
class WaitingOutput : public SyncedBatch::Output {
public:
    WaitingOutput(Batch& batch, std::size_t index, std::unique_ptr<OwnOutput> output, Converted converted)
        : batch_(batch), index_(index), output_(std::move(output)), converted_(converted) {}
    int Descriptor() const override { return output_->Descriptor(); }
    void Commit() override { output_->Commit(); }
    void Place() override { output_->Place(); }
    void Placed() override { batch_.Done(index_, converted_); }
    void Failed(const std::exception& failure) override { batch_.Fail(failure.what()); }

private:
    Batch& batch_;
    std::size_t index_;
    std::unique_ptr<OwnOutput> output_;
    Converted converted_;
};

void Batch::ConvertIntoOwnFiles() {
    SyncedBatch batch(BatchGroupFiles(threads_), kGroupBytes);
    WorkerPool pool(plan_.inputs.size(), threads_, run_.hooks, [&](std::size_t i) { ConvertOwn(i, batch); });
    pool.Wait();
    batch.Finish();
}

void Batch::ConvertOwn(std::size_t index, SyncedBatch& batch) {
    if (!plan_.faults[index].empty() || Cancelled()) return;
    try {
        auto output = std::make_unique<OwnOutput>(run_, plan_, index);
        const Converted converted = ConvertIntoFile(run_, plan_.inputs[index], output->File());
        FileConverted(index);
        output->Finish();
        if (output->Unnamed()) {
            batch.Add(std::make_unique<WaitingOutput>(*this, index, std::move(output), converted),
                      converted.bytesIn);
        } else {
            output->Commit();
            Done(index, converted);
        }
    } catch (const ConversionCancelled&) {
        counts_.cancelled = true;  // its output goes with it
    } catch (const std::exception& failure) {
        Fail(failure.what());
    }
}

// One file: written under no name, placed only when every input converted into it.
void Batch::ConvertIntoOneFile() {
    BatchHooks& hooks = run_.hooks;
    std::unique_ptr<SafeOutput> output;
    try {
        hooks.Step([&] {
            output = std::make_unique<SafeOutput>(plan_.outputs.front(), run_.request.temporaryFiles);
            hooks.NameTemporary(output->TemporaryPath());
        });
        // a fault told already: nothing is written
        if (counts_.failed == 0 && Convert(output->File()) && counts_.failed == 0 && !counts_.cancelled) {
            output->File().Sync();
            hooks.Step([&] {
                output->Place(run_.request.force);
                hooks.NameTemporary({});
            });
            SyncFolder(FolderOf(plan_.outputs.front()));
        } else if (counts_.cancelled) {
            counts_.converted = 0;  // the output is not placed: nothing of it is converted
            counts_.bytes = 0;
        } else if (counts_.converted > 0) {
            LoseOutput(plan_.outputs.front().string() + ": not written, since a file failed");
        }
    } catch (const std::exception& failure) {
        LoseOutput(failure.what());
    }
    hooks.Step([&] {
        output.reset();
        hooks.NameTemporary({});
    });
}

// Standard output, or a device or pipe: written straight through.
void Batch::ConvertIntoOneOutput() {
    const OutputKind kind = plan_.kind;
    if (kind == OutputKind::OneFile) return ConvertIntoOneFile();
    try {
        const bool device = kind == OutputKind::Device;
        const std::filesystem::path name = device ? plan_.outputs.front() : "standard output";
        const int fd = device ? ::open(name.c_str(), O_WRONLY | O_CLOEXEC) : ::dup(STDOUT_FILENO);
        if (fd < 0) throw Failure(kPathAccessError, name.string() + ": cannot be opened for writing");
        if (!device) ::fcntl(fd, F_SETPIPE_SZ, kPipeSize);
        NewFile output(fd, name);
        if (Convert(output)) output.Close();
    } catch (const std::exception& failure) {
        LoseOutput(failure.what());
    }
}

// Every input into one output, in their order: alone, straight; several, on threads through
// an ordered output. Into one file, the first failure gives the rest up. False when the
// output failed: told once, every file counted failed.
bool Batch::Convert(NewFile& output) {
    if (plan_.inputs.size() == 1) {
        if (!plan_.faults.front().empty() || Cancelled()) return true;
        try {
            Done(0, ConvertIntoFile(run_, plan_.inputs.front(), output));
        } catch (const ConversionCancelled&) {
            counts_.cancelled = true;
            return true;
        }
        FileConverted(0);
        return true;
    }
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    OrderedOutput ordered(output, plan_.inputs.size(), SpoolBudget(threads_),
                          error ? std::nullopt : std::optional(temporary));
    WorkerPool pool(plan_.inputs.size(), threads_, run_.hooks,
                    [&](std::size_t i) { ConvertInOrder(i, ordered); });
    pool.Wait();
    if (ordered.Failure().empty()) return true;
    LoseOutput(ordered.Failure());
    return false;
}

void Batch::ConvertInOrder(std::size_t index, OrderedOutput& ordered) {
    if (!plan_.faults[index].empty()) return ordered.Finish(index);  // told already
    if (Cancelled()) {
        ordered.Abandon();
        return ordered.Finish(index);
    }
    try {
        const Input& input = plan_.inputs[index];
        Done(index, ConvertText(run_, input, ordered.ForInput(index, KnownSize(input))));
        FileConverted(index);
    } catch (const OutputAbandoned&) {
        if (!counts_.cancelled) ++counts_.failed;  // what gave it up is told once
    } catch (const ConversionCancelled&) {
        counts_.cancelled = true;
        ordered.Abandon();
    } catch (const std::exception& failure) {
        if (!ordered.Failure().empty()) {
            ++counts_.failed;
        } else {
            Fail(failure.what());
        }
        if (plan_.kind == OutputKind::OneFile) ordered.Abandon();
    }
    ordered.Finish(index);
}

bool DetectsFonts(const BatchRequest& request) { return SameIgnoringCase(request.source, kDetectFont); }

// For the warning that a named font reads wrong: how it reads, where the map can tell.
void NamedFontReading(const LoadedMap& map, const std::string& source, ConversionRun& run) {
    std::string unicode;
    try {
        unicode = UnicodeFontOf(map);
    } catch (const Failure&) {
        return;  // a map without a Unicode font cannot tell
    }
    run.detector = std::make_unique<DetectorOnDemand>(map);
    if (source != unicode) {
        run.named = CharactersOf(map, source, unicode);
    } else {
        run.named = FontReading{source, true, {}, {}, {}};
    }
}

// A font name of several fonts is a request that cannot be carried out as asked.
std::string RequestedFont(const LoadedMap& map, const std::string& typed) {
    try {
        return ResolveFont(map, typed);
    } catch (const AmbiguousFontName& fault) {
        throw RequestFault(fault.Description());
    }
}

// The map's names of the request's fonts and the pair's map, or the detector that finds each
// input's font; throws Failure, and RequestFault for a font name of several fonts.
void PrepareFonts(const LoadedMap& map, ConversionRun& run) {
    const BatchRequest& request = run.request;
    const std::string target = RequestedFont(map, request.target);
    std::string source;
    run.detects = DetectsFonts(request);
    if (run.detects) {
        run.detector = std::make_unique<DetectorOnDemand>(map);
        run.detector->Get();  // a map without a Unicode font fails here, before any file
        run.pairs = std::make_unique<PairMaps>(map);
    } else {
        source = RequestedFont(map, request.source);
        BuildPairMap(map, source, target, run.map);
        NamedFontReading(map, source, run);
    }
    run.documentFonts = {map.table.columns, source, target, request.docFonts, request.targetDocFont};
}

}  // namespace

BatchTotals RunBatch(const LoadedMap& map, const BatchRequest& request, BatchObserver& observer,
                     BatchHooks& hooks) {
    ConversionRun run{request, observer, hooks};
    PrepareFonts(map, run);
    observer.Began();
    const InputList list = ListInputs(request, observer);
    const OutputPlan plan = PlanOutputs(request, run.documentFonts.target, list.inputs);
    Batch batch(run, plan, list);
    return batch.Run();
}

BatchTotals RunBatch(const LoadedMap& map, const BatchRequest& request, BatchObserver& observer) {
    BatchHooks none;
    return RunBatch(map, request, observer, none);
}

}  // namespace varnex
