#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "file_io.h"

namespace corvel {

std::optional<std::string> ReadWholeFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string data;
    off_t size = ::lseek(fd, 0, SEEK_END);
    if (size > 0 && ::lseek(fd, 0, SEEK_SET) == 0) data.reserve(static_cast<std::size_t>(size));
    char buffer[1 << 16];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0) break;
        data.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return data;
}

static bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t put = ::write(fd, data.data(), data.size());
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

bool ReplaceFileContents(const std::string& path, std::string_view data) {
    if (path.empty()) return false;
    std::string temp = ReplacementFileOf(path);
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool written = WriteAll(fd, data) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || std::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

void DiscardUnfinishedReplacement(const std::string& path) {
    if (!path.empty()) ::unlink(ReplacementFileOf(path).c_str());
}

}  // namespace corvel
