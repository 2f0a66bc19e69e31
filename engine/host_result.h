// What the component host answers for one file of an install step: the
// first component answer other than kNotMine, or kNoComponent. Portable.
#pragma once

#include "components/component_interface.h"

namespace corvel {

// No component took the file: none is loaded, or each answered kNotMine.
inline constexpr int kNoComponent = 5;

}  // namespace corvel
