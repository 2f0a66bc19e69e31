// Fixed-size blocks carved from large chunks, with freed blocks reused: a
// catalogue of 100,000 items then costs a few hundred allocations for its
// nodes instead of 100,000.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define CORVEL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVEL_ASAN 1
#endif
#endif

namespace corvel {

template <std::size_t BlockSize, std::size_t BlocksPerChunk = 1024>
class BlockPool {
public:
    BlockPool() = default;
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    // Storage for one block; throws std::bad_alloc.
    void* Allocate() {
#ifdef CORVEL_ASAN
        return ::operator new (sizeof(Block), std::align_val_t{alignof(Block)});  // let ASan see every block
#endif
        if (free_) {
            FreeBlock* block = free_;
            free_ = block->next;
            return block;
        }
        if (chunks_.empty() || usedInLastChunk_ == BlocksPerChunk) {
            chunks_.emplace_back(new Block[BlocksPerChunk]);  // left unset: each user constructs its block
            usedInLastChunk_ = 0;
        }
        return &chunks_.back()[usedInLastChunk_++];
    }

    void Free(void* block) {
#ifdef CORVEL_ASAN
        return ::operator delete (block, std::align_val_t{alignof(Block)});
#endif
        auto* freed = static_cast<FreeBlock*>(block);
        freed->next = free_;
        free_ = freed;
    }

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    struct alignas(std::max_align_t) Block {
        std::byte bytes[BlockSize < sizeof(FreeBlock) ? sizeof(FreeBlock) : BlockSize];
    };

    std::vector<std::unique_ptr<Block[]>> chunks_;
    std::size_t usedInLastChunk_ = 0;
    FreeBlock* free_ = nullptr;
};

}  // namespace corvel
