// Heap bytes in use, for tests that a repeated action takes no more memory.
#pragma once

#include <malloc.h>

#include <cstddef>

extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

// From the sanitizer's allocator when there is one (it keeps glibc's counts
// still), else from glibc's.
inline long long AllocatedBytes() {
    if (__sanitizer_get_current_allocated_bytes)
        return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
    return static_cast<long long>(mallinfo2().uordblks);
}
