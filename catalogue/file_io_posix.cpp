#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "file_io.h"

namespace corvel {

std::optional<TextBlock> ReadWholeFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat status;
    if (::fstat(fd, &status) != 0 || status.st_size < 0) {
        ::close(fd);
        return std::nullopt;
    }
    // Straight into a block of the file's size: no buffer between, no bytes
    // filled in before they are read.
    TextBlock data(static_cast<std::size_t>(status.st_size));
    std::size_t done = 0;
    while (done < data.Size()) {
        ssize_t got = ::read(fd, data.Data() + done, data.Size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0) break;  // the file shrank while we read it
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    data.Shorten(done);
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
