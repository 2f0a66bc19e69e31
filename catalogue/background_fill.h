// A block written in order on a thread of its own and read behind it on the
// caller's: reading what is written overlaps with writing the rest (the
// disk's or the kernel's copy of a file, a copy of a text).
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>

namespace corvel {

class BackgroundFill {
public:
    // Told the number of bytes written so far, from the block's start.
    using Progress = std::function<void(std::size_t)>;
    // Writes the block in order, calling progress after each chunk; false
    // when it could not write all it meant to.
    using Fill = std::function<bool(const Progress&)>;

    // Starts fill on a new thread, or runs it here when no thread can be
    // started (everything is then written when the constructor returns).
    explicit BackgroundFill(Fill fill);
    // Waits for the fill to end: the block must outlive its writer.
    ~BackgroundFill();
    BackgroundFill(const BackgroundFill&) = delete;
    BackgroundFill& operator=(const BackgroundFill&) = delete;

    // Waits until more than seen bytes are written or the fill has ended,
    // and returns the bytes written; ended tells which.
    std::size_t WaitBeyond(std::size_t seen, bool& ended);
    // Once ended: whether the fill wrote all it meant to.
    bool Succeeded();

private:
    void Run();

    Fill fill_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t written_ = 0;
    bool ended_ = false;
    bool succeeded_ = false;
    std::thread thread_;
};

}  // namespace corvel
