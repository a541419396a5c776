#include "DebugLogLines.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "platform/Platform.h"

namespace orb::bench {

namespace {

bool Digit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error) {
    throw std::runtime_error(what + " " + path + ": " + std::strerror(error));
}

}  // namespace

bool StartsLogEntry(std::string_view line) {
    static constexpr std::string_view kShape = "00/00/0000 00:00:00 - ";
    if (line.size() < kShape.size()) return false;
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const bool ok = kShape[i] == '0' ? Digit(line[i]) : line[i] == kShape[i];
        if (!ok) return false;
    }
    return true;
}

std::vector<std::string> SplitLogEntries(std::string_view contents) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (start < contents.size()) {
        std::size_t end = contents.find('\n', start);
        end = end == std::string_view::npos ? contents.size() : end + 1;
        const std::string_view line = contents.substr(start, end - start);
        if (entries.empty() || StartsLogEntry(line))
            entries.emplace_back(line);
        else
            entries.back() += line;
        start = end;
    }
    return entries;
}

std::vector<std::string> ReadLogEntries(const std::string& path) {
    std::string contents;
    if (!platform::ReadFile(path, contents)) return {};
    return SplitLogEntries(contents);
}

void AppendEachEntry(const std::string& path, const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd < 0) Fail("cannot open", path, errno);
        std::size_t done = 0;
        while (done < entry.size()) {
            const ssize_t n = ::write(fd, entry.data() + done, entry.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                const int error = n < 0 ? errno : EIO;
                ::close(fd);
                Fail("cannot write", path, error);
            }
            done += static_cast<std::size_t>(n);
        }
        if (::close(fd) != 0) Fail("cannot close", path, errno);
    }
}

}  // namespace orb::bench
