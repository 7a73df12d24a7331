#include "BatchRun.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <memory>

#include "BatchSummary.h"
#include "Failure.h"
#include "FileConversion.h"
#include "Interrupts.h"
#include "OwnOutput.h"
#include "WorkerPool.h"
#include "files/SyncedBatch.h"
#include "jobs/OrderedOutput.h"

namespace varnex::cli {

namespace {

constexpr std::uint64_t kGroupBytes = 256ull << 20;
constexpr std::uint64_t kSpoolPerThread = 64ull << 20;
constexpr int kPipeSize = 1 << 20;

class Batch {
    using Clock = std::chrono::steady_clock;

public:
    Batch(const ConversionRun& run, const OutputPlan& plan, const InputList& list, Messages& messages,
          Clock::time_point started)
        : run_(run),
          plan_(plan),
          messages_(messages),
          threads_(ThreadCount(run.options.jobs, plan.inputs.size())),
          start_(started) {
        counts_.skipped = list.skipped + plan.skipped;
        counts_.failed = list.failed;
        counts_.linksSkipped = list.linksSkipped;
        met_ = plan.inputs.size() + counts_.skipped + counts_.failed;
        if (messages.Terminal()) StartProgress();
    }

    int Run() {
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
        progress_.reset();
        // a folder is a batch, however many files it held: an empty one says so
        if (met_ > 1 || counts_.linksSkipped > 0 || run_.options.recursive) {
            const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
            messages_.Line(SummaryLine(counts_, seconds, run_.options.report, run_.map.ReadsUtf8()));
        }
        return counts_.failed > 0 ? 1 : 0;
    }

    void Fail(const std::string& message) {
        messages_.Line(message);
        ++counts_.failed;
    }

    // The one output failed or is given up: told once, and the files converted into it are
    // lost with it.
    void LoseOutput(const std::string& message) {
        messages_.Line(message);
        const std::size_t lost = counts_.converted.exchange(0);
        counts_.failed += lost;
        counts_.bytes = 0;
        if (lost == 0 && counts_.failed == 0) ++counts_.failed;
    }

    void Done(const Converted& converted) {
        counts_.bytes += converted.bytesIn;
        counts_.dropped += converted.dropped;
        ++counts_.converted;
    }

    // The progress line counts a file once converted; it may still wait for its group's sync.
    void FileConverted() {
        if (progress_) progress_->FileDone();
    }

    const ConversionRun& run_;
    const OutputPlan& plan_;
    Messages& messages_;

private:
    void StartProgress() {
        std::uint64_t total = 0;
        for (const auto& input : plan_.inputs) total += KnownSize(input);
        const std::string name = plan_.inputs.size() == 1 ? ShownName(plan_.inputs.front()) : "";
        progress_ = std::make_unique<ProgressBar>(messages_, name, total, plan_.inputs.size());
    }

    void ConvertIntoOwnFiles();
    void ConvertOwn(std::size_t index, SyncedBatch& batch);
    void ConvertIntoOneOutput();
    void ConvertIntoOneFile();
    void ConvertInOrder(std::size_t index, OrderedOutput& ordered);
    bool Convert(NewFile& output);

    unsigned threads_;
    BatchCounts counts_;
    std::size_t met_ = 0;  // the files named and found
    std::unique_ptr<ProgressBar> progress_;
    Clock::time_point start_;
};

// An output waiting for its group's sync: told where it ended up.
class WaitingOutput : public SyncedBatch::Output {
public:
    WaitingOutput(Batch& batch, std::unique_ptr<OwnOutput> output, Converted converted)
        : batch_(batch), output_(std::move(output)), converted_(converted) {}
    int Descriptor() const override { return output_->Descriptor(); }
    void Commit() override { output_->Commit(); }
    void Place() override { output_->Place(); }
    void Placed() override { batch_.Done(converted_); }
    void Failed(const std::exception& failure) override { batch_.Fail(failure.what()); }

private:
    Batch& batch_;
    std::unique_ptr<OwnOutput> output_;
    Converted converted_;
};

void Batch::ConvertIntoOwnFiles() {
    SyncedBatch batch(BatchGroupFiles(threads_), kGroupBytes);
    WorkerPool pool(plan_.inputs.size(), threads_, [&](std::size_t i) { ConvertOwn(i, batch); });
    pool.Wait();
    batch.Finish();
}

void Batch::ConvertOwn(std::size_t index, SyncedBatch& batch) {
    if (!plan_.faults[index].empty()) return;
    try {
        auto output = std::make_unique<OwnOutput>(run_, plan_, index);
        const Converted converted =
            ConvertIntoFile(run_, plan_.inputs[index], output->File(), messages_, progress_.get());
        FileConverted();
        output->Finish();
        if (output->Unnamed()) {
            batch.Add(std::make_unique<WaitingOutput>(*this, std::move(output), converted),
                      converted.bytesIn);
        } else {
            output->Commit();
            Done(converted);
        }
    } catch (const std::exception& failure) {
        Fail(failure.what());
    }
}

// -o FILE: written under no name, placed only when every file converted into it.
void Batch::ConvertIntoOneFile() {
    TemporarySlot& slot = TemporarySlot::OfThisThread();
    std::unique_ptr<SafeOutput> output;
    try {
        slot.Step([&] {
            output = std::make_unique<SafeOutput>(plan_.outputs.front(), run_.temporaryFiles);
            slot.Name(output->TemporaryPath());
        });
        // a fault told already: nothing is written
        if (counts_.failed == 0 && Convert(output->File()) && counts_.failed == 0) {
            output->File().Sync();
            slot.Step([&] {
                output->Place(run_.options.force);
                slot.Name({});
            });
            SyncFolder(FolderOf(plan_.outputs.front()));
        } else if (counts_.converted > 0) {
            LoseOutput(plan_.outputs.front().string() + ": not written, since a file failed");
        }
    } catch (const std::exception& failure) {
        LoseOutput(failure.what());
    }
    slot.Step([&] {
        output.reset();
        slot.Name({});
    });
}

// Standard output, or a device or FIFO named by -o: written straight through.
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
// an ordered output. Into one file (-o), the first failure gives the rest up. False when the
// output failed: told once, every file counted failed.
bool Batch::Convert(NewFile& output) {
    if (plan_.inputs.size() == 1) {
        if (plan_.faults.front().empty())
            Done(ConvertIntoFile(run_, plan_.inputs.front(), output, messages_, progress_.get()));
        FileConverted();
        return true;
    }
    OrderedOutput ordered(output, plan_.inputs.size(), kSpoolPerThread * std::max(threads_, 2u));
    WorkerPool pool(plan_.inputs.size(), threads_, [&](std::size_t i) { ConvertInOrder(i, ordered); });
    pool.Wait();
    if (ordered.Failure().empty()) return true;
    LoseOutput(ordered.Failure());
    return false;
}

void Batch::ConvertInOrder(std::size_t index, OrderedOutput& ordered) {
    if (!plan_.faults[index].empty()) return ordered.Finish(index);  // told already
    try {
        const Input& input = plan_.inputs[index];
        Done(ConvertText(run_, input, ordered.ForInput(index, KnownSize(input)), messages_, progress_.get()));
        FileConverted();
    } catch (const OutputAbandoned&) {
        ++counts_.failed;  // what gave it up is told once
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

}  // namespace

int RunBatch(const ConversionRun& run, const OutputPlan& plan, const InputList& list, Messages& messages,
             std::chrono::steady_clock::time_point started) {
    Batch batch(run, plan, list, messages, started);
    return batch.Run();
}

}  // namespace varnex::cli
