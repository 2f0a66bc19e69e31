#include <iconv.h>

#include <cerrno>

#include "catalogue/cp936.h"
#include "catalogue/text_codec.h"

namespace corvel {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// One iconv descriptor for the length of a call; iconv descriptors must not
// be shared between threads.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (Ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Appends the conversion of all of in to out. False, with out as it was,
    // when any byte is invalid, incomplete or has no form in the target.
    bool Convert(std::string_view in, std::string& out) {
        if (!Ok()) return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        const std::size_t start = out.size();
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        std::size_t used = start;
        out.resize(start + in.size() * 2 + 8);
        for (;;) {
            char* dst = out.data() + used;
            std::size_t dstLeft = out.size() - used;
            const std::size_t result = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            used = static_cast<std::size_t>(dst - out.data());
            if (result != static_cast<std::size_t>(-1)) {
                // A non-zero count means a substitute was written; we want none.
                if (result != 0 || srcLeft != 0) break;
                out.resize(used);
                return true;
            }
            if (errno != E2BIG) break;
            out.resize(out.size() * 2);
        }
        out.resize(start);
        return false;
    }

private:
    iconv_t cd_;
};

}  // namespace

std::string Cp936ToUtf8(std::string_view text) {
    if (IsAscii(text)) return std::string(text);
    Converter toUtf8("UTF-8", "CP936");
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        // CharLength gives 1 for 0x80, 0xFF and a lead byte at the very end.
        const std::size_t length = CharLength(text, i);
        if (toUtf8.Convert(text.substr(i, length), out)) {
            i += length;
        } else {
            // Only the lead byte is lost; its partner may start a character.
            out += kReplacement;
            ++i;
        }
    }
    return out;
}

std::optional<std::string> Utf8ToCp936(std::string_view text) {
    if (IsAscii(text)) return std::string(text);
    Converter toCp936("CP936", "UTF-8");
    std::string out;
    if (!toCp936.Convert(text, out)) return std::nullopt;
    return out;
}

std::optional<std::string> Utf8ToNativePath(std::string_view path) {
    return std::string(path);
}

}  // namespace corvel
