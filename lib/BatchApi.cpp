// Whole files, documents and batches, through the engine's batch.
#include <atomic>
#include <mutex>

#include "Failure.h"
#include "Guarded.h"
#include "Handles.h"
#include "batch/BatchRun.h"
#include "batch/InputList.h"
#include "batch/OutputPlan.h"
#include "map/LoadedMap.h"

namespace {

// Tells the caller's callbacks what the batch does: how far it is, and what failed.
class CallbackObserver : public varnex::BatchObserver {
public:
    CallbackObserver(varnex_progress_callback progress, varnex_message_callback message, void* context)
        : progress_(progress), message_(message), context_(context) {}

    bool ShowsProgress() const override { return progress_ != nullptr; }
    void Planned(std::size_t, std::uint64_t bytes, const std::string&) override { total_ = bytes; }
    void Advanced(std::uint64_t moreBytes) override {
        const std::uint64_t done = done_ += moreBytes;
        if (!progress_) return;
        const std::lock_guard lock(mutex_);
        if (progress_(context_, done, total_) != 0) cancelled_ = true;
    }
    void Failed(const std::string& text) override {
        {
            const std::lock_guard lock(mutex_);
            if (first_.empty()) first_ = text;
        }
        Tell(text);
    }
    void Skipped(const std::string& text) override { Tell(text + " (skipped)"); }
    void ReadsAs(const std::string& input, const std::string& better, const std::string& named) override {
        Tell(input + " reads as " + better + ", not " + named);
    }
    bool CancelRequested() override { return cancelled_; }
    const std::string& FirstFailure() const { return first_; }

private:
    void Tell(const std::string& text) {
        if (!message_) return;
        const std::lock_guard lock(mutex_);
        message_(context_, text.c_str());
    }

    varnex_progress_callback progress_;
    varnex_message_callback message_;
    void* context_;
    std::uint64_t total_ = 0;
    std::atomic<std::uint64_t> done_{0};
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::string first_;
};

varnex::OutputKind KindOf(varnex_output_kind kind) {
    switch (kind) {
        case VARNEX_OUTPUT_ONE_FILE:
            return varnex::OutputKind::OneFile;
        case VARNEX_OUTPUT_BESIDE:
            return varnex::OutputKind::BesideEach;
        case VARNEX_OUTPUT_IN_PLACE:
            return varnex::OutputKind::InPlace;
    }
    throw varnex::Failure(varnex::kTypeMismatch, "varnex_convert_batch: no such output kind");
}

varnex::BatchRequest RequestOf(const varnex_batch_request& asked) {
    if (!asked.from || !asked.to || (asked.input_count && !asked.inputs))
        throw varnex::Failure(varnex::kTypeMismatch,
                              "varnex_convert_batch: the request lacks its fonts or inputs");
    varnex::BatchRequest request;
    request.source = asked.from;
    request.target = asked.to;
    for (std::size_t i = 0; i < asked.input_count; ++i) {
        if (!asked.inputs[i])
            throw varnex::Failure(varnex::kTypeMismatch, "varnex_convert_batch: a null input");
        request.inputs.emplace_back(asked.inputs[i]);
    }
    if (request.inputs.empty())
        throw varnex::Failure(varnex::kTypeMismatch, "varnex_convert_batch: no inputs");
    request.recursive = asked.recursive != 0;
    request.output = KindOf(asked.output_kind);
    if (request.output == varnex::OutputKind::OneFile) {
        if (!asked.output)
            throw varnex::Failure(varnex::kTypeMismatch, "varnex_convert_batch: no output file");
        request.outputPath = asked.output;
    }
    request.force = asked.force != 0;
    request.backupSuffix = asked.backup_suffix ? asked.backup_suffix : "";
    request.keepTime = asked.keep_time != 0;
    request.jobs = std::min(asked.jobs, varnex::kMostJobs);
    request.strict = asked.strict != 0;
    return request;
}

}  // namespace

using varnex::lib::Guarded;

extern "C" {

varnex_status varnex_convert_batch(const varnex_map* map, const varnex_batch_request* request,
                                   varnex_progress_callback progress, varnex_message_callback message,
                                   void* context, varnex_batch_totals* totals) {
    return Guarded([&] {
        if (!map || !request)
            throw varnex::Failure(varnex::kTypeMismatch, "varnex_convert_batch: a null argument");
        CallbackObserver observer(progress, message, context);
        const varnex::BatchTotals done = varnex::RunBatch(map->loaded, RequestOf(*request), observer);
        if (totals) {
            *totals = {done.converted, done.failed,  done.skipped,
                       done.bytes,     done.dropped, done.cancelled ? 1 : 0};
        }
        if (done.cancelled) return VARNEX_CANCELLED;
        if (done.failed > 0) {
            varnex::lib::SetError(observer.FirstFailure().empty() ? "an input failed"
                                                                  : observer.FirstFailure());
            return VARNEX_ERROR;
        }
        return VARNEX_OK;
    });
}

varnex_status varnex_plan_batch(const varnex_map* map, const varnex_batch_request* request,
                                varnex_plan_callback each, void* context) {
    return Guarded([&] {
        if (!map || !request || !each)
            throw varnex::Failure(varnex::kTypeMismatch, "varnex_plan_batch: a null argument");
        const varnex::BatchRequest asked = RequestOf(*request);
        CallbackObserver quiet(nullptr, nullptr, nullptr);
        const std::string target = varnex::ResolveFont(map->loaded, asked.target);
        varnex::InputList listed = varnex::ListInputs(asked, quiet);
        for (const auto& [name, why] : listed.refused) each(context, name.c_str(), "", why.c_str());
        const varnex::OutputPlan plan = varnex::PlanOutputs(asked, target, std::move(listed.inputs));
        for (std::size_t i = 0; i < plan.inputs.size(); ++i) {
            const std::string output = plan.outputs.empty()
                                           ? std::string()
                                           : plan.outputs[std::min(i, plan.outputs.size() - 1)].string();
            const std::string& fault = plan.faults[i];
            each(context, plan.inputs[i].name.c_str(), output.c_str(),
                 fault.empty() ? nullptr : fault.c_str());
        }
        return VARNEX_OK;
    });
}

varnex_status varnex_convert_file(const varnex_map* map, const char* from, const char* to, const char* input,
                                  const char* output, int force, varnex_progress_callback progress,
                                  void* context) {
    const char* inputs[] = {input};
    varnex_batch_request request{};
    request.from = from;
    request.to = to;
    request.inputs = inputs;
    request.input_count = input ? 1 : 0;
    request.output_kind = VARNEX_OUTPUT_ONE_FILE;
    request.output = output;
    request.force = force;
    request.jobs = 1;
    return varnex_convert_batch(map, &request, progress, nullptr, context, nullptr);
}

}  // extern "C"
