#include "tools/check_paths/pane_scrolling.h"

#include <algorithm>

namespace corvel {

namespace {

constexpr int kWheelNotch = 120;

}  // namespace

int ScrolledPosition(ScrollStep step, int position, int page, int contentSize, int line, int trackPosition) {
    const int last = std::max(0, contentSize - page);
    int next = position;
    switch (step) {
        case ScrollStep::LineBack:
            next = position - line;
            break;
        case ScrollStep::LineForward:
            next = position + line;
            break;
        case ScrollStep::PageBack:
            next = position - page;
            break;
        case ScrollStep::PageForward:
            next = position + page;
            break;
        case ScrollStep::ToStart:
            next = 0;
            break;
        case ScrollStep::ToEnd:
            next = last;
            break;
        case ScrollStep::ToTrack:
            next = trackPosition;
            break;
    }
    return std::clamp(next, 0, last);
}

int WheelSteps::Take(int delta, unsigned linesPerNotch) {
    if (linesPerNotch == 0) return 0;
    // More lines than units per notch (or the page setting, all ones) still
    // scrolls one line per unit rather than dividing by zero.
    const int unit = linesPerNotch >= kWheelNotch ? 1 : kWheelNotch / static_cast<int>(linesPerNotch);
    if ((pending_ > 0 && delta < 0) || (pending_ < 0 && delta > 0)) pending_ = 0;
    pending_ += delta;
    const int lines = pending_ / unit;
    pending_ -= lines * unit;
    return -lines;
}

}  // namespace corvel
