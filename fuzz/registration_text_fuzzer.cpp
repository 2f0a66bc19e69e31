// Splits arbitrary registration texts and checks that the segments put
// together again give the text back, less a final separator.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/registration_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> segments = corvel::SplitRegistrationText(text);
    if (text.empty() != segments.empty()) std::abort();

    std::string joined;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (i > 0) joined += "||";
        joined += segments[i];
    }
    if (joined != text && joined + "||" != text) std::abort();
    return 0;
}
