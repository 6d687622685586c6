#pragma once
// Movable memory blocks as TWAIN hands them between application and source
// (capability containers, native-transfer images): a handle to a block that
// knows its size. The manager library and the application share one copy of
// these functions through the platform layer.
#include <cstddef>

#include "platform/twain/TwainTypes.h"

namespace lx::twain {

// A zero-filled block of the given size; null when the memory is not there.
TW_HANDLE AllocHandle(std::size_t bytes);
// The block's size; 0 for null or for what is not one of our handles.
std::size_t HandleSize(TW_HANDLE handle);
// The block's bytes; null for null or for what is not one of our handles.
void* LockHandle(TW_HANDLE handle);
void UnlockHandle(TW_HANDLE handle);
// Frees a block; null is ignored.
void FreeHandle(TW_HANDLE handle);

} // namespace lx::twain
