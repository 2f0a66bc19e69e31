// cvxtool's entry point: gathers the arguments as UTF-8 and writes the
// results byte for byte.
#include <cstdio>
#include <string>
#include <vector>

#include "cvxtool/cvxtool.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include "catalogue/unique_handle.h"
#endif

namespace {

#ifdef _WIN32
// The wide command line is the only complete form of the arguments; argv
// would already have lost what the ANSI code page cannot hold.
bool Utf8Arguments(std::vector<std::string>& args, std::string& err) {
    int count = 0;
    corvel::UniqueLocal<LPWSTR*> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    LPWSTR* wide = arguments.get();
    if (!wide) {
        err += "cvxtool: cannot read the command line\n";
        return false;
    }
    bool ok = true;
    for (int i = 1; i < count && ok; ++i) {
        const int length = lstrlenW(wide[i]);
        std::string arg;
        if (length > 0) {
            // WC_ERR_INVALID_CHARS refuses a lone surrogate instead of
            // turning it into U+FFFD.
            const int bytes =
                WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide[i], length, nullptr, 0, nullptr, nullptr);
            if (bytes > 0) {
                arg.resize(static_cast<std::size_t>(bytes));
                WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide[i], length, arg.data(), bytes, nullptr,
                                    nullptr);
            } else {
                // Name it with the surrogate shown as U+FFFD.
                std::string shown(static_cast<std::size_t>(length) * 3, '\0');
                shown.resize(static_cast<std::size_t>(WideCharToMultiByte(
                    CP_UTF8, 0, wide[i], length, shown.data(), static_cast<int>(shown.size()), nullptr, nullptr)));
                err += "cvxtool: argument " + std::to_string(i) + " (\"" + shown +
                       "\") holds a lone surrogate, which has no UTF-8 form\n";
                ok = false;
            }
        }
        args.push_back(std::move(arg));
    }
    return ok;
}
#endif

void WriteAll(std::FILE* stream, const std::string& text) {
    if (!text.empty()) std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    std::string out, err;
    int code = 2;
#ifdef _WIN32
    (void)argc;
    (void)argv;
    // Our output is UTF-8 already; no CR LF translation on top.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    if (Utf8Arguments(args, err)) code = RunCvxtool(args, out, err);
#else
    args.assign(argv + 1, argv + argc);
    code = RunCvxtool(args, out, err);
#endif
    WriteAll(stdout, out);
    WriteAll(stderr, err);
    return code;
}
