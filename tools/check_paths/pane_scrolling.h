// Scroll positions of the check paths pane. Portable.
#pragma once

namespace corvel {

enum class ScrollStep { LineBack, LineForward, PageBack, PageForward, ToStart, ToEnd, ToTrack };

// The new position after step, kept between 0 and contentSize - page; line
// is the pixels of one arrow step.
int ScrolledPosition(ScrollStep step, int position, int page, int contentSize, int line, int trackPosition = 0);

// Turns wheel movement into line steps: one step for each 120 / linesPerNotch
// units, the rest kept for the next movement in the same direction.
class WheelSteps {
public:
    // Lines to scroll, positive towards the end (the wheel turned back,
    // a negative delta). Nothing when linesPerNotch is 0.
    int Take(int delta, unsigned linesPerNotch);

private:
    int pending_ = 0;
};

}  // namespace corvel
