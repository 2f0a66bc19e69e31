#include "ui/window/display_scale.h"

#include <cstdint>

namespace corvel {

int ScaleToDpi(int pixels, int dpi) {
    const std::int64_t product = static_cast<std::int64_t>(pixels) * dpi;
    const std::int64_t half = kBaseDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kBaseDpi : (product - half) / kBaseDpi);
}

int DrawnSizeForDpi(std::initializer_list<int> drawn, int nominal, int dpi) {
    const int wanted = ScaleToDpi(nominal, dpi);
    int fitting = 0;
    int smallest = 0;
    for (int size : drawn) {
        if (size <= wanted && size > fitting) fitting = size;
        if (smallest == 0 || size < smallest) smallest = size;
    }
    return fitting ? fitting : smallest;
}

}  // namespace corvel
