#include "batch/OrderedOutput.h"

#include <algorithm>
#include <cstring>

#include "files/SpillFile.h"

namespace varnex {

namespace {

constexpr std::size_t kFirstSpool = 64 * 1024;
constexpr std::size_t kSpillPiece = 256 * 1024;  // what a spilled input gathers between writes

}  // namespace

// One input's slot. `head`, `done` and the spool's size in the budget are the owner's, under
// its lock; `direct` is the input's thread's own: once it has seen its turn, it writes through.
class OrderedOutput::Slot : public ByteSink {
public:
    explicit Slot(OrderedOutput& owner) : owner_(owner) {}

    std::uint8_t* Reserve(std::size_t size) override {
        if (direct) return owner_.output_.Reserve(size);
        std::unique_lock lock(owner_.mutex_);
        if (owner_.abandoned_) throw OutputAbandoned();
        if (!head && !spill && used + size > capacity &&
            owner_.spooled_ + Wanted(size) > owner_.spoolLimit_ && !owner_.Spill(*this, lock))
            owner_.WaitForRoom(*this, size, lock);
        if (owner_.abandoned_) throw OutputAbandoned();
        if (head) {
            lock.unlock();
            owner_.TakeTurn(*this);
            return owner_.output_.Reserve(size);
        }
        lock.unlock();
        if (spill) return SpillRoom(size);
        if (used + size > capacity) Grow(size);
        return spool.data.get() + used;
    }

    void Commit(std::size_t size) override {
        if (!direct) {
            used += size;
            return;
        }
        owner_.output_.Commit(size);
        try {
            owner_.output_.Check();
        } catch (const std::exception& failure) {
            owner_.FailedOutput(failure);
            throw;
        }
    }

    // A spilled input gathers in its own buffer, written to its file when full.
    std::uint8_t* SpillRoom(std::size_t size) {
        if (used + size > capacity) {
            spill->Append(spool.data.get(), used);
            used = 0;
        }
        if (size > capacity) {
            spool = Buffer{std::unique_ptr<std::uint8_t[]>(new std::uint8_t[size]), size};
            capacity = size;
        }
        return spool.data.get() + used;
    }

    // The room wanted past the spool's capacity, for `size` more bytes: at first what the
    // input is expected to give, then twice as much each time.
    std::size_t Wanted(std::size_t size) const {
        const std::size_t first = capacity == 0 ? std::min<std::uint64_t>(expected, owner_.spoolLimit_) : 0;
        return std::max({used + size, capacity * 2, kFirstSpool, first}) - capacity;
    }

    void Grow(std::size_t size) {
        const std::size_t more = Wanted(size);
        Buffer bigger = owner_.TakeBuffer(capacity + more);
        if (used) std::memcpy(bigger.data.get(), spool.data.get(), used);
        owner_.GiveBack(std::move(spool));
        spool = std::move(bigger);
        owner_.spooled_ += spool.capacity - capacity;
        capacity = spool.capacity;
    }

    Buffer spool;  // in memory, counted in the budget; once spilled, the file's own buffer
    std::size_t used = 0, capacity = 0;
    std::unique_ptr<SpillFile> spill;
    std::uint64_t expected = 0;
    bool head = false, done = false, direct = false;

private:
    OrderedOutput& owner_;
};

OrderedOutput::OrderedOutput(NewFile& output, std::size_t inputs, std::uint64_t spoolLimit,
                             std::optional<std::filesystem::path> spillFolder)
    : output_(output), spoolLimit_(spoolLimit), spillFolder_(std::move(spillFolder)) {
    for (std::size_t i = 0; i < inputs; ++i) slots_.push_back(std::make_unique<Slot>(*this));
    if (!slots_.empty()) slots_.front()->head = true;
}

OrderedOutput::~OrderedOutput() = default;

ByteSink& OrderedOutput::ForInput(std::size_t index, std::uint64_t expected) {
    Slot& slot = *slots_.at(index);
    slot.expected = expected;
    return slot;
}

// Under the lock. Spools are kept for the next inputs: fresh memory costs a page fault a page.
OrderedOutput::Buffer OrderedOutput::TakeBuffer(std::size_t capacity) {
    for (auto kept = free_.begin(); kept != free_.end(); ++kept) {
        if (kept->capacity < capacity) continue;
        Buffer taken = std::move(*kept);
        free_.erase(kept);
        return taken;
    }
    return Buffer{std::unique_ptr<std::uint8_t[]>(new std::uint8_t[capacity]), capacity};
}

void OrderedOutput::GiveBack(Buffer buffer) {
    std::uint64_t kept = 0;
    for (const auto& other : free_) kept += other.capacity;
    if (buffer.data && kept + buffer.capacity <= spoolLimit_) free_.push_back(std::move(buffer));
}

void OrderedOutput::WaitForRoom(Slot& slot, std::size_t size, std::unique_lock<std::mutex>& lock) {
    changed_.wait(lock,
                  [&] { return slot.head || abandoned_ || spooled_ + slot.Wanted(size) <= spoolLimit_; });
}

// Under the lock, released meanwhile: moves what the slot kept into a file of its own, and its
// memory back to the budget. False where there is no folder for it or no file can be made.
bool OrderedOutput::Spill(Slot& slot, std::unique_lock<std::mutex>& lock) {
    if (!spillFolder_) return false;
    lock.unlock();
    std::unique_ptr<SpillFile> file;
    try {
        file = std::make_unique<SpillFile>(*spillFolder_);
        file->Append(slot.spool.data.get(), slot.used);
    } catch (const std::exception&) {
        lock.lock();
        return false;  // it waits, as without a folder
    }
    Buffer own{std::unique_ptr<std::uint8_t[]>(new std::uint8_t[kSpillPiece]), kSpillPiece};
    lock.lock();
    spooled_ -= slot.capacity;
    GiveBack(std::move(slot.spool));
    slot.spool = std::move(own);
    slot.capacity = kSpillPiece;
    slot.used = 0;
    slot.spill = std::move(file);
    changed_.notify_all();
    return true;
}

// The input's thread, at its turn: what it kept goes first, then it writes through.
void OrderedOutput::TakeTurn(Slot& slot) {
    WriteSpool(slot);
    slot.direct = true;
    const std::lock_guard lock(mutex_);
    if (abandoned_) throw OutputAbandoned();
}

void OrderedOutput::WriteSpool(Slot& slot) {
    try {
        if (!abandoned_ && slot.spill) {
            slot.spill->ReadBack(
                [&](const std::uint8_t* data, std::size_t size) { output_.Write(data, size); });
            output_.Check();
        }
        if (!abandoned_ && slot.used) {
            output_.Write(slot.spool.data.get(), slot.used);
            output_.Check();
        }
    } catch (const std::exception& failure) {
        FailedOutput(failure);
    }
    const std::lock_guard lock(mutex_);
    if (!slot.spill) {
        spooled_ -= slot.capacity;
        GiveBack(std::move(slot.spool));
    }
    slot.spill.reset();
    slot.spool = {};
    slot.used = slot.capacity = 0;
    changed_.notify_all();
}

void OrderedOutput::Finish(std::size_t index) {
    {
        std::unique_lock lock(mutex_);
        Slot& slot = *slots_.at(index);
        slot.done = true;
        if (!slot.head) {
            changed_.notify_all();
            return;  // what it kept waits for its turn
        }
    }
    if (!slots_[index]->direct) WriteSpool(*slots_[index]);
    // the turn passes on: the inputs done meanwhile are written by this thread, theirs being gone
    for (std::size_t next = index + 1; next < slots_.size(); ++next) {
        {
            const std::lock_guard lock(mutex_);
            if (!slots_[next]->done) {
                slots_[next]->head = true;
                changed_.notify_all();
                return;
            }
        }
        WriteSpool(*slots_[next]);
    }
}

void OrderedOutput::Abandon() {
    const std::lock_guard lock(mutex_);
    abandoned_ = true;
    changed_.notify_all();
}

void OrderedOutput::FailedOutput(const std::exception& failure) {
    const std::lock_guard lock(mutex_);
    if (failure_.empty()) failure_ = failure.what();
    abandoned_ = true;
    changed_.notify_all();
}

std::string OrderedOutput::Failure() const {
    const std::lock_guard lock(mutex_);
    return failure_;
}

}  // namespace varnex
