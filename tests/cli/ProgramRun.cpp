#include "ProgramRun.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "TestDatabase.h"

namespace varnex::test {

namespace {

std::vector<char*> Argv(const std::filesystem::path& program, const std::vector<std::string>& args,
                        std::vector<std::string>& storage) {
    storage.clear();
    storage.push_back(program.string());
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& word : storage) argv.push_back(word.data());
    argv.push_back(nullptr);
    return argv;
}

void Redirect(int fd, const std::filesystem::path& path, int flags) {
    const int opened = ::open(path.c_str(), flags, 0644);
    if (opened < 0) ::_exit(120);
    ::dup2(opened, fd);
    ::close(opened);
}

std::filesystem::path Scratch(const char* name) {
    return std::filesystem::temp_directory_path() /
           (std::string("varnex-run-") + std::to_string(::getpid()) + name);
}

pid_t Spawn(const std::filesystem::path& program, const std::vector<std::string>& args, const RunSetup& setup,
            int inputFd, const std::filesystem::path& out, const std::filesystem::path& err) {
    std::vector<std::string> storage;
    std::vector<char*> argv = Argv(program, args, storage);
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid > 0) return pid;
    if (inputFd >= 0) {
        ::dup2(inputFd, STDIN_FILENO);
        ::close(inputFd);
    } else {
        Redirect(STDIN_FILENO, setup.standardInput.value_or("/dev/null"), O_RDONLY);
    }
    Redirect(STDOUT_FILENO, setup.standardOutput.value_or(out),
             O_WRONLY | O_CREAT | (setup.standardOutput ? O_APPEND : O_TRUNC));
    Redirect(STDERR_FILENO, err, O_WRONLY | O_CREAT | O_TRUNC);
    if (!setup.folder.empty() && ::chdir(setup.folder.c_str()) != 0) ::_exit(121);
    if (setup.inChild) setup.inChild();
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

}  // namespace

pid_t StartProgram(const std::filesystem::path& program, const std::vector<std::string>& args, int inputFd,
                   const std::filesystem::path& out, const std::filesystem::path& err,
                   const RunSetup& setup) {
    const pid_t pid = Spawn(program, args, setup, inputFd, out, err);
    if (inputFd >= 0) ::close(inputFd);
    return pid;
}

RunResult WaitProgram(pid_t pid, const std::filesystem::path& out, const std::filesystem::path& err) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    RunResult result;
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    if (std::filesystem::exists(out)) result.out = ReadFile(out);
    result.err = ReadFile(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return result;
}

RunResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                     const RunSetup& setup) {
    const auto out = Scratch("-out"), err = Scratch("-err");
    return WaitProgram(Spawn(program, args, setup, -1, out, err), out, err);
}

}  // namespace varnex::test
