#include "catalogue/background_fill.h"

#include <system_error>

#include "catalogue/no_throw.h"

namespace corvel {

BackgroundFill::BackgroundFill(Fill fill) : fill_(std::move(fill)) {
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        Run();
    }
}

BackgroundFill::~BackgroundFill() {
    if (thread_.joinable()) thread_.join();
}

void BackgroundFill::Run() {
    // On a thread of its own nothing may escape it; a fill that throws failed.
    bool succeeded = NoThrow(false, [this] {
        return fill_([this](std::size_t written) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                written_ = written;
            }
            changed_.notify_one();
        });
    });
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ended_ = true;
        succeeded_ = succeeded;
    }
    changed_.notify_one();
}

std::size_t BackgroundFill::WaitBeyond(std::size_t seen, bool& ended) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return written_ > seen || ended_; });
    ended = ended_;
    return written_;
}

bool BackgroundFill::Succeeded() {
    std::lock_guard<std::mutex> lock(mutex_);
    return succeeded_;
}

}  // namespace corvel
