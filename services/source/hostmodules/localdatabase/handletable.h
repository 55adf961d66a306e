// Open objects by handle: small non-zero 32-bit numbers that fit every
// caller, whatever its pointer size. A handle is never given out twice, so a
// closed handle stays invalid even after other objects are opened. Tables
// that share a counter never give out the same number, so a handle of one
// kind of object is never taken for a handle of another.
#pragma once

#include <cstdint>
#include <iterator>
#include <map>
#include <memory>
#include <utility>

namespace halyx {

template <typename T>
class HandleTable {
 public:
  explicit HandleTable(uint32_t* counter) : next_(counter) {}

  uint32_t Add(std::unique_ptr<T> object) {
    const uint32_t handle = (*next_)++;
    objects_[handle] = std::move(object);
    return handle;
  }

  // Null for 0, a closed handle or one never given out.
  T* Find(uint32_t handle) const {
    auto found = objects_.find(handle);
    return found == objects_.end() ? nullptr : found->second.get();
  }

  // The object leaves the table; the caller destroys it.
  std::unique_ptr<T> Remove(uint32_t handle) {
    auto found = objects_.find(handle);
    if (found == objects_.end()) {
      return nullptr;
    }
    std::unique_ptr<T> object = std::move(found->second);
    objects_.erase(found);
    return object;
  }

  // Removes every object for which the predicate holds.
  template <typename Predicate>
  void RemoveIf(Predicate predicate) {
    for (auto it = objects_.begin(); it != objects_.end();) {
      it = predicate(*it->second) ? objects_.erase(it) : std::next(it);
    }
  }

  size_t size() const { return objects_.size(); }

 private:
  std::map<uint32_t, std::unique_ptr<T>> objects_;
  uint32_t* next_;  // the next handle to give out
};

}  // namespace halyx
