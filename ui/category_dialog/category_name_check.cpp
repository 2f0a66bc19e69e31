#include "ui/category_dialog/category_name_check.h"

#include "catalogue/catalogue_file.h"
#include "catalogue/catalogue_model.h"
#include "catalogue/cp936.h"

namespace corvel {

CategoryNameCheck CheckCategoryName(std::string_view typed) {
    // The reader trims this same set, so a name never turns empty there.
    // White space bytes are never trail bytes: a byte-wise trim cuts whole
    // characters.
    std::string name(TrimLeft(typed, kWhiteSpace));
    CategoryNameVerdict verdict = CategoryNameVerdict::Accept;
    if (name.empty()) {
        verdict = CategoryNameVerdict::Empty;
    } else if (name.size() > kMaxCategoryNameBytes) {
        verdict = CategoryNameVerdict::TooLong;
    } else if (HasDoubleBackslash(name)) {
        // Saved, such a header would be dropped with its items at the next start.
        verdict = CategoryNameVerdict::DoubleBackslash;
    }
    return {verdict, std::move(name)};
}

MessageIcon IconFor(CategoryNameVerdict verdict) {
    return verdict == CategoryNameVerdict::Empty ? MessageIcon::Exclamation : MessageIcon::Stop;
}

}  // namespace corvel
