// What the component host answers for one file of an install step. Portable.
#pragma once

namespace corvel {

// A component's answer 0, 2, 3 or 4, or kNoComponent.
enum HostResult : int {
    kHostDone = 0,
    kHostFailed = 2,
    kHostAbandonItem = 3,
    kHostAbandonAll = 4,
    kNoComponent = 5,
};

}  // namespace corvel
