#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "catalogue/file_io.h"

namespace corvel {

ReadableFile::ReadableFile(const std::string& path) : handle_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}

ReadableFile::~ReadableFile() {
    if (IsOpen()) ::close(static_cast<int>(handle_));
}

std::optional<std::size_t> ReadableFile::Size() const {
    struct stat status;
    if (!IsOpen() || ::fstat(static_cast<int>(handle_), &status) != 0 || status.st_size < 0) return std::nullopt;
    return static_cast<std::size_t>(status.st_size);
}

std::optional<std::size_t> ReadableFile::Read(char* data, std::size_t size) {
    for (;;) {
        ssize_t got = ::read(static_cast<int>(handle_), data, size);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) return std::nullopt;
    }
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

bool PathExists(const std::string& path) {
    struct stat status;
    if (path.empty()) return false;
    return ::lstat(path.c_str(), &status) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

bool MoveIntoPlace(const std::string& from, const std::string& to) {
    // A hard link fails where to exists, so nothing is replaced.
    if (from.empty() || to.empty() || ::link(from.c_str(), to.c_str()) != 0) return false;
    ::unlink(from.c_str());
    return true;
}

bool RemoveFile(const std::string& path) {
    return !path.empty() && ::unlink(path.c_str()) == 0;
}

}  // namespace corvel
