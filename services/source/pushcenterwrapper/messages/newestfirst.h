// Newest-first sequences with a cap: how every group files a message and every
// center files a group, letting the oldest go when the cap is passed.
#pragma once

#include <cstddef>
#include <utility>

// Every element comes in here, and a null item is refused (nothing is filed,
// an empty element comes back): the sequences never hold a null, and their
// readers do not check for one.
//
// Files item before the first held element that goesBefore(item, held) says
// it precedes, or at the back. When the
// sequence then holds more than cap elements, the last one is taken out and
// returned for the caller to dispose of (it may be item itself); otherwise an
// empty element comes back. Only the insertion can throw, and then the
// sequence is as it was.
template <class Sequence, class Item, class GoesBefore>
typename Sequence::value_type InsertNewestFirst(Sequence& sequence, Item&& item, size_t cap,
                                                GoesBefore goesBefore) {
  if (item == nullptr) return typename Sequence::value_type();
  auto at = sequence.begin();
  while (at != sequence.end() && !goesBefore(item, *at)) ++at;
  sequence.insert(at, std::forward<Item>(item));
  if (sequence.size() <= cap) return typename Sequence::value_type();
  typename Sequence::value_type oldest = std::move(sequence.back());
  sequence.pop_back();
  return oldest;
}
