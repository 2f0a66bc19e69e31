#include "bench/generated_catalogue.h"

#include <string_view>

namespace {

// Code page 936 bytes of a few common words.
constexpr std::string_view kSoftware = "\xC8\xED\xBC\xFE";  // software
constexpr std::string_view kInstall = "\xB0\xB2\xD7\xB0";   // install
constexpr std::string_view kProgram = "\xB3\xCC\xD0\xF2";   // program
constexpr std::string_view kRegister = "\xD7\xA2\xB2\xE1";  // register
constexpr std::string_view kTool = "\xB9\xA4\xBE\xDF";      // tool

void AppendField(std::string& line, std::string_view key, const std::string& value) {
    line.append(key).append("=").append(value).push_back('\x02');
}

}  // namespace

std::string GenerateCatalogueText(int categories, int itemsPerCategory) {
    std::string text;
    text.reserve(static_cast<std::size_t>(categories) * itemsPerCategory * 230);
    for (int c = 0; c < categories; ++c) {
        std::string category = std::string(kTool) + std::to_string(c);
        text.append("[").append(category).append("]\r\n");
        for (int i = 0; i < itemsPerCategory; ++i) {
            std::string n = std::to_string(c * itemsPerCategory + i);
            text.append("<");
            AppendField(text, "Name", std::string(kSoftware).append(kInstall) + " " + n);
            AppendField(text, "SrcPath", "Soft\\" + category + "\\setup_" + n + ".exe /S /D=C:\\Apps");
            AppendField(text, "DstDir", "C:\\Program Files\\" + std::string(kProgram) + n);
            AppendField(text, "Patch", "Patch\\" + category + "\\chs_" + n + ".exe -q");
            AppendField(text, "Regcode",
                        "User " + n +
                            "||Corvel Ltd\x03\x03"
                            "ABCD-EFGH-" +
                            n + "-XYZW");
            AppendField(text, "Settings", "Reg\\app_" + n + ".reg");
            text.append("Comment=").append(kRegister).append(kProgram).append(" ").append(n).append(">\r\n");
        }
    }
    return text;
}
