// What the listings of the dynamic, share and own-share centers share: which
// messages of a group they take, and the record arrays they hand to the host.
#pragma once

#include <cstddef>
#include <vector>

// How many of available a listing with this limit takes: all for 0.
inline size_t EffectiveLimit(size_t limit, size_t available) {
  return (limit == 0 || limit > available) ? available : limit;
}

// At most count of a group's messages, newest first; read ones are passed
// over when unreadOnly is set.
template <class Msg>
std::vector<Msg*> TakeMessages(const std::vector<Msg*>& msgs, size_t count, bool unreadOnly) {
  std::vector<Msg*> taken;
  for (Msg* msg : msgs) {
    if (taken.size() >= count) break;
    if (!(unreadOnly && msg->GetReadState())) taken.push_back(msg);
  }
  return taken;
}

// The records of taken, zero-filled and then filled by fill(record, msg), in
// a new[] array that the host releases through the library; null when none
// is taken. taken runs newest first; the array runs oldest first when
// oldestFirst is set, in taken's order otherwise.
template <class Record, class Msg, class Fill>
Record* NewRecords(const std::vector<Msg*>& taken, bool oldestFirst, Fill fill) {
  if (taken.empty()) return nullptr;
  Record* records = new Record[taken.size()]();
  for (size_t i = 0; i < taken.size(); ++i) {
    fill(records[i], *taken[oldestFirst ? taken.size() - 1 - i : i]);
  }
  return records;
}
