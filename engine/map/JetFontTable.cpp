#include "map/JetFontTable.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "Failure.h"
#include "map/JetReaderProtocol.h"

extern char** environ;

namespace varnex {

namespace {

constexpr std::size_t kPageSize = 4096;
constexpr std::size_t kLongestAnswer = 512u << 20;

[[noreturn]] void Damaged(const std::filesystem::path& path, const std::string& why) {
    throw Failure(kBadFileFormat, "The font map \"" + path.string() + "\" cannot be read: " + why + ".");
}

std::string ReadAt(int descriptor, off_t offset, std::size_t count) {
    std::string bytes(count, '\0');
    const ssize_t got = ::pread(descriptor, bytes.data(), count, offset);
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return bytes;
}

// The reader's answer, parsed with every length checked.
class Answer {
public:
    Answer(const std::string& bytes, const std::filesystem::path& path) : bytes_(bytes), path_(path) {}

    FontTable Table() {
        if (bytes_.compare(0, sizeof jet::kMagic, jet::kMagic, sizeof jet::kMagic) != 0) Broken();
        at_ = sizeof jet::kMagic;
        FontTable table;
        if (Peek() == jet::kError) Refused();
        const std::uint32_t columns = Number();
        if (columns == 0 || columns > 4096) Broken();
        for (std::uint32_t i = 0; i < columns; ++i) table.columns.push_back(Text());
        while (true) {
            const char tag = Byte();
            if (tag == jet::kEnd) break;
            if (tag == jet::kError) --at_, Refused();
            if (tag != jet::kRow) Broken();
            auto& row = table.rows.emplace_back();
            for (std::uint32_t i = 0; i < columns; ++i) {
                const char kind = Byte();
                if (kind == jet::kNull) {
                    row.emplace_back(std::nullopt);
                } else if (kind == jet::kText) {
                    row.emplace_back(Text());
                } else {
                    Broken();
                }
            }
        }
        return table;
    }

private:
    char Peek() const { return at_ < bytes_.size() ? bytes_[at_] : '\0'; }
    char Byte() {
        if (at_ >= bytes_.size()) Broken();
        return bytes_[at_++];
    }
    std::uint32_t Number() {
        if (bytes_.size() - at_ < 4) Broken();
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= std::uint32_t(static_cast<unsigned char>(bytes_[at_ + i])) << (8 * i);
        at_ += 4;
        return value;
    }
    std::string Text() {
        const std::uint32_t length = Number();
        if (bytes_.size() - at_ < length) Broken();
        std::string text = bytes_.substr(at_, length);
        at_ += length;
        return text;
    }
    [[noreturn]] void Refused() {
        ++at_;
        Damaged(path_, Text());
    }
    [[noreturn]] void Broken() { Damaged(path_, "the reader's answer is cut short"); }

    const std::string& bytes_;
    const std::filesystem::path& path_;
    std::size_t at_ = 0;
};

// Runs the reader on the descriptor and collects its standard output within the time limit.
struct ReaderRun {
    std::string output;
    int status = 0;
    bool timedOut = false;
    bool tooLong = false;
};

ReaderRun RunReader(const std::filesystem::path& reader, int descriptor,
                    std::chrono::milliseconds timeLimit) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        throw Failure(kDeviceError, "Cannot start the Jet reader: no pipe.");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, descriptor, jet::kDatabaseDescriptor);
    const std::string program = reader.string();
    const std::string database = "/dev/fd/" + std::to_string(jet::kDatabaseDescriptor);
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(database.c_str()), nullptr};
    pid_t child = 0;
    const int error = ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (error != 0) {
        ::close(pipeEnds[0]);
        throw Failure(kFileNotFound,
                      "Cannot start the Jet 4.0 reader \"" + program + "\": " + std::strerror(error) + ".");
    }
    ReaderRun run;
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    char buffer[1 << 16];
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            run.timedOut = true;
            break;
        }
        pollfd wait{pipeEnds[0], POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        run.output.append(buffer, static_cast<std::size_t>(got));
        if (run.output.size() > kLongestAnswer) {
            run.tooLong = true;
            break;
        }
    }
    ::close(pipeEnds[0]);
    if (run.timedOut || run.tooLong) ::kill(child, SIGKILL);
    while (::waitpid(child, &run.status, 0) < 0 && errno == EINTR) {
    }
    return run;
}

}  // namespace

bool LooksLikeJetDatabase(std::string_view head) {
    static constexpr char kMagic[] = "\x00\x01\x00\x00Standard Jet DB";
    return head.size() >= sizeof kMagic - 1 && std::memcmp(head.data(), kMagic, sizeof kMagic - 1) == 0;
}

void CheckJetStructure(int descriptor, const std::filesystem::path& path) {
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) Damaged(path, std::strerror(errno));
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size < 3 * kPageSize || size % kPageSize != 0)
        Damaged(path, "it does not hold whole 4,096-byte pages");
    const std::string head = ReadAt(descriptor, 0, 0x18);
    if (!LooksLikeJetDatabase(head) || head.size() < 0x15) Damaged(path, "it lacks the Jet signature");
    if (head[0x14] != 1) {
        Damaged(path, "it is not of version Jet 4.0 (version byte " +
                          std::to_string(static_cast<unsigned char>(head[0x14])) + ")");
    }
    const std::string catalog = ReadAt(descriptor, 2 * kPageSize, 2);
    if (catalog.size() < 2 || catalog[0] != 0x02 || catalog[1] != 0x01) {
        Damaged(path, "page 2 does not hold the definition of its table of tables");
    }
}

std::filesystem::path JetReaderProgram() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::path(".") : self.parent_path()) / "varnex_jet_reader";
}

FontTable ReadJetFontTable(int descriptor, const std::filesystem::path& path,
                           std::chrono::milliseconds timeLimit, const std::filesystem::path& reader) {
    CheckJetStructure(descriptor, path);
    const ReaderRun run = RunReader(reader, descriptor, timeLimit);
    if (run.timedOut)
        Damaged(path, "reading it did not end within " + std::to_string(timeLimit.count()) + " ms");
    if (run.tooLong) Damaged(path, "it holds more than the program can take");
    if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0) {
        Damaged(path, WIFSIGNALED(run.status) ? "the reader stopped on damaged data (signal " +
                                                    std::to_string(WTERMSIG(run.status)) + ")"
                                              : "the reader failed");
    }
    return Answer(run.output, path).Table();
}

}  // namespace varnex
