// Counts the bytes that operator new and the platform layer's allocator
// (through its hooks) hand out while a counter lives. The program's operator
// new serves the shared libraries too only where the dynamic linker binds
// their operator new to the program's (ELF systems).
#pragma once

#include <cstddef>

class AllocationCounter
{
public:
    AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;
    ~AllocationCounter();

    std::size_t Bytes() const;
};
