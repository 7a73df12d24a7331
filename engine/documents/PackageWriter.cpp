#include "documents/PackageWriter.h"

#include <unistd.h>
#include <zip.h>

#include <cerrno>

#include "Failure.h"
#include "documents/DocumentCancelled.h"
#include "documents/PackageReader.h"

namespace varnex {

// The write side of the package: the descriptor, written at the positions libzip asks for.
// Beginning, committing and rolling back are the SafeOutput's business, so they do nothing.
struct PackageWriter::Target {
    int fd = -1;
    zip_error_t error{};
    std::function<void(double)> progress;
    std::function<bool()> cancelled;
};

namespace {

zip_int64_t Failed(zip_error_t& error, int zipCode) {
    zip_error_set(&error, zipCode, errno);
    return -1;
}

zip_int64_t SeekWrite(int fd, zip_error_t& error, void* data, zip_uint64_t length) {
    auto* args = ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, length, &error);
    if (!args) return -1;
    const int whence = args->whence == SEEK_SET ? SEEK_SET : args->whence == SEEK_CUR ? SEEK_CUR : SEEK_END;
    return ::lseek(fd, args->offset, whence) < 0 ? Failed(error, ZIP_ER_SEEK) : 0;
}

zip_int64_t Write(int fd, zip_error_t& error, const void* data, zip_uint64_t length) {
    const auto* bytes = static_cast<const char*>(data);
    zip_uint64_t done = 0;
    while (done < length) {
        const ssize_t put = ::write(fd, bytes + done, length - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            if (put == 0) errno = ENOSPC;
            return Failed(error, ZIP_ER_WRITE);
        }
        done += static_cast<zip_uint64_t>(put);
    }
    return static_cast<zip_int64_t>(done);
}

zip_int64_t TargetCommand(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    auto& target = *static_cast<PackageWriter::Target*>(state);
    switch (command) {
        case ZIP_SOURCE_OPEN:  // the package begins empty: reading it ends at once
        case ZIP_SOURCE_READ:
        case ZIP_SOURCE_CLOSE:
        case ZIP_SOURCE_SEEK:
        case ZIP_SOURCE_TELL:
        case ZIP_SOURCE_BEGIN_WRITE:
        case ZIP_SOURCE_COMMIT_WRITE:
        case ZIP_SOURCE_ROLLBACK_WRITE:
        case ZIP_SOURCE_FREE:
        case ZIP_SOURCE_REMOVE:
            return 0;
        case ZIP_SOURCE_WRITE:
            return Write(target.fd, target.error, data, length);
        case ZIP_SOURCE_SEEK_WRITE:
            return SeekWrite(target.fd, target.error, data, length);
        case ZIP_SOURCE_TELL_WRITE: {
            const off_t at = ::lseek(target.fd, 0, SEEK_CUR);
            return at < 0 ? Failed(target.error, ZIP_ER_TELL) : at;
        }
        case ZIP_SOURCE_STAT: {
            // a new, empty package: nothing to read
            auto* stat = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &target.error);
            if (!stat) return -1;
            zip_stat_init(stat);
            stat->size = 0;
            stat->valid = ZIP_STAT_SIZE;
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&target.error, data, length);
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(
                ZIP_SOURCE_BEGIN_WRITE, ZIP_SOURCE_COMMIT_WRITE, ZIP_SOURCE_ROLLBACK_WRITE, ZIP_SOURCE_WRITE,
                ZIP_SOURCE_SEEK_WRITE, ZIP_SOURCE_TELL_WRITE, ZIP_SOURCE_REMOVE, ZIP_SOURCE_STAT,
                ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SUPPORTS, ZIP_SOURCE_OPEN, ZIP_SOURCE_READ,
                ZIP_SOURCE_CLOSE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL, -1);
        default:
            zip_error_set(&target.error, ZIP_ER_OPNOTSUPP, 0);
            return -1;
    }
}

void ReportProgress(zip_t*, double share, void* state) {
    auto& target = *static_cast<PackageWriter::Target*>(state);
    if (target.progress) target.progress(share);
}

int AskCancel(zip_t*, void* state) {
    auto& target = *static_cast<PackageWriter::Target*>(state);
    return target.cancelled && target.cancelled() ? 1 : 0;
}

}  // namespace

PackageWriter::PackageWriter(int descriptor, std::string shownName)
    : target_(std::make_unique<Target>()), shown_(std::move(shownName)) {
    target_->fd = descriptor;
    zip_error_init(&target_->error);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_function_create(TargetCommand, target_.get(), &error);
    if (source) archive_ = zip_open_from_source(source, ZIP_TRUNCATE, &error);
    if (!archive_) {
        const std::string problem = zip_error_strerror(&error);
        if (source) zip_source_free(source);
        zip_error_fini(&error);
        throw Failure(kDeviceError, shown_ + ": cannot write the package: " + problem);
    }
    zip_error_fini(&error);
}

PackageWriter::~PackageWriter() {
    if (archive_) zip_discard(archive_);
    zip_error_fini(&target_->error);
}

void PackageWriter::Place(std::int64_t index, const std::string& name, std::int32_t method) {
    // zip's own level: libzip would otherwise compress as hard as it can, three times slower
    const zip_uint32_t level = method == ZIP_CM_DEFLATE ? 6 : 0;
    if (index < 0 ||
        zip_set_file_compression(archive_, static_cast<zip_uint64_t>(index), method, level) != 0) {
        throw Failure(kDeviceError, shown_ + ": cannot add " + name + ": " + zip_strerror(archive_));
    }
}

void PackageWriter::Copy(PackageReader& from, std::size_t index) {
    const std::string& name = from.Entries().at(index).name;
    zip_source_t* source = zip_source_zip(archive_, from.Archive(), index, 0, 0, -1);
    if (!source)
        throw Failure(kDeviceError, shown_ + ": cannot copy " + name + ": " + zip_strerror(archive_));
    const zip_int64_t added = zip_file_add(archive_, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (added < 0) zip_source_free(source);
    Place(added, name, from.Entries()[index].method);
}

void PackageWriter::Add(const std::string& name, const std::string& data, std::int32_t method) {
    zip_source_t* source = zip_source_buffer(archive_, data.data(), data.size(), 0);
    if (!source) throw Failure(kDeviceError, shown_ + ": cannot add " + name + ": " + zip_strerror(archive_));
    const zip_int64_t added = zip_file_add(archive_, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (added < 0) zip_source_free(source);
    Place(added, name, method == ZIP_CM_STORE ? ZIP_CM_STORE : ZIP_CM_DEFLATE);
}

void PackageWriter::Finish(const std::function<void(double)>& progress,
                           const std::function<bool()>& cancelled) {
    target_->progress = progress;
    target_->cancelled = cancelled;
    zip_register_progress_callback_with_state(archive_, 0.001, ReportProgress, nullptr, target_.get());
    zip_register_cancel_callback_with_state(archive_, AskCancel, nullptr, target_.get());
    if (zip_close(archive_) == 0) {
        archive_ = nullptr;
        return;
    }
    if (zip_error_code_zip(zip_get_error(archive_)) == ZIP_ER_CANCELLED) throw DocumentCancelled();
    throw Failure(kDeviceError, shown_ + ": cannot write the package: " + zip_strerror(archive_));
}

}  // namespace varnex
