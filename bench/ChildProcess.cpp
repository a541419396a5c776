#include "ChildProcess.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

extern char** environ;

namespace orb::bench {

int RunSelf(const std::vector<std::string>& args) {
    std::error_code error;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (error) throw std::runtime_error("cannot find this program's own file: " + error.message());

    std::vector<std::string> texts{self};
    texts.insert(texts.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& text : texts) argv.push_back(text.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    if (const int rc = posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv.data(), environ); rc != 0)
        throw std::runtime_error("cannot start " + self + ": " + std::strerror(rc));
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) throw std::runtime_error(std::string("cannot wait for the child: ") + std::strerror(errno));
    }
    if (!WIFEXITED(status))
        throw std::runtime_error(self + " ended abnormally (status " + std::to_string(status) + ")");
    return WEXITSTATUS(status);
}

}  // namespace orb::bench
