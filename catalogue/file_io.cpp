#include "catalogue/file_io.h"

namespace corvel {

std::optional<std::string> ReadWholeFile(const std::string& path) {
    ReadableFile file(path);
    std::optional<std::size_t> size = file.Size();
    if (!size) return std::nullopt;
    std::string data(*size, '\0');
    std::size_t done = 0;
    while (done < data.size()) {
        std::optional<std::size_t> got = file.Read(data.data() + done, data.size() - done);
        if (!got) return std::nullopt;
        if (*got == 0) break;  // it shrank while we read it
        done += *got;
    }
    data.resize(done);
    return data;
}

}  // namespace corvel
