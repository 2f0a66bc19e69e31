// Splits and resolves arbitrary command texts and checks the invariants the
// callers rely on.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalogue/paths.h"

static void Check(bool condition) {
    if (!condition) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    corvel::PathResolver paths("D:\\temp\\");

    std::vector<std::string> tokens;
    bool split = corvel::SplitCommand(text, tokens);
    Check(split == !tokens.empty());
    for (const std::string& token : tokens) Check(!token.empty() && token != "-" && token != "/");

    corvel::ResolvedCommand command = paths.ResolveCommand(text);
    if (command.ok) Check(split && tokens[0][0] != '-' && tokens[0][0] != '/');
    if (!command.ok) Check(command.program.empty() && command.params.empty());

    corvel::PathKind kind = corvel::ClassifyPath(text);
    std::string resolved = paths.ResolvePath(text);
    if (kind == corvel::PathKind::Invalid) Check(resolved.empty());

    paths.ProgramPathOfCommand(text, true);
    paths.FolderOfPath(text);
    corvel::ExtensionOfPath(text);
    return 0;
}
