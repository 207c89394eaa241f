#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>

#include "geometry/huge_pages.h"

namespace korvane {

// An array of plain records whose capacity is always exactly the size last requested: no spare
// room, no geometric growth. Shrinking only lowers the count; the elements past it keep their
// contents and come back unchanged when the array grows again within its capacity.
template <class T>
class GrowableArray {
    static_assert(std::is_trivially_copyable_v<T>, "elements move by bitwise copy");

  public:
    GrowableArray() = default;
    GrowableArray(const GrowableArray&) = delete;
    GrowableArray& operator=(const GrowableArray&) = delete;
    GrowableArray(GrowableArray&&) noexcept = default;
    GrowableArray& operator=(GrowableArray&&) noexcept = default;

    // Releases the storage; for n > 0 allocates n default-constructed elements.
    void Allocate(std::int32_t n) {
        Release();
        if (n > 0) {
            storage_ = MakeStorage(n);
            count_ = capacity_ = n;
        }
    }

    void Release() {
        storage_.reset();
        count_ = capacity_ = 0;
    }

    void Resize(std::int32_t n) {
        if (capacity_ == 0) {
            Allocate(n);
        } else if (n <= 0) {
            count_ = 0;
        } else if (n <= capacity_) {
            count_ = n;
        } else {
            Storage grown = MakeStorage(n);
            std::copy_n(storage_.get(), count_, grown.get());
            storage_ = std::move(grown);
            count_ = capacity_ = n;
        }
    }

    std::int32_t count() const { return count_; }
    std::int32_t capacity() const { return capacity_; }
    bool empty() const { return count_ == 0; }

    // No bounds test: every caller stays within 0 <= i < count().
    T& operator[](std::int32_t i) { return storage_[i]; }
    const T& operator[](std::int32_t i) const { return storage_[i]; }

    T* begin() { return storage_.get(); }
    T* end() { return storage_.get() + count_; }
    const T* begin() const { return storage_.get(); }
    const T* end() const { return storage_.get() + count_; }

  private:
    // Elements are trivially destructible: freeing the memory is all a release takes.
    struct FreeMemory {
        void operator()(T* elements) const {
            ::operator delete[](elements, std::align_val_t(alignof(T)));
        }
    };
    using Storage = std::unique_ptr<T[], FreeMemory>;

    // n value-initialised elements, in memory offered huge pages before it is first written.
    static Storage MakeStorage(std::int32_t n) {
        const std::size_t bytes = static_cast<std::size_t>(n) * sizeof(T);
        T* elements = static_cast<T*>(::operator new[](bytes, std::align_val_t(alignof(T))));
        AdviseHugePages(elements, bytes);
        std::uninitialized_value_construct_n(elements, static_cast<std::size_t>(n));
        return Storage(elements);
    }

    Storage storage_;
    std::int32_t count_ = 0;
    std::int32_t capacity_ = 0;
};

}  // namespace korvane
