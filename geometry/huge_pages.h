#pragma once

#include <cstddef>
#include <vector>

namespace korvane {

// Asks the kernel to back the array's memory with 2 MiB pages where it can. A network of a million
// faces fills a few hundred megabytes of fresh arrays, and faulting them in 4 KiB at a time costs
// about as much as filling them. Call it after reserving and before writing; pages already touched
// and the unaligned ends keep small pages, and a kernel that declines changes nothing.
void AdviseHugePages(const void* data, std::size_t bytes);

template <class T, class A>
void AdviseHugePages(const std::vector<T, A>& array) {
    AdviseHugePages(array.data(), array.capacity() * sizeof(T));
}

}  // namespace korvane
