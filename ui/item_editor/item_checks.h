// The checks the item editor runs on OK: fourteen steps over the seven typed
// fields, in a fixed order, stopping at the first fault. Portable.
#pragma once

#include "catalogue/catalogue_model.h"
#include "catalogue/names.h"

namespace corvel {

// Steps 1 to 13 are faults, each with its own message; 14 means all passed.
inline constexpr int kItemChecksPassed = 14;

struct ItemCheck {
    int step;          // 1..13, or kItemChecksPassed
    MessageIcon icon;  // meaningful only for a fault

    bool Passed() const { return step == kItemChecksPassed; }
};

// typed: the fields as the user left them (code page 936, Regcode with
// CR LF). Each step reads its field into record before checking it, with
// leading white space removed from Name, SrcPath, DstDir, Patch and
// Settings; the fields after a fault are left untouched.
ItemCheck CheckItemFields(const ItemFields& typed, ItemFields& record);

}  // namespace corvel
