// MyShareGroup: the user's own shares of one application and share type,
// greatest share time first, at most 8 of them.
//
// The group owns its items. An item that the cap pushes out waits in
// PushedOut() for the center, which removes its stored row.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

class MyShareItem;

class MyShareGroup {
 public:
  MyShareGroup();
  ~MyShareGroup();
  MyShareGroup(const MyShareGroup&) = delete;
  MyShareGroup& operator=(const MyShareGroup&) = delete;

  int32_t GetShareType() const { return shareType; }
  void SetShareType(int32_t value) { shareType = value; }
  uint32_t GetAppId() const { return appId; }
  void SetAppId(uint32_t value) { appId = value; }
  std::deque<MyShareItem*>& GetItems() { return items; }
  // The greatest share time ever added.
  uint32_t GetLatestShareTime() const { return latestShareTime; }

  // Takes ownership; null is ignored. Among equal times the newest arrival
  // goes first; beyond the cap the oldest item moves to PushedOut().
  void AddItem(MyShareItem* item);
  // The items pushed out at the cap whose rows are still to be removed; the
  // group deletes what is left in it when it goes.
  std::vector<MyShareItem*>& PushedOut() { return pushedOut; }
  // Empties the group, deleting the items only when asked: without deletion
  // they must already belong to somebody else.
  void Clear(bool deleteItems);

 private:
  int32_t shareType;
  uint32_t appId;
  uint32_t capacity;
  std::deque<MyShareItem*> items;
  std::vector<MyShareItem*> pushedOut;
  uint32_t latestShareTime;
};
