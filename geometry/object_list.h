#pragma once

#include <cstdint>
#include <vector>

namespace korvane {

// Objects in order, as pointers that the list does not own: a document's objects, or a selection
// of them for a writer. Whoever owns the objects keeps the list in step with them.
template <class T>
class ObjectList {
  public:
    using const_iterator = typename std::vector<T*>::const_iterator;

    ObjectList() = default;
    ObjectList(const ObjectList&) = delete;
    ObjectList& operator=(const ObjectList&) = delete;
    ObjectList(ObjectList&&) noexcept = default;
    ObjectList& operator=(ObjectList&&) noexcept = default;

    void Append(T* object) { objects_.push_back(object); }
    void RemoveTail() { objects_.pop_back(); }
    void Clear() { objects_.clear(); }

    // The first, the last and the index-th object; the list must hold it.
    T* GetHead() const { return objects_.front(); }
    T* GetTail() const { return objects_.back(); }
    T* At(std::int32_t index) const { return objects_[static_cast<std::size_t>(index)]; }

    std::int32_t GetCount() const { return static_cast<std::int32_t>(objects_.size()); }
    bool IsEmpty() const { return objects_.empty(); }

    const_iterator begin() const { return objects_.begin(); }
    const_iterator end() const { return objects_.end(); }

  private:
    std::vector<T*> objects_;
};

}  // namespace korvane
