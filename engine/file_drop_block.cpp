#include "engine/file_drop_block.h"

namespace corvel {

namespace {

constexpr std::uint32_t kListOffset = 20;

void AppendLittleEndian(std::vector<std::uint8_t>& block, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) block.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> FileDropBlock(const std::vector<std::u16string>& paths) {
    std::vector<std::uint8_t> block;
    AppendLittleEndian(block, kListOffset, 4);
    AppendLittleEndian(block, 0, 4);  // point x
    AppendLittleEndian(block, 0, 4);  // point y
    AppendLittleEndian(block, 0, 4);  // non-client flag
    AppendLittleEndian(block, 1, 4);  // wide characters
    bool any = false;
    for (const std::u16string& path : paths) {
        // An empty name would end the list early.
        if (path.empty()) continue;
        for (char16_t unit : path) AppendLittleEndian(block, unit, 2);
        AppendLittleEndian(block, 0, 2);
        any = true;
    }
    if (!any) return {};
    AppendLittleEndian(block, 0, 2);
    return block;
}

}  // namespace corvel
