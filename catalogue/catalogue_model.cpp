#include "catalogue_model.h"

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

CatalogueNode* Catalogue::Root() {
    if (!root_) root_ = new CatalogueNode(NodeKind::Root, std::string());
    return root_;
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
        delete current;
    }
}

CatalogueNode* Catalogue::AddCategory(std::string_view name) {
    if (name.empty() || name.size() > kMaxCategoryNameBytes) return nullptr;
    try {
        CatalogueNode* root = Root();
        if (root->childCount_[static_cast<int>(NodeKind::Category)] > kMaxCategoriesBeforeAdd) return nullptr;
        auto* category = new CatalogueNode(NodeKind::Category, std::string(name));
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
    category->name_.assign(name);
    modified_ = true;
    return true;
}

CatalogueNode* Catalogue::AppendItem(CatalogueNode* parent, ItemFields storedFields) {
    if (!parent || !IsContainer(parent) || storedFields.Name.empty() || storedFields.SrcPath.empty() || !Owns(parent))
        return nullptr;
    try {
        auto* item = new CatalogueNode(NodeKind::Item, std::string());
        item->fields_ = std::make_unique<ItemFields>(std::move(storedFields));
        Append(parent, item);
        modified_ = true;
        return item;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

CatalogueNode* Catalogue::AddItem(CatalogueNode* parent, ItemFields fields) {
    fields.Regcode = EncodeLineBreaks(fields.Regcode);
    return AppendItem(parent, std::move(fields));
}

CatalogueNode* Catalogue::AddStoredItem(CatalogueNode* category, ItemFields storedFields) {
    return AppendItem(category, std::move(storedFields));
}

bool Catalogue::DeleteItem(CatalogueNode* item) {
    if (!item || item->kind_ != NodeKind::Item || !Owns(item)) return false;
    Unlink(item);
    FreeSubtree(item);
    modified_ = true;
    return true;
}

bool Catalogue::SetItemFields(CatalogueNode* item, ItemFields fields) {
    if (!item || item->kind_ != NodeKind::Item || !item->fields_ || fields.Name.empty() || fields.SrcPath.empty() ||
        !Owns(item))
        return false;
    fields.Regcode = EncodeLineBreaks(fields.Regcode);
    {
        std::lock_guard<std::mutex> lock(fieldsLock_);
        *item->fields_ = std::move(fields);
    }
    modified_ = true;
    return true;
}

bool Catalogue::GetItemFields(const CatalogueNode* item, ItemFields& out) const {
    if (!item || item->kind_ != NodeKind::Item || !item->fields_ || !Owns(item)) return false;
    ItemFields copy;
    {
        std::lock_guard<std::mutex> lock(fieldsLock_);
        copy = *item->fields_;
    }
    copy.Regcode = DecodeLineBreaks(copy.Regcode);
    out = std::move(copy);
    return true;
}

bool Catalogue::RenameItem(CatalogueNode* item, std::string_view name) {
    if (!item || item->kind_ != NodeKind::Item || !item->fields_ || name.empty() || !Owns(item)) return false;
    std::string newName(name);
    {
        std::lock_guard<std::mutex> lock(fieldsLock_);
        item->fields_->Name.swap(newName);
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
