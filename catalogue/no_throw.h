// Where Windows, a thread start or another module calls our code, no C++
// exception may unwind out of it (an allocation that fails, say): such an
// entry runs its body through NoThrow, which turns an exception into the
// failure that entry reports anyway.
#pragma once

#include <utility>

namespace corvel {

template <typename Result, typename Body>
Result NoThrow(Result failure, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        return failure;
    }
}

// For a body whose failure reports nothing.
template <typename Body>
void NoThrow(Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
    } catch (...) {
    }
}

}  // namespace corvel
