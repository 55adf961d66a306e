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

  int32_t GetShareType() const { return shareType_; }
  void SetShareType(int32_t value) { shareType_ = value; }
  uint32_t GetAppId() const { return appId_; }
  void SetAppId(uint32_t value) { appId_ = value; }
  std::deque<MyShareItem*>& GetItems() { return items_; }
  // The greatest share time ever added.
  uint32_t GetLatestShareTime() const { return latestShareTime_; }

  // Takes ownership; null is ignored. Among equal times the newest arrival
  // goes first; beyond the cap the oldest item moves to PushedOut().
  void AddItem(MyShareItem* item);
  // The items pushed out at the cap whose rows are still to be removed; the
  // group deletes what is left in it when it goes.
  std::vector<MyShareItem*>& PushedOut() { return pushedOut_; }
  // Empties the group, deleting the items only when asked: without deletion
  // they must already belong to somebody else.
  void Clear(bool deleteItems);

 private:
  int32_t shareType_;
  uint32_t appId_;
  uint32_t capacity_;
  std::deque<MyShareItem*> items_;
  std::vector<MyShareItem*> pushedOut_;
  uint32_t latestShareTime_;
};
