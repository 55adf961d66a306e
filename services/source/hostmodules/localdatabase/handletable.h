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

  // Null for 0, a closed handle or one never given out. A walk over rows asks
  // for the same handle at every field: the last one found is kept at hand.
  T* Find(uint32_t handle) const {
    if (handle != 0 && handle == lastHandle_) {
      return lastObject_;
    }
    auto found = objects_.find(handle);
    if (found == objects_.end()) {
      return nullptr;
    }
    lastHandle_ = handle;
    lastObject_ = found->second.get();
    return lastObject_;
  }

  // The object leaves the table; the caller destroys it.
  std::unique_ptr<T> Remove(uint32_t handle) {
    auto found = objects_.find(handle);
    if (found == objects_.end()) {
      return nullptr;
    }
    std::unique_ptr<T> object = std::move(found->second);
    objects_.erase(found);
    Forget();
    return object;
  }

  // Removes every object for which the predicate holds.
  template <typename Predicate>
  void RemoveIf(Predicate predicate) {
    for (auto it = objects_.begin(); it != objects_.end();) {
      it = predicate(*it->second) ? objects_.erase(it) : std::next(it);
    }
    Forget();
  }

  size_t size() const { return objects_.size(); }

 private:
  void Forget() {
    lastHandle_ = 0;
    lastObject_ = nullptr;
  }

  std::map<uint32_t, std::unique_ptr<T>> objects_;
  uint32_t* next_;  // the next handle to give out
  mutable uint32_t lastHandle_ = 0;  // 0: none kept
  mutable T* lastObject_ = nullptr;
};

}  // namespace halyx
