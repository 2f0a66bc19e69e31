// The current registration text and its segments. Portable.
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace corvel {

// Segments of a registration text split at "||" (whole characters: a "|"
// that is a GBK trail byte separates nothing). A trailing separator gives no
// empty last segment; an empty text gives none.
std::vector<std::string> SplitRegistrationText(std::string_view text);

// Written by the install worker, read and replaced on the user-interface
// thread: a read never sees a half-written text.
class RegistrationText {
public:
    void Set(std::string text);
    std::string Get() const;

private:
    mutable std::mutex lock_;
    std::string text_;
};

}  // namespace corvel
