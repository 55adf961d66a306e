// Moving a group's messages into another group that owns them from then on.
#pragma once

// Hands the pointers in `from` (a deque or a vector of them) over front to
// back, each leaving `from` before `add` takes it: when memory runs out
// part-way, a message is never in both places, and what has not moved yet
// still belongs to the old group.
template <class Sequence, class Add>
void HandOver(Sequence& from, Add add) {
  while (!from.empty()) {
    auto* item = from.front();
    from.erase(from.begin());
    add(item);
  }
}

// Moves every message of the group from into the group to.
template <class Group>
void MoveMessages(Group& from, Group& to) {
  HandOver(from.GetMsgs(), [&to](auto* item) { to.AddMsg(item); });
}
