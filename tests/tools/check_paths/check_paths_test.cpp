// The real check paths window in this process: a script selects categories,
// filters, scrolls and clicks names inside its modal loop.
#include "tools/check_paths/check_paths_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "catalogue/win32_text.h"
#include "tests/ui/dialog_script.h"
#include "tests/ui/frame_test.h"
#include "tests/ui/keyboard_check.h"
#include "tools/check_paths/entry_painter.h"
#include "ui/item_editor/item_editor_dialog.h"
#include "ui/main/resource.h"

namespace corvel::ui {
namespace {

const std::string kProgramFolder = "C:\\corvel\\";

class CheckPathsTest : public DialogScriptTest {
protected:
    void SetUp() override {
        DialogScriptTest::SetUp();
        tools_ = catalogue_.AddCategory("Tools");
        catalogue_.AddItem(tools_, {"Alpha", "Soft\\a.exe /S data\\x.ini", "C:\\Apps", "", "", "", ""});
        catalogue_.AddItem(tools_, {"Beta", "/S", "", "", "", "E:\\gone.reg", ""});
        many_ = catalogue_.AddCategory(Cp936FromWide(L"很多项目"));
        for (int i = 0; i < 40; ++i)
            catalogue_.AddItem(many_, {"Item " + std::to_string(i), "Soft\\a.exe", "", "Soft\\p.exe", "", "", ""});
        catalogue_.SetModified(false);
    }
    void TearDown() override {
        SetModalDialogHookForTesting(nullptr);
        DialogScriptTest::TearDown();
    }

    CPathPane& Pane() { return *dialog_.Pane(); }

    static void Select(HWND dialog, int row) {
        HWND list = GetDlgItem(dialog, IDC_CATEGORY_LIST);
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_CATEGORY_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }
    static void Command(HWND dialog, int id) { SendMessageW(dialog, WM_COMMAND, id, 0); }
    static void Close(HWND dialog) { Command(dialog, ID_CHECK_PATHS_CLOSE); }
    static RECT AreaOf(HWND dialog, int id) {
        RECT area{};
        GetWindowRect(GetDlgItem(dialog, id), &area);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
        return area;
    }
    static SCROLLINFO ScrollInfo(HWND pane, int bar) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(pane, bar, &info);
        return info;
    }
    // The size of text in the window's own font.
    static SIZE Measure(HWND dialog, const std::wstring& text) {
        HDC dc = GetDC(dialog);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(dialog, dc);
        return size;
    }

    Catalogue catalogue_;
    CatalogueNode* tools_ = nullptr;
    CatalogueNode* many_ = nullptr;
    PathResolver paths_{kProgramFolder};
    std::set<std::string> files_ = {"C:\\corvel\\Soft\\a.exe"};
    CCheckPathsDialog dialog_{&catalogue_, paths_, [this](const std::string& path) { return files_.count(path) > 0; }};
};

TEST_F(CheckPathsTest, OpensAlongTheScreenWithTheListAndThePaneSideBySide) {
    Run(dialog_, [&](HWND dialog) {
        EXPECT_EQ(Window(dialog).Text(), L"检查路径（当前目录：C:\\corvel\\）");
        RECT window{};
        GetWindowRect(dialog, &window);
        EXPECT_EQ(window.left, 20);
        EXPECT_EQ(window.top, 20);
        EXPECT_EQ(window.right - window.left, GetSystemMetrics(SM_CXSCREEN) - 40);
        EXPECT_EQ(window.bottom - window.top, GetSystemMetrics(SM_CYSCREEN) - 80);

        // The list keeps its left, top, width and the gap below it.
        RECT designed{7, 7, 107, 253}, designedClient{0, 0, 420, 260};
        MapDialogRect(dialog, &designed);
        MapDialogRect(dialog, &designedClient);
        RECT client{};
        GetClientRect(dialog, &client);
        RECT list = AreaOf(dialog, IDC_CATEGORY_LIST);
        EXPECT_EQ(list.left, designed.left);
        EXPECT_EQ(list.top, designed.top);
        EXPECT_EQ(list.right, designed.right);
        EXPECT_EQ(client.bottom - list.bottom, designedClient.bottom - designed.bottom);
        RECT pane = AreaOf(dialog, IDC_PATH_PANE);
        EXPECT_EQ(pane.left, list.right + list.left);
        EXPECT_EQ(pane.right, client.right - list.left);
        EXPECT_EQ(pane.top, list.top);
        EXPECT_EQ(pane.bottom, list.bottom);

        HWND rows = GetDlgItem(dialog, IDC_CATEGORY_LIST);
        EXPECT_EQ(SendMessageW(rows, LB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(SendMessageW(rows, LB_GETITEMHEIGHT, 0, 0), 50);
        EXPECT_EQ(SendMessageW(rows, LB_GETCURSEL, 0, 0), LB_ERR);
        EXPECT_EQ(SendMessageW(rows, LB_GETITEMDATA, 1, 0), reinterpret_cast<LRESULT>(many_));
        EXPECT_TRUE(Pane().Entries().empty());
        Close(dialog);
    });
}

// Rows of 120 by 50 pixels, one below the other, drawn as the list asks for
// them into a bitmap of our own; states are the rows' item states.
class DrawnRows {
public:
    DrawnRows(CategoryList& categories, CatalogueNode* category, std::initializer_list<UINT> states)
        : list_(categories.Handle()),
          screen_(GetDC(list_)),
          dc_(CreateCompatibleDC(screen_)),
          bitmap_(CreateCompatibleBitmap(screen_, 120, 50 * static_cast<int>(states.size()))),
          old_(SelectObject(dc_, bitmap_)) {
        int top = 0;
        for (UINT state : states) {
            DRAWITEMSTRUCT item{ODT_LISTBOX,
                                IDC_CATEGORY_LIST,
                                static_cast<UINT>(top / 50),
                                ODA_DRAWENTIRE,
                                state,
                                list_,
                                dc_,
                                {0, top, 120, top + 50},
                                reinterpret_cast<ULONG_PTR>(category)};
            categories.DrawRow(item);
            top += 50;
        }
    }
    ~DrawnRows() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
        ReleaseDC(list_, screen_);
    }
    COLORREF At(int row, int x, int y) const { return GetPixel(dc_, x, 50 * row + y); }

private:
    HWND list_;
    HDC screen_, dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

TEST_F(CheckPathsTest, RowsAreGradientsAndTheSelectedOneIsPaleAndSunken) {
    Run(dialog_, [&](HWND dialog) {
        DrawnRows rows(dialog_.Categories(), tools_, {0u, static_cast<UINT>(ODS_SELECTED)});
        // Pixel row j of the 48 inside rows takes colour j * 63 / 48; x = 5
        // lies inside the frame and left of the centred name.
        const int other = 0, selected = 1;
        auto at = [&](int row, int x, int j) { return rows.At(row, x, 1 + j); };
        EXPECT_EQ(at(other, 5, 0), RGB(255, 255, 255));
        EXPECT_EQ(at(other, 5, 23), RGB(255 - 30, 255 - 15, 255 - 5));
        EXPECT_EQ(at(other, 5, 47), RGB(255 - 61, 255 - 30, 255 - 10));
        EXPECT_EQ(at(other, 60, -1), RGB(0, 0, 0));  // the rounded rectangle's edge
        EXPECT_EQ(at(selected, 5, 23), RGB(255 - 7, 255 - 7, 255 - 6));
        EXPECT_EQ(at(selected, 5, 45), RGB(255 - 14, 255 - 14, 255 - 11));
        // The sunken frame one pixel inside: dark at the top left, light at
        // the bottom right.
        EXPECT_EQ(at(selected, 2, 23), RGB(0, 0, 0));
        EXPECT_EQ(at(selected, 60, 1), RGB(0, 0, 0));
        EXPECT_EQ(at(selected, 117, 23), RGB(250, 250, 250));
        EXPECT_EQ(at(selected, 60, 46), RGB(250, 250, 250));
        Close(dialog);
    });
}

// The colours found in an area of a bitmap, white left out.
std::set<COLORREF> ColoursIn(HDC dc, LayoutPoint at, LayoutSize size) {
    std::set<COLORREF> colours;
    for (int y = at.y; y < at.y + size.height; ++y)
        for (int x = at.x; x < at.x + size.width; ++x)
            if (COLORREF c = GetPixel(dc, x, y); c != RGB(255, 255, 255)) colours.insert(c);
    return colours;
}

// Text drawn smoothly blends its colour with the white background: every
// pixel keeps the colour's shape (which channels are equal, which lead).
bool AllTintsOf(const std::set<COLORREF>& colours, COLORREF colour) {
    auto shape = [](COLORREF c) {
        int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
        return std::make_tuple(r == g, g == b, r == b, r > g, g > b, r > b);
    };
    return !colours.empty() &&
           std::all_of(colours.begin(), colours.end(), [&](COLORREF c) { return shape(c) == shape(colour); });
}

TEST_F(CheckPathsTest, AnEntryIsDrawnInTheColoursOfItsPaths) {
    CatalogueNode* item = catalogue_.AddItem(
        tools_, {"Gamma", "Soft\\a.exe /S data\\x.ini", "C:\\Apps", ".\\p.exe", "", "Soft\\gone.reg", ""});
    Run(dialog_, [&](HWND dialog) {
        EntryPainter painter(DescribeFont(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), 96), 96);
        const PathStatuses statuses =
            PathStatusesOf(*item, paths_, [this](const std::string& path) { return files_.count(path) > 0; });
        EntryTexts texts = painter.TextsOf(*item, statuses, paths_);
        EXPECT_EQ(texts.name, L"Gamma");
        EXPECT_EQ(texts.blocks[0].text, L"Soft\\a.exe /S data\\x.ini");
        EXPECT_EQ(texts.blocks[0].resolved, L"C:\\corvel\\Soft\\a.exe");
        EXPECT_EQ(texts.blocks[0].parameters, L"参数：/S \"C:\\corvel\\data\\x.ini\"");
        EXPECT_EQ(texts.blocks[1].resolved, L"C:\\Apps");
        EXPECT_EQ(texts.blocks[1].parameters, L"");
        EXPECT_EQ(texts.blocks[2].resolved, L"（无效的路径格式）");

        HDC screen = GetDC(dialog);
        HDC dc = CreateCompatibleDC(screen);
        EntryMeasures measures = painter.Measure(dc, texts, statuses, PathFilter::All);
        const LayoutMetrics metrics = LayoutMetrics::ForDpi(96);
        EntryPlacement placed = PlaceEntry(measures, metrics.FirstEntryTop(), metrics);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, placed.width + 10, placed.Bottom());
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all{0, 0, placed.width + 10, placed.Bottom()};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        painter.Draw(dc, texts, placed, nullptr, -1);

        // The name is blue and underlined: one row of it all blue.
        const LayoutSize name = measures.name;
        bool underlined = false;
        for (int y = placed.name.y; y < placed.name.y + name.height && !underlined; ++y)
            underlined = ColoursIn(dc, {placed.name.x, y}, {name.width, 1}) == std::set<COLORREF>{RGB(0, 0, 255)};
        EXPECT_TRUE(underlined);
        EXPECT_TRUE(AllTintsOf(ColoursIn(dc, placed.name, name), RGB(0, 0, 255)));
        // Labels: purple on yellow.
        const BlockMeasures& installer = measures.blocks[0];
        EXPECT_EQ(GetPixel(dc, placed.blocks[0].label.x, placed.blocks[0].label.y), RGB(255, 255, 0));
        EXPECT_TRUE(ColoursIn(dc, placed.blocks[0].label, installer.label).count(RGB(255, 255, 0)));
        // Field texts and parameters black; each resolved path in its status colour.
        EXPECT_TRUE(AllTintsOf(ColoursIn(dc, placed.blocks[0].text, installer.text), RGB(0, 0, 0)));
        EXPECT_TRUE(AllTintsOf(ColoursIn(dc, placed.blocks[0].parameters, installer.parameters), RGB(0, 0, 0)));
        const COLORREF expected[] = {RGB(0, 128, 0), RGB(0, 0, 0), RGB(128, 0, 128), RGB(255, 0, 0)};
        for (std::size_t i = 0; i < kCheckedFieldCount; ++i)
            EXPECT_TRUE(AllTintsOf(ColoursIn(dc, placed.blocks[i].resolved, measures.blocks[i].resolved), expected[i]))
                << i;

        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(dialog, screen);
        Close(dialog);
    });
}

TEST_F(CheckPathsTest, EntriesStandWhereTheirMeasuredTextsPutThem) {
    Run(dialog_, [&](HWND dialog) {
        Select(dialog, 0);
        ASSERT_EQ(Pane().Entries().size(), 2u);
        const std::vector<EntryPlacement>& placed = Pane().Placements();
        const int line = Measure(dialog, L"安装程序").cy;
        const int letter = Measure(dialog, L"A").cy;
        const int label = Measure(dialog, L"安装程序").cx;
        const EntryPlacement& alpha = placed[0];
        const int nameHeight = alpha.hotSpot.bottom - alpha.hotSpot.top;
        EXPECT_GT(nameHeight, line);  // the taller font of the name

        EXPECT_EQ(alpha.top, 10);
        EXPECT_EQ(alpha.hotSpot.left, 10 + 32 + 10);
        EXPECT_EQ(alpha.hotSpot.top, 10 + (32 - letter) / 2);
        const int heading = std::max(32, nameHeight) + 20;
        const int block = 2 * line + 10;
        EXPECT_EQ(alpha.blocks[0].label.y, 10 + heading);
        EXPECT_EQ(alpha.blocks[0].text.x, 10 + label + 10);
        EXPECT_EQ(alpha.blocks[1].label.y, 10 + heading + block);
        EXPECT_FALSE(alpha.blocks[2].shown);
        EXPECT_EQ(alpha.height, heading + 2 * block + 25);

        const EntryPlacement& beta = placed[1];
        EXPECT_EQ(beta.top, alpha.Bottom());
        EXPECT_EQ(beta.hotSpot.top - beta.top, alpha.hotSpot.top - alpha.top);
        EXPECT_TRUE(beta.blocks[0].shown);  // an invalid installer
        EXPECT_FALSE(beta.blocks[1].shown);
        EXPECT_TRUE(beta.blocks[3].shown);
        EXPECT_EQ(beta.height, heading + 2 * block + 25);

        // The widest line is Alpha's resolved installer with its parameters.
        const int widest = label + 10 + Measure(dialog, L"C:\\corvel\\Soft\\a.exe").cx + 20 +
                           Measure(dialog, L"参数：/S \"C:\\corvel\\data\\x.ini\"").cx;
        EXPECT_EQ(alpha.width, widest + 10);
        EXPECT_EQ(Pane().ContentSize().width, widest + 20);
        EXPECT_EQ(Pane().ContentSize().height, 10 + alpha.height + beta.height + 10);
        EXPECT_EQ(Pane().Entries()[0].statuses[0], static_cast<unsigned>(kPathRelative | kPathExists));
        EXPECT_EQ(Pane().Entries()[1].statuses[3], static_cast<unsigned>(kPathAbsolute | kPathMissing));

        // A point on a name finds its entry, a point beside it none.
        POINT onBeta{beta.hotSpot.left + 1, beta.hotSpot.top + 1};
        EXPECT_EQ(Pane().HotSpotAt(onBeta), 1);
        EXPECT_EQ(Pane().HotSpotAt({beta.hotSpot.right + 5, beta.hotSpot.top + 1}), -1);
        EXPECT_EQ(Pane().HotSpotAt({15, 15}), -1);  // the icon
        Close(dialog);
    });
}

TEST_F(CheckPathsTest, FiltersHidePathsAndItemsAndTheViewMenuMarksTheCurrentOne) {
    Run(dialog_, [&](HWND dialog) {
        HMENU view = GetSubMenu(GetMenu(dialog), 1);
        auto marked = [&] {
            SendMessageW(dialog, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 1);
            std::vector<int> checked;
            for (int id = ID_FILTER_ALL; id <= ID_FILTER_ABSOLUTE; ++id) {
                MENUITEMINFOW info{};
                info.cbSize = sizeof info;
                info.fMask = MIIM_FTYPE | MIIM_STATE;
                GetMenuItemInfoW(view, static_cast<UINT>(id), FALSE, &info);
                if (info.fState & MFS_CHECKED) {
                    EXPECT_TRUE(info.fType & MFT_RADIOCHECK) << id;
                    checked.push_back(id);
                }
            }
            return checked;
        };
        EXPECT_EQ(marked(), std::vector<int>{ID_FILTER_ALL});

        // Without a selected category a filter only changes the mode.
        Command(dialog, ID_FILTER_RELATIVE);
        EXPECT_EQ(dialog_.Filter(), PathFilter::Relative);
        EXPECT_TRUE(Pane().Entries().empty());
        EXPECT_EQ(marked(), std::vector<int>{ID_FILTER_RELATIVE});

        Select(dialog, 0);
        const std::vector<EntryPlacement>& placed = Pane().Placements();
        ASSERT_EQ(placed.size(), 2u);
        EXPECT_TRUE(placed[0].blocks[0].shown);
        EXPECT_FALSE(placed[0].blocks[1].shown);  // an absolute install folder
        EXPECT_FALSE(placed[1].Shown());          // invalid and absolute only
        EXPECT_EQ(placed[1].top, placed[0].Bottom());
        EXPECT_EQ(Pane().HotSpotAt({placed[0].hotSpot.left, placed[0].hotSpot.top}), 0);

        Command(dialog, ID_FILTER_FAULTY);
        EXPECT_EQ(marked(), std::vector<int>{ID_FILTER_FAULTY});
        EXPECT_FALSE(placed[0].Shown());
        EXPECT_EQ(placed[1].top, 10);
        EXPECT_TRUE(placed[1].blocks[0].shown);
        EXPECT_TRUE(placed[1].blocks[3].shown);

        Command(dialog, ID_FILTER_ABSOLUTE);
        EXPECT_TRUE(placed[0].blocks[1].shown);
        EXPECT_FALSE(placed[0].blocks[0].shown);
        EXPECT_TRUE(placed[1].blocks[3].shown);
        EXPECT_FALSE(placed[1].blocks[0].shown);
        Close(dialog);
    });
}

TEST_F(CheckPathsTest, ThePaneScrollsByLinesPagesAndToBothEnds) {
    Run(dialog_, [&](HWND dialog) {
        Select(dialog, 1);
        HWND pane = GetDlgItem(dialog, IDC_PATH_PANE);
        RECT client{};
        GetClientRect(pane, &client);
        SCROLLINFO vertical = ScrollInfo(pane, SB_VERT);
        EXPECT_EQ(vertical.nMin, 0);
        EXPECT_EQ(vertical.nMax, Pane().ContentSize().height - 1);
        EXPECT_EQ(vertical.nPage, static_cast<UINT>(client.bottom));
        EXPECT_EQ(vertical.nPos, 0);
        const int last = Pane().ContentSize().height - client.bottom;
        ASSERT_GT(last, client.bottom);

        SendMessageW(pane, WM_VSCROLL, SB_LINEDOWN, 0);
        EXPECT_EQ(Pane().ScrollPosition().y, 15);
        SendMessageW(pane, WM_KEYDOWN, VK_NEXT, 0);
        EXPECT_EQ(Pane().ScrollPosition().y, 15 + client.bottom);
        SendMessageW(pane, WM_KEYDOWN, VK_UP, 0);
        EXPECT_EQ(Pane().ScrollPosition().y, client.bottom);
        SendMessageW(pane, WM_KEYDOWN, VK_END, 0);
        EXPECT_EQ(Pane().ScrollPosition().y, last);
        EXPECT_EQ(ScrollInfo(pane, SB_VERT).nPos, last);
        SendMessageW(pane, WM_VSCROLL, SB_LINEDOWN, 0);
        EXPECT_EQ(Pane().ScrollPosition().y, last);
        SendMessageW(pane, WM_KEYDOWN, VK_HOME, 0);
        EXPECT_EQ(Pane().ScrollPosition().y, 0);

        UINT lines = 0;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        SendMessageW(pane, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
        EXPECT_EQ(Pane().ScrollPosition().y, std::min<int>(last, static_cast<int>(lines) * 15));

        // A point on a name counts with the scroll position.
        SendMessageW(pane, WM_KEYDOWN, VK_END, 0);
        const EntryPlacement& lastEntry = Pane().Placements().back();
        POINT onName{lastEntry.hotSpot.left + 1, lastEntry.hotSpot.top + 1 - last};
        EXPECT_EQ(Pane().HotSpotAt(onName), 39);

        // A new selection starts at the top again.
        Select(dialog, 1);
        EXPECT_EQ(Pane().ScrollPosition().y, 0);
        EXPECT_EQ(ScrollInfo(pane, SB_VERT).nPos, 0);
        Close(dialog);
    });
}

TEST_F(CheckPathsTest, ClickingANameEditsTheItemAndMovesTheEntriesBelow) {
    std::vector<int> editors;
    ItemFields seen;
    Run(dialog_, [&](HWND dialog) {
        Select(dialog, 0);
        HWND pane = GetDlgItem(dialog, IDC_PATH_PANE);
        const std::vector<EntryPlacement> before = Pane().Placements();
        const LayoutSize contentBefore = Pane().ContentSize();
        auto click = [&](const EntryPlacement& entry) {
            LPARAM at = MAKELPARAM(entry.hotSpot.left + 2, entry.hotSpot.top + 2);
            SendMessageW(pane, WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageW(pane, WM_LBUTTONUP, 0, at);
        };

        // Cancelled, or OK without an installer path: nothing changes.
        SetModalDialogHookForTesting([&](ui::Dialog& editor) -> INT_PTR {
            editors.push_back(editor.ResourceId());
            dynamic_cast<CItemEditorDialog&>(editor).Record().SrcPath.clear();
            return editors.size() == 1 ? IDCANCEL : IDOK;
        });
        click(before[0]);
        click(before[0]);
        EXPECT_EQ(tools_->FirstChild()->StoredField(Field::SrcPath), "Soft\\a.exe /S data\\x.ini");
        EXPECT_FALSE(catalogue_.IsModified());

        SetModalDialogHookForTesting([&](ui::Dialog& editor) -> INT_PTR {
            auto& itemEditor = dynamic_cast<CItemEditorDialog&>(editor);
            editors.push_back(editor.ResourceId());
            EXPECT_EQ(itemEditor.Mode(), ItemEditorMode::Edit);
            seen = itemEditor.Record();
            itemEditor.Record().Patch = "Soft\\p.exe";
            itemEditor.Record().Settings = "\\Reg\\a.reg";
            return IDOK;
        });
        click(before[0]);
        SetModalDialogHookForTesting(nullptr);

        const std::vector<EntryPlacement>& after = Pane().Placements();
        const int line = Measure(dialog, L"安装程序").cy;
        const int growth = 2 * (2 * line + 10);
        EXPECT_EQ(after[0].top, before[0].top);
        EXPECT_EQ(after[0].height, before[0].height + growth);
        EXPECT_TRUE(after[0].blocks[2].shown);
        EXPECT_TRUE(after[0].blocks[3].shown);
        EXPECT_EQ(after[1].top, before[1].top + growth);
        EXPECT_EQ(after[1].hotSpot.top, before[1].hotSpot.top + growth);
        EXPECT_EQ(after[1].blocks[3].label.y, before[1].blocks[3].label.y + growth);
        EXPECT_EQ(Pane().ContentSize().height, contentBefore.height + growth);
        EXPECT_EQ(ScrollInfo(pane, SB_VERT).nMax, contentBefore.height + growth - 1);
        EXPECT_EQ(Pane().Entries()[0].statuses[2], static_cast<unsigned>(kPathRelative | kPathMissing));
        Close(dialog);
    });
    EXPECT_EQ(editors, (std::vector<int>{IDD_ITEM_EDITOR, IDD_ITEM_EDITOR, IDD_ITEM_EDITOR}));
    EXPECT_EQ(seen.Name, "Alpha");
    EXPECT_EQ(tools_->FirstChild()->StoredField(Field::Settings), "\\Reg\\a.reg");
    EXPECT_TRUE(catalogue_.IsModified());
}

// Twice at twice the DPI, give or take the rounding of font sizes: two
// pixels, or 2 % in a long line of text.
void ExpectTwice(int big, int small, const char* what) {
    EXPECT_NEAR(big, 2 * small, std::max(2, small / 25)) << what << ": " << small << " then " << big;
}

TEST_F(CheckPathsTest, MovedToAMonitorOfTwiceTheDpiEverythingIsTwiceAsLarge) {
    Run(dialog_, [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_CATEGORY_LIST);
        HWND pane = GetDlgItem(dialog, IDC_PATH_PANE);
        ASSERT_EQ(Pane().Dpi(), 96u);
        Select(dialog, 0);
        const EntryPlacement small = Pane().Placements()[0];
        const int smallRow = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
        int smallIcon = 0, height = 0;
        ImageList_GetIconSize(Pane().Icons(), &smallIcon, &height);
        EXPECT_EQ(smallIcon, 32);

        RECT window{};
        GetWindowRect(dialog, &window);
        ChangeDpi(dialog, 192, 96);
        RECT moved{};
        GetWindowRect(dialog, &moved);
        EXPECT_EQ(moved.right - moved.left, 2 * (window.right - window.left));
        EXPECT_EQ(moved.bottom - moved.top, 2 * (window.bottom - window.top));
        // The list still reaches down to the same gap, the pane beside it.
        RECT client{};
        GetClientRect(dialog, &client);
        const RECT listArea = AreaOf(dialog, IDC_CATEGORY_LIST), paneArea = AreaOf(dialog, IDC_PATH_PANE);
        EXPECT_GT(listArea.bottom, client.bottom / 2);
        EXPECT_EQ(paneArea.bottom, listArea.bottom);
        EXPECT_EQ(paneArea.right, client.right - listArea.left);

        EXPECT_EQ(Pane().Dpi(), 192u);
        ASSERT_EQ(Pane().Placements().size(), 2u);
        const EntryPlacement big = Pane().Placements()[0];
        int bigIcon = 0;
        ImageList_GetIconSize(Pane().Icons(), &bigIcon, &height);
        EXPECT_EQ(bigIcon, 64);
        EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), 2 * smallRow);

        EXPECT_EQ(big.top, 2 * small.top);
        EXPECT_EQ(big.hotSpot.left, 2 * small.hotSpot.left);
        ExpectTwice(big.hotSpot.top, small.hotSpot.top, "name's top");
        ExpectTwice(big.hotSpot.right - big.hotSpot.left, small.hotSpot.right - small.hotSpot.left, "name's width");
        ExpectTwice(big.hotSpot.bottom - big.hotSpot.top, small.hotSpot.bottom - small.hotSpot.top, "name's height");
        for (std::size_t i : {0u, 1u}) {
            const BlockPlacement &was = small.blocks[i], &is = big.blocks[i];
            ExpectTwice(is.label.y, was.label.y, "label's top");
            // The label ends one gap before the field text, its line where the resolved path starts.
            ExpectTwice(is.text.x - is.label.x, was.text.x - was.label.x, "label's width");
            ExpectTwice(is.resolved.y - is.label.y, was.resolved.y - was.label.y, "line height");
        }
        ExpectTwice(big.height, small.height, "entry's height");
        ExpectTwice(big.width, small.width, "entry's width");

        // One arrow step is as long in inches as before.
        Select(dialog, 1);
        SendMessageW(pane, WM_VSCROLL, SB_LINEDOWN, 0);
        EXPECT_EQ(Pane().ScrollPosition().y, 30);

        ChangeDpi(dialog, 96, 192);
        Select(dialog, 0);
        EXPECT_EQ(Pane().Placements()[0].height, small.height);
        EXPECT_EQ(Pane().Placements()[0].hotSpot.right, small.hotSpot.right);
        EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), smallRow);
        Close(dialog);
    });
}

// The handles of GDI objects made for one DPI.
std::vector<HGDIOBJ> HandlesForTheDpi(CCheckPathsDialog& dialog) {
    IMAGEINFO images{};
    EXPECT_TRUE(ImageList_GetImageInfo(dialog.Pane()->Icons(), 0, &images));
    return {dialog.Pane()->Painter().Font(), dialog.Pane()->Painter().NameFont(), dialog.Categories().Font(),
            images.hbmImage, images.hbmMask};
}

TEST_F(CheckPathsTest, ChangingTheDpiReplacesFontsAndImagesWithoutLeakingThem) {
    Run(dialog_, [&](HWND dialog) {
        HWND pane = GetDlgItem(dialog, IDC_PATH_PANE);
        HWND list = GetDlgItem(dialog, IDC_CATEGORY_LIST);
        const DWORD objectsBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        std::vector<HGDIOBJ> old;
        UINT dpi = 96;
        ShowWindow(dialog, SW_SHOW);  // shown only once the modal loop first idles
        for (UINT next : {192u, 144u, 96u, 192u, 96u}) {
            Select(dialog, 0);
            UpdateWindow(pane);  // the icons are read as they are drawn
            ASSERT_GT(ImageList_GetImageCount(Pane().Icons()), 0);
            const std::vector<HGDIOBJ> current = HandlesForTheDpi(dialog_);
            old.insert(old.end(), current.begin(), current.end());
            ChangeDpi(dialog, next, dpi);
            dpi = next;
        }
        Select(dialog, 0);
        UpdateWindow(pane);
        // Wine counts no GDI objects (GetGuiResources answers 0): every
        // handle of an old DPI must be gone, the current ones alive.
        for (HGDIOBJ handle : old) EXPECT_EQ(GetObjectType(handle), 0u) << handle;
        const std::vector<HGDIOBJ> current = HandlesForTheDpi(dialog_);
        EXPECT_EQ(GetObjectType(current[0]), static_cast<DWORD>(OBJ_FONT));
        EXPECT_EQ(GetObjectType(current[1]), static_cast<DWORD>(OBJ_FONT));
        EXPECT_EQ(GetObjectType(current[3]), static_cast<DWORD>(OBJ_BITMAP));
        // The list draws with the font it holds.
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)), current[2]);
        EXPECT_EQ(GetObjectType(current[2]), static_cast<DWORD>(OBJ_FONT));
        EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objectsBefore);
        Close(dialog);
    });
}

TEST_F(CheckPathsTest, ThePointerIsAHandOverANameEvenWithoutTheHelpProgramsCursor) {
    Run(dialog_, [&](HWND dialog) {
        HCURSOR hand = Pane().HandCursor();
        ASSERT_NE(hand, nullptr);
        wchar_t folder[MAX_PATH];
        std::wstring helpProgram(folder, GetWindowsDirectoryW(folder, MAX_PATH));
        HMODULE module = LoadLibraryExW((helpProgram + L"\\winhlp32.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!module || !LoadCursorW(module, MAKEINTRESOURCEW(106))) {
            EXPECT_EQ(hand, LoadCursorW(nullptr, IDC_HAND));
        }
        if (module) FreeLibrary(module);

        Select(dialog, 0);
        HWND pane = GetDlgItem(dialog, IDC_PATH_PANE);
        const LayoutRect name = Pane().Placements()[1].hotSpot;
        POINT on{name.left + 2, name.top + 2};
        ClientToScreen(pane, &on);
        ASSERT_TRUE(SetCursorPos(on.x, on.y));
        SendMessageW(pane, WM_SETCURSOR, reinterpret_cast<WPARAM>(pane), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), hand);
        SetCursorPos(on.x, on.y + 60);
        SendMessageW(pane, WM_SETCURSOR, reinterpret_cast<WPARAM>(pane), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_NE(GetCursor(), hand);
        Close(dialog);
    });
}

// Keys go through the modal loop as typed ones do; each stage runs once
// the keys of the one before have been handled.
TEST_F(CheckPathsTest, TheCategoriesAndThePaneWorkFromTheKeyboard) {
    auto press = [](WPARAM key) { PostMessageW(GetFocus(), WM_KEYDOWN, key, 0); };
    auto selected = [](HWND dialog) { return SendMessageW(GetDlgItem(dialog, IDC_CATEGORY_LIST), LB_GETCURSEL, 0, 0); };
    HWND list = nullptr, pane = nullptr;
    Run(dialog_, {[&](HWND dialog) {
                      list = GetDlgItem(dialog, IDC_CATEGORY_LIST);
                      pane = GetDlgItem(dialog, IDC_PATH_PANE);
                      SetFocus(list);
                      Select(dialog, 0);
                      press(VK_DOWN);
                  },
                  [&](HWND dialog) {
                      EXPECT_EQ(selected(dialog), 1);
                      EXPECT_EQ(Pane().Entries().size(), 40u);
                      press(VK_HOME);
                  },
                  [&](HWND dialog) {
                      EXPECT_EQ(selected(dialog), 0);
                      EXPECT_EQ(Pane().Entries().size(), 2u);
                      press(VK_END);
                  },
                  [&](HWND dialog) {
                      EXPECT_EQ(selected(dialog), 1);
                      EXPECT_EQ(Pane().Entries().size(), 40u);
                      // With nothing selected, Space and Enter choose the focused row.
                      SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
                      Pane().Show(nullptr, PathFilter::All);
                      press(VK_SPACE);
                  },
                  [&](HWND dialog) {
                      EXPECT_EQ(selected(dialog), 1);
                      EXPECT_EQ(Pane().Entries().size(), 40u);
                      SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
                      Pane().Show(nullptr, PathFilter::All);
                      press(VK_RETURN);
                  },
                  [&](HWND dialog) {
                      EXPECT_FALSE(Ended(dialog));
                      EXPECT_EQ(selected(dialog), 1);
                      EXPECT_EQ(Pane().Entries().size(), 40u);
                      press(VK_TAB);
                  },
                  [&](HWND) {
                      EXPECT_EQ(GetFocus(), pane);
                      press(VK_NEXT);
                  },
                  [&](HWND) {
                      RECT client{};
                      GetClientRect(pane, &client);
                      EXPECT_EQ(Pane().ScrollPosition().y, client.bottom);
                      press(VK_DOWN);
                  },
                  [&](HWND) {
                      RECT client{};
                      GetClientRect(pane, &client);
                      EXPECT_EQ(Pane().ScrollPosition().y, client.bottom + 15);
                      press(VK_END);
                  },
                  [&](HWND) {
                      RECT client{};
                      GetClientRect(pane, &client);
                      EXPECT_EQ(Pane().ScrollPosition().y, Pane().ContentSize().height - client.bottom);
                      press(VK_HOME);
                  },
                  [&](HWND) {
                      EXPECT_EQ(Pane().ScrollPosition().y, 0);
                      press(VK_TAB);
                  },
                  [&](HWND dialog) {
                      EXPECT_EQ(GetFocus(), list);
                      Close(dialog);
                  }});
}

TEST_F(CheckPathsTest, TheFocusedRowIsMarked) {
    Run(dialog_, [&](HWND dialog) {
        DrawnRows rows(dialog_.Categories(), tools_,
                       {static_cast<UINT>(ODS_SELECTED), static_cast<UINT>(ODS_SELECTED | ODS_FOCUS)});
        int differing = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 120; ++x) differing += rows.At(0, x, y) != rows.At(1, x, y);
        EXPECT_GT(differing, 100);  // a frame around the row, not a stray pixel
        Close(dialog);
    });
}

TEST_F(CheckPathsTest, TheLegendExplainsTheColours) {
    Run(dialog_, [&](HWND dialog) {
        Command(dialog, ID_CHECK_PATHS_LEGEND);
        Close(dialog);
    });
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text,
              L"1、红色的路径表示文件不存在。\n\n2、绿色的路径表示文件存在。\n\n3、软件不会检查安装目录以及参数中的文件"
              L"是否存在，仅显示它们的全路径，使用黑色显示。");
    EXPECT_EQ(shown_[0].caption, L"图例说明");
    EXPECT_EQ(shown_[0].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
}

TEST_F(CheckPathsTest, WithoutACatalogueTheWindowClosesAtOnce) {
    CCheckPathsDialog empty(nullptr, paths_, [](const std::string&) { return false; });
    EXPECT_EQ(empty.RunModal(owner_), IDCANCEL);
}

using CheckPathsCommandTest = FrameTest;

TEST_F(CheckPathsCommandTest, NeedsACategoryAndListsTheCurrentCategoryAgainAfterwards) {
    Start();
    Command(ID_TOOLS_CHECK_PATHS);
    EXPECT_TRUE(dialogs_.empty());

    WriteCatalogue(
        "[A]\r\n<Name=One\x02SrcPath=C:\\windows\\notepad.exe>\r\n[B]\r\n"
        "<Name=Two\x02SrcPath=C:\\windows\\notepad.exe>\r\n");
    Start();
    SendMessageW(List(), 1988, 1, 0);  // switch to B
    dialogScript_ = [&](ui::Dialog& dialog) -> INT_PTR {
        EXPECT_NE(dynamic_cast<CCheckPathsDialog*>(&dialog), nullptr);
        // As an edit in the window would: the item changes under the list.
        ItemFields fields;
        CatalogueNode* two = Controls().ItemOfEntry(0);
        Model().GetItemFields(two, fields);
        fields.Name = "Two edited";
        Model().SetItemFields(two, fields);
        return IDCANCEL;
    };
    Command(ID_TOOLS_CHECK_PATHS);
    EXPECT_EQ(dialogs_, std::vector<int>{IDD_CHECK_PATHS});
    EXPECT_EQ(Controls().CurrentTab(), 1);
    ASSERT_EQ(Controls().EntryCount(), 1);
    wchar_t label[32] = {};
    ListView_GetItemText(List(), 0, 0, label, 32);
    EXPECT_STREQ(label, L"Two edited");
}

// The window has no label or button: its commands are in its menu bar, whose
// entries carry their own mnemonics, and Esc closes it.
TEST_F(CheckPathsTest, TheKeyboardMovesFromTheListToThePaneAndEscCloses) {
    using namespace corvel::testing;
    INT_PTR result = Run(dialog_, [&](HWND dialog) {
        ExpectKeyboardUsable(dialog,
                             {.unlabelled = {IDC_CATEGORY_LIST}, .escapeWithoutCancelButton = true, .noDefaultButton = true});
        HWND list = GetDlgItem(dialog, IDC_CATEGORY_LIST);
        EXPECT_EQ(TabOrder(dialog), (std::vector<HWND>{list, GetDlgItem(dialog, IDC_PATH_PANE)}));
        SetFocus(list);
        PressKey(dialog, VK_DOWN);
        EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(Pane().Entries().size(), 2u);
        PressKey(dialog, VK_DOWN);
        EXPECT_EQ(Pane().Entries().size(), 40u);
        PressKey(dialog, VK_TAB);
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_PATH_PANE));
        PressKey(dialog, VK_ESCAPE);
    });
    EXPECT_EQ(result, IDCANCEL);
}

}  // namespace
}  // namespace corvel::ui
