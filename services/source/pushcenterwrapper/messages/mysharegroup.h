// MyShareGroup: the user's own shares of one application and share type,
// greatest share time first, at most 8 of them.
//
// The group owns its items. An item that the cap pushes out is deleted at
// once, together with its stored row.
#pragma once

#include <cstdint>
#include <deque>

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
  // goes first.
  void AddItem(MyShareItem* item);
  // Deletes the stored row of every item; the items stay.
  void DeleteItemRows();
  // Empties the group, deleting the items only when asked: without deletion
  // they must already belong to somebody else.
  void Clear(bool deleteItems);

 private:
  int32_t shareType;
  uint32_t appId;
  uint32_t capacity;
  std::deque<MyShareItem*> items;
  uint32_t latestShareTime;
};
