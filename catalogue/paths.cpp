#include "catalogue/paths.h"

#include "catalogue/cp936.h"
#include "catalogue/names.h"

namespace corvel {

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsFlag(std::string_view token) {
    return !token.empty() && (token[0] == '/' || token[0] == '-');
}

// True when any backslash-separated component names a DOS device. Splits at
// whole characters, so a double-byte character ending in 0x5C stays whole.
bool HasDeviceComponent(std::string_view text) {
    std::size_t start = 0;
    for (;;) {
        std::size_t end = FindChars(text, "\\", start);
        std::string_view component =
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (MatchesDeviceName(component)) return true;
        if (end == std::string_view::npos) return false;
        start = end + 1;
    }
}

}  // namespace

PathKind ClassifyPath(std::string_view text) {
    std::string_view path = TrimLeft(text, kWhiteSpace);
    if (path.empty() || path[0] == '.') return PathKind::Invalid;

    // Byte by byte on purpose: a trail byte 0x7C or 0x5C is refused like the
    // ASCII character it shares its code with.
    bool hasDrive = false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        switch (path[i]) {
            case '\t':
            case '"':
            case '*':
            case '/':
            case '<':
            case '>':
            case '?':
            case '|':
                return PathKind::Invalid;
            case ':':
                if (i != 1) return PathKind::Invalid;
                hasDrive = true;
                break;
            case '\\':
                if (i + 1 < path.size() && (path[i + 1] == ' ' || path[i + 1] == '.' || path[i + 1] == '\\'))
                    return PathKind::Invalid;
                break;
            default:
                break;
        }
    }

    PathKind kind;
    if (hasDrive) {
        if (!IsAsciiLetter(path[0]) || path.size() <= 2 || path[2] != '\\') return PathKind::Invalid;
        kind = PathKind::Absolute;
    } else {
        kind = path[0] == '\\' ? PathKind::DriveRelative : PathKind::FolderRelative;
    }

    if (HasDeviceComponent(path)) return PathKind::Invalid;
    return kind;
}

bool SplitCommand(std::string_view text, std::vector<std::string>& tokens) {
    tokens.clear();
    if (text.empty()) return false;

    // Every delimiter is below 0x40, so it can never be a trail byte and a
    // plain byte scan is safe for GBK text.
    std::size_t i = 0;
    for (;;) {
        while (i < text.size() && kBlankTabLf.find(text[i]) != std::string_view::npos) ++i;
        if (i == text.size()) break;

        std::string_view token;
        const char first = text[i];
        if (first == '"') {
            std::size_t close = text.find('"', i + 1);
            if (close == std::string_view::npos) {
                tokens.clear();
                return false;
            }
            token = text.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            // A flag ends at the next dash or slash, so "/a-b" is two flags.
            std::string_view stops = (first == '-' || first == '/') ? std::string_view("-/\" ") : "\" ";
            std::size_t end = text.find_first_of(stops, i + 1);
            if (end == std::string_view::npos) end = text.size();
            token = text.substr(i, end - i);
            i = end;
        }

        if (!token.empty() && token != "-" && token != "/") tokens.emplace_back(token);
    }
    return !tokens.empty();
}

std::string ExtensionOfPath(std::string_view text) {
    // Single bytes: a trail byte 0x5C ends the last component here.
    std::size_t slash = text.rfind('\\');
    std::string_view name = slash == std::string_view::npos ? text : text.substr(slash + 1);
    std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

std::string WithTrailingBackslash(std::string_view text) {
    if (text.empty() || EndsWithChar(text, '\\')) return std::string(text);
    std::string out(text);
    out += '\\';
    return out;
}

bool IsNetworkPath(std::string_view text) {
    return text.size() > 2 && text[0] == '\\' && text[1] == '\\' && text[2] != '\\';
}

bool HasDoubledBackslash(std::string_view path) {
    // From the prefix's last backslash on, so that a third one is caught.
    std::size_t from = 0;
    if (path.substr(0, 4) == "\\\\?\\")
        from = 3;
    else if (path.substr(0, 2) == "\\\\")
        from = 1;
    return FindChars(path, "\\\\", from) != std::string_view::npos;
}

std::string ProgramFolderFromModulePath(std::string_view modulePath) {
    std::size_t slash = FindLastChar(modulePath, '\\');
    return slash == std::string_view::npos ? std::string() : std::string(modulePath.substr(0, slash + 1));
}

std::string PathResolver::ResolvePath(std::string_view text) const {
    if (text.empty() || programFolder_.empty()) return {};
    std::string_view rest = TrimLeft(text, kBlankTabLf);
    switch (ClassifyPath(rest)) {
        case PathKind::Absolute:
            return std::string(rest);
        case PathKind::DriveRelative:
            // On a network share this gives the two leading backslashes.
            return programFolder_.substr(0, 2).append(rest);
        case PathKind::FolderRelative:
            return std::string(programFolder_).append(rest);
        case PathKind::Invalid:
            break;
    }
    return {};
}

std::string PathResolver::ProgramPathOfCommand(std::string_view command, bool resolve) const {
    std::vector<std::string> tokens;
    if (!SplitCommand(command, tokens) || IsFlag(tokens.front())) return {};
    return resolve ? ResolvePath(tokens.front()) : tokens.front();
}

ResolvedCommand PathResolver::ResolveCommand(std::string_view command) const {
    ResolvedCommand result;
    std::vector<std::string> tokens;
    if (!SplitCommand(command, tokens) || IsFlag(tokens.front())) return result;

    // An invalid program path still succeeds; the caller finds it missing.
    result.program = ResolvePath(tokens.front());
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        if (i > 1) result.params += ' ';
        if (IsFlag(tokens[i])) {
            result.params += tokens[i];
        } else {
            result.params += '"';
            result.params += ResolvePath(tokens[i]);
            result.params += '"';
        }
    }
    result.ok = true;
    return result;
}

std::string PathResolver::FolderOfPath(std::string_view text) const {
    return FolderOfResolvedPath(ResolvePath(text));
}

std::string FolderOfResolvedPath(std::string_view resolved) {
    std::size_t slash = FindLastChar(resolved, '\\');
    if (slash == std::string::npos) return {};
    // "E:" alone names the drive's current folder, not its root.
    bool driveRoot = slash == 2 && resolved[1] == ':';
    return std::string(resolved.substr(0, driveRoot ? slash + 1 : slash));
}

}  // namespace corvel
