#include "tools/check_paths/entry_painter.h"

#include "catalogue/win32_text.h"
#include "ui/main/resource.h"
#include "ui/window/window.h"

namespace corvel::ui {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kNameColour = RGB(0, 0, 255);
constexpr COLORREF kLabelColour = RGB(128, 0, 128);
constexpr COLORREF kLabelBackground = RGB(255, 255, 0);
constexpr int kNameGrowth = 3;

constexpr UINT kLabelIds[kCheckedFieldCount] = {IDS_LABEL_INSTALLER, IDS_LABEL_INSTALL_FOLDER, IDS_LABEL_PATCH,
                                                IDS_LABEL_SETTINGS};

}  // namespace

EntryPainter::EntryPainter(const FontDescription& font, UINT dpi)
    : font_(CreateFontForDpi(font, dpi)), nameFont_(CreateFontForDpi(font, dpi, kNameGrowth, true)) {
    for (std::size_t i = 0; i < kCheckedFieldCount; ++i) labels_[i] = LoadResourceString(kLabelIds[i]);
    invalidNote_ = LoadResourceString(IDS_INVALID_PATH_FORMAT);
    parametersPrefix_ = LoadResourceString(IDS_PARAMETERS);
}

EntryTexts EntryPainter::TextsOf(const CatalogueNode& item, const PathStatuses& statuses,
                                 const PathResolver& paths) const {
    EntryTexts texts;
    texts.name = WideFromCp936(item.Name());
    for (std::size_t i = 0; i < kCheckedFieldCount; ++i) {
        if (statuses[i] & kPathEmpty) continue;
        std::string_view stored = StoredText(item, kCheckedFields[i]);
        ResolvedLine line = ResolvedLineOf(kCheckedFields[i], stored, statuses[i], paths);
        EntryTexts::Block& block = texts.blocks[i];
        block.text = WideFromCp936(stored);
        block.resolved = line.invalid ? invalidNote_ : WideFromCp936(line.path);
        if (!line.parameters.empty()) block.parameters = parametersPrefix_ + WideFromCp936(line.parameters);
        block.colour = static_cast<COLORREF>(StatusColour(statuses[i]));
    }
    return texts;
}

LayoutSize EntryPainter::TextSize(HDC dc, const std::wstring& text) const {
    SIZE size{};
    // An empty text still takes a line's height.
    GetTextExtentPoint32W(dc, text.empty() ? L" " : text.c_str(), text.empty() ? 1 : static_cast<int>(text.size()),
                          &size);
    return {text.empty() ? 0 : static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

EntryMeasures EntryPainter::Measure(HDC dc, const EntryTexts& texts, const PathStatuses& statuses,
                                    PathFilter filter) const {
    EntryMeasures measures;
    measures.shown = AnyPasses(statuses, filter);
    if (!measures.shown) return measures;
    HGDIOBJ old = SelectObject(dc, nameFont_.get());
    measures.name = TextSize(dc, texts.name);
    SelectObject(dc, font_.get());
    measures.letterHeight = TextSize(dc, L"A").height;
    for (std::size_t i = 0; i < kCheckedFieldCount; ++i) {
        BlockMeasures& block = measures.blocks[i];
        block.shown = PassesFilter(statuses[i], filter);
        if (!block.shown) continue;
        const EntryTexts::Block& text = texts.blocks[i];
        block.label = TextSize(dc, labels_[i]);
        block.text = TextSize(dc, text.text);
        block.resolved = TextSize(dc, text.resolved);
        if (!text.parameters.empty()) block.parameters = TextSize(dc, text.parameters);
    }
    SelectObject(dc, old);
    return measures;
}

void EntryPainter::PutText(HDC dc, LayoutPoint at, const std::wstring& text, COLORREF colour,
                           COLORREF background) const {
    SetTextColor(dc, colour);
    SetBkColor(dc, background);
    TextOutW(dc, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
}

void EntryPainter::Draw(HDC dc, const EntryTexts& texts, const EntryPlacement& placement, HIMAGELIST icons,
                        int icon) const {
    if (!placement.Shown()) return;
    if (icon >= 0) ImageList_Draw(icons, icon, dc, placement.icon.x, placement.icon.y, ILD_TRANSPARENT);
    SetBkMode(dc, OPAQUE);
    HGDIOBJ old = SelectObject(dc, nameFont_.get());
    PutText(dc, placement.name, texts.name, kNameColour, kWhite);
    SelectObject(dc, font_.get());
    for (std::size_t i = 0; i < kCheckedFieldCount; ++i) {
        const BlockPlacement& block = placement.blocks[i];
        if (!block.shown) continue;
        const EntryTexts::Block& text = texts.blocks[i];
        PutText(dc, block.label, labels_[i], kLabelColour, kLabelBackground);
        PutText(dc, block.text, text.text, kBlack, kWhite);
        PutText(dc, block.resolved, text.resolved, text.colour, kWhite);
        if (!text.parameters.empty()) PutText(dc, block.parameters, text.parameters, kBlack, kWhite);
    }
    SelectObject(dc, old);
}

}  // namespace corvel::ui
