// The catalogue: a root, its categories, and each category's install items.
// Operations refuse bad arguments silently (false / nullptr); callers report.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "catalogue/block_pool.h"
#include "catalogue/text_block.h"

namespace corvel {

enum class NodeKind { Item = 0, Category = 1, Root = 2 };

// Seven texts, in file order. Regcode holds CR LF line breaks when handed
// to or from the catalogue; inside the catalogue they are 0x03 0x03.
struct ItemFields {
    std::string Name, SrcPath, DstDir, Patch, Regcode, Settings, Comment;
};

enum class Field { Name, SrcPath, DstDir, Patch, Regcode, Settings, Comment };
inline constexpr std::size_t kFieldCount = 7;
// The seven fields as views, indexed by Field.
using FieldViews = std::array<std::string_view, kFieldCount>;

FieldViews ViewsOf(const ItemFields& fields);

inline constexpr std::size_t kMaxCategoryNameBytes = 128;
inline constexpr int kMaxCategoriesBeforeAdd = 10000;
inline constexpr char kFieldSeparator = '\x02';
inline constexpr std::string_view kLineBreakCode = "\x03\x03";

class Catalogue;

class CatalogueNode {
public:
    NodeKind Kind() const { return kind_; }
    // Category name, or the item's Name field; empty for the root.
    std::string_view Name() const { return texts_[0]; }
    CatalogueNode* Parent() const { return parent_; }
    CatalogueNode* FirstChild() const { return firstChild_; }
    CatalogueNode* LastChild() const { return lastChild_; }
    CatalogueNode* NextSibling() const { return nextSibling_; }
    CatalogueNode* PreviousSibling() const { return previousSibling_; }
    // A field as stored (Regcode with the line-break code); empty unless an item.
    std::string_view StoredField(Field field) const {
        return kind_ == NodeKind::Item ? texts_[static_cast<std::size_t>(field)] : std::string_view();
    }
    // The file line this item's fields were read from, when it is exactly
    // what writing them gives; empty once they change.
    std::string_view SourceLine() const { return sourceLine_; }

    CatalogueNode(const CatalogueNode&) = delete;
    CatalogueNode& operator=(const CatalogueNode&) = delete;

private:
    friend class Catalogue;
    CatalogueNode(NodeKind kind) : kind_(kind) {}

    // What walking a category to write it reads comes first, together.
    NodeKind kind_;
    // Children by kind: items may sit in the root, and must not count
    // against the category limit.
    int childCount_[2] = {0, 0};
    std::string_view sourceLine_;
    CatalogueNode* nextSibling_ = nullptr;
    CatalogueNode* firstChild_ = nullptr;
    CatalogueNode* previousSibling_ = nullptr;
    CatalogueNode* lastChild_ = nullptr;
    CatalogueNode* parent_ = nullptr;
    // An item's seven fields, or a category's name in the first. Each views
    // either text the catalogue keeps (a loaded file's bytes, never copied)
    // or own_, which holds what was set since, back to back.
    FieldViews texts_{};
    std::unique_ptr<char[]> own_;
};

class Catalogue {
public:
    using EnumerateCallback = std::function<void(NodeKind, CatalogueNode*)>;

    Catalogue() = default;
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    CatalogueNode* Root();
    const CatalogueNode* Root() const { return root_; }

    CatalogueNode* AddCategory(std::string_view name);
    bool DeleteCategory(CatalogueNode* category);
    bool RenameCategory(CatalogueNode* category, std::string_view name);

    // parent may be a category or the root. Regcode's CR LF becomes 0x03 0x03.
    CatalogueNode* AddItem(CatalogueNode* parent, const ItemFields& fields);
    bool DeleteItem(CatalogueNode* item);
    bool SetItemFields(CatalogueNode* item, const ItemFields& fields);
    // Copy of the fields with Regcode's 0x03 0x03 turned back into CR LF.
    bool GetItemFields(const CatalogueNode* item, ItemFields& out) const;
    bool RenameItem(CatalogueNode* item, std::string_view name);
    bool MoveItem(CatalogueNode* item, CatalogueNode* target);

    // Children of parent of the given kind (Item or Category); with recursive,
    // also those of each child category. 0 for a bad parent or kind.
    int Count(const CatalogueNode* parent, NodeKind kind, bool recursive) const;
    // Hands each child of the given kind, in order, to callback.
    bool Enumerate(CatalogueNode* parent, NodeKind kind, const EnumerateCallback& callback) const;

    bool IsModified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // Adds an item whose fields are already in stored form (Regcode with the
    // line-break code); used by the file reader, which passes the line they
    // were read from when writing them gives that line again (kept only when
    // it lies in kept text).
    CatalogueNode* AddStoredItem(CatalogueNode* parent, const FieldViews& storedFields,
                                 std::string_view sourceLine = {});

    // Keeps text as long as the catalogue lives and returns it. Names and
    // fields later stored from views into it are referenced, not copied.
    std::string_view KeepText(TextBlock text);

private:
    bool Owns(const CatalogueNode* node) const;
    bool IsKept(std::string_view text) const;
    // Points the first count texts of node at texts: those inside kept text
    // as they are, the others copied into one new own_. False, with node as
    // it was, when memory runs out.
    bool StoreTexts(CatalogueNode* node, const std::string_view* texts, std::size_t count) const;
    static void Append(CatalogueNode* parent, CatalogueNode* node);
    static void Unlink(CatalogueNode* node);
    CatalogueNode* NewNode(NodeKind kind);
    void FreeSubtree(CatalogueNode* node);

    std::deque<TextBlock> keptTexts_;            // a deque never moves what it holds
    std::string_view lastKept_;                  // asked about most, while reading it
    BlockPool<sizeof(CatalogueNode)> nodePool_;  // destroyed after the nodes it holds
    CatalogueNode* root_ = nullptr;
    bool modified_ = false;
    // Keeps a label-edit rename from overlapping the install worker's read.
    mutable std::mutex fieldsLock_;
};

std::string EncodeLineBreaks(std::string_view regcode);  // CR LF -> 0x03 0x03
std::string DecodeLineBreaks(std::string_view stored);   // 0x03 0x03 -> CR LF

}  // namespace corvel
