// The check the category name dialog runs on OK. Portable.
#pragma once

#include <string>
#include <string_view>

#include "catalogue/names.h"

namespace corvel {

// In the order the checks run; the first fault found is the verdict.
enum class CategoryNameVerdict { Accept, Empty, TooLong, DoubleBackslash };

struct CategoryNameCheck {
    CategoryNameVerdict verdict;
    // The typed text without its leading white space; trailing white space
    // stays.
    std::string name;

    bool Accepted() const { return verdict == CategoryNameVerdict::Accept; }
};

// typed: the edit field's text in code page 936.
CategoryNameCheck CheckCategoryName(std::string_view typed);

// Icon of the message for a refusal.
MessageIcon IconFor(CategoryNameVerdict verdict);

}  // namespace corvel
