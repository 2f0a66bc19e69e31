// Just enough JSON for cvxtool's one-line reports. Texts go in as UTF-8 and
// come out unchanged apart from the escapes JSON requires.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cvxtool {

// text as a quoted JSON string: ", \ and control characters escaped, every
// other byte (UTF-8 included) as it is.
std::string JsonString(std::string_view text);

// Builds compact JSON (no blanks), putting the commas in by itself.
class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The name of the next member of the open object.
    JsonWriter& Key(std::string_view name);
    JsonWriter& String(std::string_view text);
    JsonWriter& Int(long long value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();

    const std::string& Text() const { return text_; }

private:
    void BeforeValue();

    std::string text_;
    // One entry per open object or array: true until its first element.
    std::vector<bool> empty_;
    bool afterKey_ = false;
};

}  // namespace cvxtool
