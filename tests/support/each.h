// The values of one member over a sequence, for comparing a whole listing or
// group in one expectation: a data member or a getter, over a container of
// objects or pointers, or over an array that the library handed out.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

template <class Range, class Member>
std::vector<uint32_t> Each(const Range& items, Member member) {
  std::vector<uint32_t> values;
  for (const auto& item : items) values.push_back(static_cast<uint32_t>(std::invoke(member, item)));
  return values;
}

template <class T, class Member>
std::vector<uint32_t> Each(const T* items, uint32_t count, Member member) {
  return Each(std::vector<std::reference_wrapper<const T>>(items, items + count), member);
}

using Values = std::vector<uint32_t>;
