#include "platform/twain/TwainMemory.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace lx::twain {

namespace {

// Marks a live block, so that a stray pointer or a second free is noticed
// instead of corrupting the heap.
constexpr std::uint64_t kLiveMark = 0x4C58'5457'4D45'4D31ull;

struct Block {
    std::uint64_t mark;
    std::size_t size;
    alignas(std::max_align_t) unsigned char bytes[1];
};

Block* Live(TW_HANDLE handle)
{
    auto* block = static_cast<Block*>(handle);
    return block && block->mark == kLiveMark ? block : nullptr;
}

} // namespace

TW_HANDLE AllocHandle(std::size_t bytes)
{
    if (bytes > SIZE_MAX - sizeof(Block))
        return nullptr;
    void* memory = std::calloc(1, sizeof(Block) + bytes);
    if (!memory)
        return nullptr;
    auto* block = new (memory) Block;
    block->mark = kLiveMark;
    block->size = bytes;
    return block;
}

std::size_t HandleSize(TW_HANDLE handle)
{
    const Block* block = Live(handle);
    return block ? block->size : 0;
}

void* LockHandle(TW_HANDLE handle)
{
    Block* block = Live(handle);
    return block ? block->bytes : nullptr;
}

void UnlockHandle(TW_HANDLE) {}

void FreeHandle(TW_HANDLE handle)
{
    if (Block* block = Live(handle)) {
        block->mark = 0;
        std::free(block);
    }
}

} // namespace lx::twain
