#include "cvxtool/cvxtool.h"

#include <optional>
#include <string_view>

#include "catalogue/catalogue_file.h"
#include "catalogue/catalogue_model.h"
#include "catalogue/names.h"
#include "catalogue/paths.h"
#include "catalogue/text_codec.h"
#include "cvxtool/json_writer.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kUsage =
    "Usage:\n"
    "  cvxtool dump FILE\n"
    "      Print catalogue FILE as one line of JSON, texts in UTF-8.\n"
    "      Each line the reader drops is reported on stderr.\n"
    "  cvxtool resolve --program-folder DIR TEXT...\n"
    "      For each TEXT print one line of JSON: its path kind, resolved path,\n"
    "      command tokens, program path and resolved parameters, with DIR as\n"
    "      the program folder. Every argument after DIR is a TEXT.\n"
    "  cvxtool name TEXT...\n"
    "      For each TEXT print one line of JSON telling whether it is a valid\n"
    "      folder name. Every argument is a TEXT.\n"
    "  cvxtool resave IN OUT\n"
    "      Read catalogue IN and write it to OUT as the program saves it.\n"
    "  cvxtool --help\n"
    "      Print this text.\n"
    "Arguments are UTF-8; TEXT and DIR must have a code page 936 form.\n"
    "Exit status: 0 done, 1 a catalogue could not be read or written,\n"
    "2 wrong usage or an argument that cannot be converted.\n";

int UsageError(std::string& err, std::string_view problem) {
    err += "cvxtool: ";
    err += problem;
    err += '\n';
    err += kUsage;
    return kExitUsage;
}

// Length of the well-formed UTF-8 sequence starting at text[pos], or 0.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos) {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byteAt(pos);
    if (first < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        if (first == 0xE0) low = 0xA0;   // no overlong forms
        if (first == 0xED) high = 0x9F;  // no surrogates
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        if (first == 0xF0) low = 0x90;
        if (first == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    if (byteAt(pos + 1) < low || byteAt(pos + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if ((byteAt(pos + i) & 0xC0) != 0x80) return 0;
    }
    return length;
}

// An argument as shown in a message: bytes that are not UTF-8 appear as
// \xHH so that the message itself stays UTF-8.
std::string Displayable(std::string_view arg) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < arg.size();) {
        const std::size_t length = Utf8SequenceLength(arg, i);
        if (length == 0) {
            const unsigned char byte = static_cast<unsigned char>(arg[i]);
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
            ++i;
        } else {
            out.append(arg, i, length);
            i += length;
        }
    }
    return out;
}

// Texts are quoted so that blanks at their ends and empty texts show.
std::string Quoted(std::string_view arg) {
    std::string out = "\"";
    out += Displayable(arg);
    out += '"';
    return out;
}

std::optional<std::string> ToCp936(const std::string& arg, std::string& err) {
    std::optional<std::string> converted = corvel::Utf8ToCp936(arg);
    if (!converted) {
        err += "cvxtool: argument " + Quoted(arg) +
               " is not valid UTF-8 or holds a character that code page 936 cannot represent\n";
    }
    return converted;
}

std::optional<std::string> ToNativePath(const std::string& arg, std::string& err) {
    std::optional<std::string> path = corvel::Utf8ToNativePath(arg);
    if (!path) err += "cvxtool: path " + Displayable(arg) + " is not valid UTF-8 or has no code page 936 form\n";
    return path;
}

std::string_view DroppedLineReason(corvel::DroppedLine reason) {
    switch (reason) {
        case corvel::DroppedLine::BadCategoryHeader:
            return "bad category header";
        case corvel::DroppedLine::CategoryRefused:
            return "category refused by the catalogue";
        case corvel::DroppedLine::ItemBeforeCategory:
            return "item before any category";
        case corvel::DroppedLine::ItemBehindBadCategory:
            return "item behind a bad or refused category";
        case corvel::DroppedLine::MalformedItem:
            return "malformed item line";
        case corvel::DroppedLine::ItemWithoutNameOrSrcPath:
            return "item without Name or SrcPath";
    }
    return "dropped";
}

// Loads the catalogue named by the UTF-8 argument, reporting each dropped
// line on err. Returns the exit code: kExitOk when it was read.
int LoadForCommand(corvel::Catalogue& catalogue, const std::string& pathArg, std::string& err) {
    const std::optional<std::string> path = ToNativePath(pathArg, err);
    if (!path) return kExitUsage;
    const auto report = [&err](std::size_t line, corvel::DroppedLine reason) {
        err += "line " + std::to_string(line) + ": ";
        err += DroppedLineReason(reason);
        err += '\n';
    };
    if (!corvel::LoadCatalogue(catalogue, *path, report)) {
        err += "cvxtool: cannot read catalogue " + Displayable(pathArg) + " (missing, empty or unreadable)\n";
        return kExitFailed;
    }
    return kExitOk;
}

std::string CatalogueJson(corvel::Catalogue& catalogue) {
    using corvel::Cp936ToUtf8;
    cvxtool::JsonWriter json;
    json.BeginObject().Key("categories").BeginArray();
    const corvel::CatalogueNode* root = catalogue.Root();
    for (const corvel::CatalogueNode* category = root ? root->FirstChild() : nullptr; category;
         category = category->NextSibling()) {
        if (category->Kind() != corvel::NodeKind::Category) continue;
        json.BeginObject().Key("name").String(Cp936ToUtf8(category->Name())).Key("items").BeginArray();
        for (const corvel::CatalogueNode* item = category->FirstChild(); item; item = item->NextSibling()) {
            corvel::ItemFields fields;
            if (item->Kind() != corvel::NodeKind::Item || !catalogue.GetItemFields(item, fields)) continue;
            json.BeginObject();
            json.Key("Name").String(Cp936ToUtf8(fields.Name));
            json.Key("SrcPath").String(Cp936ToUtf8(fields.SrcPath));
            json.Key("DstDir").String(Cp936ToUtf8(fields.DstDir));
            json.Key("Patch").String(Cp936ToUtf8(fields.Patch));
            json.Key("Regcode").String(Cp936ToUtf8(fields.Regcode));
            json.Key("Settings").String(Cp936ToUtf8(fields.Settings));
            json.Key("Comment").String(Cp936ToUtf8(fields.Comment));
            json.EndObject();
        }
        json.EndArray().EndObject();
    }
    json.EndArray().EndObject();
    return json.Text();
}

int Dump(const std::vector<std::string>& args, std::string& out, std::string& err) {
    if (args.size() != 2) return UsageError(err, "dump takes exactly one FILE");
    corvel::Catalogue catalogue;
    if (const int code = LoadForCommand(catalogue, args[1], err); code != kExitOk) return code;
    out += CatalogueJson(catalogue);
    out += '\n';
    return kExitOk;
}

int Resave(const std::vector<std::string>& args, std::string& err) {
    if (args.size() != 3) return UsageError(err, "resave takes exactly IN and OUT");
    const std::optional<std::string> target = ToNativePath(args[2], err);
    if (!target) return kExitUsage;
    corvel::Catalogue catalogue;
    if (const int code = LoadForCommand(catalogue, args[1], err); code != kExitOk) return code;
    if (!corvel::SaveCatalogue(catalogue, *target)) {
        err += "cvxtool: cannot write catalogue " + Displayable(args[2]) + "\n";
        return kExitFailed;
    }
    return kExitOk;
}

// Converts every TEXT before anything is printed, so a bad argument leaves
// no partial output behind.
std::optional<std::vector<std::string>> ConvertTexts(const std::vector<std::string>& args, std::size_t first,
                                                     std::string& err) {
    std::vector<std::string> texts;
    for (std::size_t i = first; i < args.size(); ++i) {
        std::optional<std::string> text = ToCp936(args[i], err);
        if (!text) return std::nullopt;
        texts.push_back(std::move(*text));
    }
    return texts;
}

int Resolve(const std::vector<std::string>& args, std::string& out, std::string& err) {
    if (args.size() < 3 || args[1] != "--program-folder") {
        return UsageError(err, "resolve needs --program-folder DIR");
    }
    if (args.size() < 4) return UsageError(err, "resolve needs at least one TEXT");
    const std::optional<std::string> folder = ToCp936(args[2], err);
    if (!folder) return kExitUsage;
    const std::optional<std::vector<std::string>> texts = ConvertTexts(args, 3, err);
    if (!texts) return kExitUsage;

    using corvel::Cp936ToUtf8;
    const corvel::PathResolver resolver(corvel::WithTrailingBackslash(*folder));
    for (const std::string& text : *texts) {
        cvxtool::JsonWriter json;
        json.BeginObject();
        json.Key("text").String(Cp936ToUtf8(text));
        json.Key("kind").Int(static_cast<int>(corvel::ClassifyPath(text)));
        json.Key("path").String(Cp936ToUtf8(resolver.ResolvePath(text)));
        json.Key("split");
        std::vector<std::string> tokens;
        if (corvel::SplitCommand(text, tokens)) {
            json.BeginArray();
            for (const std::string& token : tokens) json.String(Cp936ToUtf8(token));
            json.EndArray();
        } else {
            json.Null();
        }
        const corvel::ResolvedCommand command = resolver.ResolveCommand(text);
        json.Key("program").String(Cp936ToUtf8(resolver.ProgramPathOfCommand(text, true)));
        json.Key("params").String(command.ok ? Cp936ToUtf8(command.params) : std::string());
        json.Key("ok").Bool(command.ok);
        json.EndObject();
        out += json.Text();
        out += '\n';
    }
    return kExitOk;
}

int Name(const std::vector<std::string>& args, std::string& out, std::string& err) {
    if (args.size() < 2) return UsageError(err, "name needs at least one TEXT");
    const std::optional<std::vector<std::string>> texts = ConvertTexts(args, 1, err);
    if (!texts) return kExitUsage;
    for (const std::string& text : *texts) {
        cvxtool::JsonWriter json;
        json.BeginObject();
        json.Key("text").String(corvel::Cp936ToUtf8(text));
        json.Key("valid").Bool(corvel::IsValidFolderName(text));
        json.EndObject();
        out += json.Text();
        out += '\n';
    }
    return kExitOk;
}

}  // namespace

int RunCvxtool(const std::vector<std::string>& argsUtf8, std::string& out, std::string& err) {
    if (argsUtf8.empty()) return UsageError(err, "no command given");
    const std::string& command = argsUtf8[0];
    if (command == "--help" || command == "-h" || command == "help") {
        if (argsUtf8.size() != 1) return UsageError(err, command + " takes no arguments");
        out += kUsage;
        return kExitOk;
    }
    if (command == "dump") return Dump(argsUtf8, out, err);
    if (command == "resolve") return Resolve(argsUtf8, out, err);
    if (command == "name") return Name(argsUtf8, out, err);
    if (command == "resave") return Resave(argsUtf8, err);
    return UsageError(err, "unknown command " + Quoted(command));
}
