#include "ChildProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

extern char** environ;

namespace orb::bench {

namespace {

int Run(const std::string& program, const std::vector<std::string>& args, const posix_spawn_file_actions_t* actions) {
    std::vector<std::string> texts{program};
    texts.insert(texts.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& text : texts) argv.push_back(text.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    if (const int rc = posix_spawn(&pid, program.c_str(), actions, nullptr, argv.data(), environ); rc != 0)
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(rc));
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) throw std::runtime_error(std::string("cannot wait for the child: ") + std::strerror(errno));
    }
    if (!WIFEXITED(status))
        throw std::runtime_error(program + " ended abnormally (status " + std::to_string(status) + ")");
    return WEXITSTATUS(status);
}

}  // namespace

int RunSelf(const std::vector<std::string>& args) {
    std::error_code error;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (error) throw std::runtime_error("cannot find this program's own file: " + error.message());
    return Run(self, args, nullptr);
}

int RunQuietly(const std::string& program, const std::vector<std::string>& args) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    try {
        const int code = Run(program, args, &actions);
        posix_spawn_file_actions_destroy(&actions);
        return code;
    } catch (...) {
        posix_spawn_file_actions_destroy(&actions);
        throw;
    }
}

}  // namespace orb::bench
