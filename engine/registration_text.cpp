#include "engine/registration_text.h"

#include "catalogue/cp936.h"

namespace corvel {

std::vector<std::string> SplitRegistrationText(std::string_view text) {
    static constexpr std::string_view kSeparator = "||";
    std::vector<std::string> segments;
    std::size_t position = 0;
    while (position < text.size()) {
        std::size_t found = FindChars(text, kSeparator, position);
        if (found == std::string_view::npos) {
            segments.emplace_back(text.substr(position));
            break;
        }
        segments.emplace_back(text.substr(position, found - position));
        position = found + kSeparator.size();
    }
    return segments;
}

void RegistrationText::Set(std::string text) {
    std::lock_guard<std::mutex> hold(lock_);
    text_ = std::move(text);
}

std::string RegistrationText::Get() const {
    std::lock_guard<std::mutex> hold(lock_);
    return text_;
}

}  // namespace corvel
