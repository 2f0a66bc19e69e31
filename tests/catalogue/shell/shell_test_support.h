// A scratch folder under the system temp folder for the shell helper tests.
#pragma once

#include <string>
#include <string_view>

namespace corvel::testing {

inline const std::string kChinese = "\xD6\xD0\xCE\xC4";  // 中文

// A fresh folder, deleted with its whole tree (links not followed) at the
// end. Paths are code page 936.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return root_; }  // ends with "\"
    std::string operator/(std::string_view name) const { return root_ + std::string(name); }

private:
    std::string root_;
};

// Set-up and checks through the raw API, never through the code under test.
void PutFile(const std::string& path, std::string_view data);
std::string GetFile(const std::string& path);  // "<missing>" when absent
void MakeFolder(const std::string& path);
bool Exists(const std::string& path);

// base followed by levels with Chinese names, longer than MAX_PATH in all.
std::string LongFolderPath(const std::string& base);

}  // namespace corvel::testing
