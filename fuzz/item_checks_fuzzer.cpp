// Runs the item editor's checks over seven arbitrary fields, and checks that
// every accepted item comes back from a saved catalogue with its fields.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "catalogue/catalogue_file.h"
#include "catalogue/cp936.h"
#include "ui/item_editor/item_checks.h"

static void Check(bool condition) {
    if (!condition) std::abort();
}

// What an edit field can hold: its text ends at a zero byte, and a
// single-line field takes pasted text only up to its first line break.
static std::string EditFieldText(std::string text, bool multiline) {
    text.resize(std::min(text.find('\0'), text.size()));
    if (!multiline) text.resize(std::min(text.find_first_of("\r\n"), text.size()));
    return text;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    corvel::ItemFields typed;
    for (std::string* field :
         {&typed.Name, &typed.SrcPath, &typed.DstDir, &typed.Regcode, &typed.Comment, &typed.Patch, &typed.Settings})
        *field = EditFieldText(input.ConsumeRandomLengthString(200), field == &typed.Regcode);

    corvel::ItemFields record;
    corvel::ItemCheck check = corvel::CheckItemFields(typed, record);
    Check(check.step >= 1 && check.step <= corvel::kItemChecksPassed);
    if (!check.Passed()) return 0;

    corvel::Catalogue written;
    corvel::CatalogueNode* category = written.AddCategory("C");
    Check(category && written.AddItem(category, record));
    corvel::Catalogue read;
    bool dropped = false;
    corvel::ParseCatalogueText(read, corvel::FormatCatalogueText(written),
                               [&](std::size_t, corvel::DroppedLine) { dropped = true; });
    Check(!dropped);
    const corvel::CatalogueNode* item = read.Root()->FirstChild() ? read.Root()->FirstChild()->FirstChild() : nullptr;
    Check(item && !item->NextSibling());
    corvel::ItemFields back;
    Check(read.GetItemFields(item, back));
    // The reader trims white space at both ends of every field but the
    // registration text.
    auto trimmed = [](const std::string& field) { return std::string(corvel::Trim(field, corvel::kWhiteSpace)); };
    Check(back.Name == trimmed(record.Name) && back.SrcPath == trimmed(record.SrcPath) &&
          back.DstDir == trimmed(record.DstDir) && back.Patch == trimmed(record.Patch) &&
          back.Settings == trimmed(record.Settings) && back.Comment == trimmed(record.Comment) &&
          back.Regcode == record.Regcode);
    return 0;
}
