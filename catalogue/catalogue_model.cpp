#include "catalogue/catalogue_model.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace corvel {

namespace {

bool IsChildKind(NodeKind kind) {
    return kind == NodeKind::Item || kind == NodeKind::Category;
}

bool IsContainer(const CatalogueNode* node) {
    return node->Kind() == NodeKind::Category || node->Kind() == NodeKind::Root;
}

// Replaces every non-overlapping occurrence of from (two bytes) with to.
std::string ReplacePairs(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t hit = text.find(from); hit != std::string_view::npos; hit = text.find(from, start)) {
        out.append(text, start, hit - start);
        out.append(to);
        start = hit + from.size();
    }
    out.append(text, start);
    return out;
}

}  // namespace

FieldViews ViewsOf(const ItemFields& fields) {
    return {fields.Name, fields.SrcPath, fields.DstDir, fields.Patch, fields.Regcode, fields.Settings, fields.Comment};
}

// Byte-level replacement is safe in code page 936: CR, LF and 0x03 are never
// trail bytes.
std::string EncodeLineBreaks(std::string_view regcode) {
    return ReplacePairs(regcode, "\r\n", kLineBreakCode);
}

std::string DecodeLineBreaks(std::string_view stored) {
    return ReplacePairs(stored, kLineBreakCode, "\r\n");
}

Catalogue::~Catalogue() {
    if (root_) FreeSubtree(root_);
}

// Throws std::bad_alloc.
CatalogueNode* Catalogue::NewNode(NodeKind kind) {
    return new (nodePool_.Allocate()) CatalogueNode(kind);
}

CatalogueNode* Catalogue::Root() {
    if (!root_) root_ = NewNode(NodeKind::Root);
    return root_;
}

std::string_view Catalogue::KeepText(TextBlock text) {
    lastKept_ = keptTexts_.emplace_back(std::move(text)).View();
    return lastKept_;
}

namespace {

// Addresses compared as integers: the views may point anywhere.
bool Within(std::string_view inner, std::string_view outer) {
    auto begin = reinterpret_cast<std::uintptr_t>(inner.data());
    auto outerBegin = reinterpret_cast<std::uintptr_t>(outer.data());
    return begin >= outerBegin && begin + inner.size() <= outerBegin + outer.size();
}

}  // namespace

bool Catalogue::IsKept(std::string_view text) const {
    if (Within(text, lastKept_)) return true;
    for (auto kept = keptTexts_.rbegin(); kept != keptTexts_.rend(); ++kept) {
        if (Within(text, kept->View())) return true;
    }
    return false;
}

bool Catalogue::StoreTexts(CatalogueNode* node, const std::string_view* texts, std::size_t count) const {
    std::array<bool, kFieldCount> kept{};
    std::size_t copied = 0;
    for (std::size_t i = 0; i < count; ++i) {
        kept[i] = texts[i].empty() || IsKept(texts[i]);
        if (!kept[i]) copied += texts[i].size();
    }
    std::unique_ptr<char[]> own;
    if (copied) {
        try {
            own.reset(new char[copied]);
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    // The texts may point into the old own_, which stays until the new one
    // is complete.
    FieldViews stored{};
    char* next = own.get();
    for (std::size_t i = 0; i < count; ++i) {
        if (kept[i]) {
            stored[i] = texts[i];
        } else {
            std::memcpy(next, texts[i].data(), texts[i].size());
            stored[i] = std::string_view(next, texts[i].size());
            next += texts[i].size();
        }
    }
    node->texts_ = stored;
    node->own_ = std::move(own);
    node->sourceLine_ = {};
    return true;
}

bool Catalogue::Owns(const CatalogueNode* node) const {
    if (!node || !root_) return false;
    while (node->parent_) node = node->parent_;
    return node == root_;
}

void Catalogue::Append(CatalogueNode* parent, CatalogueNode* node) {
    node->parent_ = parent;
    node->previousSibling_ = parent->lastChild_;
    node->nextSibling_ = nullptr;
    if (parent->lastChild_)
        parent->lastChild_->nextSibling_ = node;
    else
        parent->firstChild_ = node;
    parent->lastChild_ = node;
    ++parent->childCount_[static_cast<int>(node->kind_)];
}

void Catalogue::Unlink(CatalogueNode* node) {
    CatalogueNode* parent = node->parent_;
    if (node->previousSibling_)
        node->previousSibling_->nextSibling_ = node->nextSibling_;
    else
        parent->firstChild_ = node->nextSibling_;
    if (node->nextSibling_)
        node->nextSibling_->previousSibling_ = node->previousSibling_;
    else
        parent->lastChild_ = node->previousSibling_;
    --parent->childCount_[static_cast<int>(node->kind_)];
    node->parent_ = node->nextSibling_ = node->previousSibling_ = nullptr;
}

// Iterative so that a category with a huge number of items cannot exhaust
// the stack: each freed node's children are spliced in front of the pending
// chain, which runs along the sibling links.
void Catalogue::FreeSubtree(CatalogueNode* node) {
    node->nextSibling_ = nullptr;
    CatalogueNode* pending = node;
    while (pending) {
        CatalogueNode* current = pending;
        pending = current->nextSibling_;
        if (current->firstChild_) {
            current->lastChild_->nextSibling_ = pending;
            pending = current->firstChild_;
        }
        current->~CatalogueNode();
        nodePool_.Free(current);
    }
}

CatalogueNode* Catalogue::AddCategory(std::string_view name) {
    if (name.empty() || name.size() > kMaxCategoryNameBytes) return nullptr;
    try {
        CatalogueNode* root = Root();
        if (root->childCount_[static_cast<int>(NodeKind::Category)] > kMaxCategoriesBeforeAdd) return nullptr;
        CatalogueNode* category = NewNode(NodeKind::Category);
        if (!StoreTexts(category, &name, 1)) {
            FreeSubtree(category);
            return nullptr;
        }
        Append(root, category);
        modified_ = true;
        return category;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool Catalogue::DeleteCategory(CatalogueNode* category) {
    if (!category || category->kind_ != NodeKind::Category || !Owns(category)) return false;
    Unlink(category);
    FreeSubtree(category);
    modified_ = true;
    return true;
}

bool Catalogue::RenameCategory(CatalogueNode* category, std::string_view name) {
    if (!category || category->kind_ != NodeKind::Category || name.empty() || !Owns(category)) return false;
    if (!StoreTexts(category, &name, 1)) return false;
    modified_ = true;
    return true;
}

CatalogueNode* Catalogue::AddStoredItem(CatalogueNode* parent, const FieldViews& storedFields,
                                        std::string_view sourceLine) {
    if (!parent || !IsContainer(parent) || storedFields[0].empty() || storedFields[1].empty() || !Owns(parent))
        return nullptr;
    CatalogueNode* item;
    try {
        item = NewNode(NodeKind::Item);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (!StoreTexts(item, storedFields.data(), kFieldCount)) {
        FreeSubtree(item);
        return nullptr;
    }
    if (IsKept(sourceLine)) item->sourceLine_ = sourceLine;
    Append(parent, item);
    modified_ = true;
    return item;
}

CatalogueNode* Catalogue::AddItem(CatalogueNode* parent, const ItemFields& fields) {
    std::string regcode = EncodeLineBreaks(fields.Regcode);
    FieldViews views = ViewsOf(fields);
    views[static_cast<std::size_t>(Field::Regcode)] = regcode;
    return AddStoredItem(parent, views);
}

bool Catalogue::DeleteItem(CatalogueNode* item) {
    if (!item || item->kind_ != NodeKind::Item || !Owns(item)) return false;
    Unlink(item);
    FreeSubtree(item);
    modified_ = true;
    return true;
}

bool Catalogue::SetItemFields(CatalogueNode* item, const ItemFields& fields) {
    if (!item || item->kind_ != NodeKind::Item || fields.Name.empty() || fields.SrcPath.empty() || !Owns(item))
        return false;
    std::string regcode = EncodeLineBreaks(fields.Regcode);
    FieldViews views = ViewsOf(fields);
    views[static_cast<std::size_t>(Field::Regcode)] = regcode;
    {
        std::lock_guard<std::mutex> lock(fieldsLock_);
        // An unchanged field keeps its place, in the loaded file's bytes if
        // it came from there.
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            if (views[i] == item->texts_[i]) views[i] = item->texts_[i];
        }
        if (!StoreTexts(item, views.data(), kFieldCount)) return false;
    }
    modified_ = true;
    return true;
}

bool Catalogue::GetItemFields(const CatalogueNode* item, ItemFields& out) const {
    if (!item || item->kind_ != NodeKind::Item || !Owns(item)) return false;
    ItemFields copy;
    {
        std::lock_guard<std::mutex> lock(fieldsLock_);
        copy.Name = item->StoredField(Field::Name);
        copy.SrcPath = item->StoredField(Field::SrcPath);
        copy.DstDir = item->StoredField(Field::DstDir);
        copy.Patch = item->StoredField(Field::Patch);
        copy.Regcode = item->StoredField(Field::Regcode);
        copy.Settings = item->StoredField(Field::Settings);
        copy.Comment = item->StoredField(Field::Comment);
    }
    copy.Regcode = DecodeLineBreaks(copy.Regcode);
    out = std::move(copy);
    return true;
}

bool Catalogue::RenameItem(CatalogueNode* item, std::string_view name) {
    if (!item || item->kind_ != NodeKind::Item || name.empty() || !Owns(item)) return false;
    {
        std::lock_guard<std::mutex> lock(fieldsLock_);
        FieldViews views = item->texts_;
        views[static_cast<std::size_t>(Field::Name)] = name;
        if (!StoreTexts(item, views.data(), kFieldCount)) return false;
    }
    modified_ = true;
    return true;
}

bool Catalogue::MoveItem(CatalogueNode* item, CatalogueNode* target) {
    if (!item || item->kind_ != NodeKind::Item || !target || target->kind_ != NodeKind::Category ||
        item->parent_ == target || !Owns(item) || !Owns(target))
        return false;
    Unlink(item);
    Append(target, item);
    modified_ = true;
    return true;
}

int Catalogue::Count(const CatalogueNode* parent, NodeKind kind, bool recursive) const {
    if (!parent || !IsContainer(parent) || !IsChildKind(kind) || !Owns(parent)) return 0;
    int count = parent->childCount_[static_cast<int>(kind)];
    if (recursive) {
        for (const CatalogueNode* child = parent->firstChild_; child; child = child->nextSibling_) {
            if (child->kind_ == NodeKind::Category) count += child->childCount_[static_cast<int>(kind)];
        }
    }
    return count;
}

bool Catalogue::Enumerate(CatalogueNode* parent, NodeKind kind, const EnumerateCallback& callback) const {
    if (!callback || !parent || !IsContainer(parent) || !IsChildKind(kind) || !Owns(parent)) return false;
    for (CatalogueNode* child = parent->firstChild_; child;) {
        // Read the link first: the receiver may delete the node it is handed.
        CatalogueNode* next = child->nextSibling_;
        if (child->kind_ == kind) callback(kind, child);
        child = next;
    }
    return true;
}

}  // namespace corvel
