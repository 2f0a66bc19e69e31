// A block of text bytes that is not filled before it is written: a file
// read into it or a text copied into it is written once, not twice.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace corvel {

class TextBlock {
public:
    TextBlock() = default;
    // size bytes, left unset; throws std::bad_alloc.
    explicit TextBlock(std::size_t size) : bytes_(new char[size]), size_(size) {}

    char* Data() { return bytes_.get(); }
    std::size_t Size() const { return size_; }
    std::string_view View() const { return {bytes_.get(), size_}; }

private:
    std::unique_ptr<char[]> bytes_;
    std::size_t size_ = 0;
};

}  // namespace corvel
