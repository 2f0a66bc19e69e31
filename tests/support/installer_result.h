// What the component tests share about the stand-in installer: waiting for
// it, and reading the result file it writes.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace corvel::testing {

// Polls condition every 50 ms; false when it is still false after timeoutMs.
template <typename Condition>
bool WaitFor(Condition condition, int timeoutMs = 15000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Sleep(50);
    }
    return true;
}

inline std::string Utf8(const std::wstring& text) {
    int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), length, nullptr, nullptr);
    return utf8;
}

// The key=value lines of the stand-in installer's result file (UTF-8), once
// it exists; empty when it does not appear in time.
inline std::map<std::string, std::string> ReadInstallerResult(const std::filesystem::path& path) {
    std::map<std::string, std::string> values;
    if (!WaitFor([&] { return std::filesystem::exists(path); })) return values;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        auto equals = line.find('=');
        if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return values;
}

}  // namespace corvel::testing
