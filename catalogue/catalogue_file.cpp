// Loading and saving the catalogue file, and where it lives.
#include "catalogue/catalogue_file.h"

#include <algorithm>
#include <optional>

#include "catalogue/catalogue_line_format.h"
#include "catalogue/cp936.h"
#include "catalogue/file_io.h"
#include "catalogue/filled_text_reader.h"

namespace corvel {

namespace {

// A catalogue text is whole when it is empty or its last line has its CR LF.
bool IsWholeCatalogueText(std::string_view text) {
    return text.empty() || text.ends_with(kCrLf);
}

void SettleUnfinishedReplacement(const std::string& path) {
    const std::string temp = ReplacementFileOf(path);
    if (!PathExists(temp)) return;
    if (PathExists(path)) {
        RemoveFile(temp);
        return;
    }
    std::optional<std::string> text = ReadWholeFile(temp);
    if (text && IsWholeCatalogueText(*text)) MoveIntoPlace(temp, path);
}

}  // namespace

bool LoadCatalogue(Catalogue& catalogue, const std::string& path, const DroppedLineCallback& onDropped,
                   bool* savesAsRead) {
    if (path.empty()) return false;
    SettleUnfinishedReplacement(path);
    ReadableFile file(path);
    std::optional<std::size_t> size = file.Size();
    if (!size || *size == 0) return false;
    // Straight into a block of the file's size, which becomes the store of
    // the names and fields read: no buffer between, no bytes filled twice.
    auto read = [&file](char* data, std::size_t size, const BackgroundFill::Progress& progress) {
        std::size_t done = 0;
        while (done < size) {
            std::optional<std::size_t> got = file.Read(data + done, std::min(kFillChunk, size - done));
            if (!got) return false;
            if (*got == 0) break;  // the file shrank while we read it
            done += *got;
            progress(done);
        }
        return done > 0;
    };
    TextBlock block(*size);
    const std::string_view bytes = block.View();  // the catalogue keeps the block where it is
    if (!ReadFilledText(catalogue, std::move(block), read, onDropped)) return false;
    if (savesAsRead) *savesAsRead = FormatCatalogueText(catalogue) == bytes;
    return true;
}

bool SaveCatalogue(const Catalogue& catalogue, const std::string& path,
                   const std::vector<const CatalogueNode*>* categories) {
    if (path.empty()) return false;
    return ReplaceFileContents(path, FormatCatalogueText(catalogue, categories));
}

std::string CatalogueFilePath(std::string_view programFolder, std::string_view programFileName) {
    // Tolerate a name that still carries a folder; "\" may be a trail byte.
    std::size_t slash = FindLastChar(programFileName, '\\');
    std::size_t forward = programFileName.rfind('/');
    if (forward != std::string_view::npos && (slash == std::string_view::npos || forward > slash)) slash = forward;
    if (slash != std::string_view::npos) programFileName.remove_prefix(slash + 1);

    std::string_view baseName = programFileName.substr(0, programFileName.rfind('.'));
    std::string path;
    path.reserve(programFolder.size() + baseName.size() + 4);
    path.append(programFolder);
    path.append(baseName);
    path.append(".cvx");
    return path;
}

}  // namespace corvel
