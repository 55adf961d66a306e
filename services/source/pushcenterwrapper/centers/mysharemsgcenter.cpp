#include "centers/mysharemsgcenter.h"
#include "centers/fieldtext.h"
#include "centers/listing.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "messages/handover.h"
#include "messages/mysharegroup.h"
#include "messages/newestfirst.h"
#include "messages/myshareitem.h"
#include "pushcommandregistry.h"
#include "storage/sharemsgstorage.h"

// What the host reads and writes: every field at its place on the 32-bit build.
static_assert(offsetof(MyShareMsgInfo, text) == 8 && offsetof(MyShareMsgInfo, buffer) == 608 &&
                  offsetof(MyShareMsgInfo, picURL) == 1208 &&
                  offsetof(MyShareMsgInfo, appDesc) == 2048,
              "MyShareMsgInfo layout");
static_assert(sizeof(void*) != 4 || (sizeof(MyShareMsgGroupInfo) == 20 &&
                                     offsetof(MyShareMsgGroupInfo, msgs) == 16),
              "MyShareMsgGroupInfo layout");

namespace {

// The description that stands for a type-2 group: its newest item's, as a
// zero-terminated text; a group without items has the empty one.
const char* FirstAppDesc(MyShareGroup* group) {
  const std::deque<MyShareItem*>& items = group->GetItems();
  return items.empty() ? "" : items.front()->AppDescRef().c_str();
}

void MoveItems(MyShareGroup& from, MyShareGroup& to) {
  HandOver(from.GetItems(), [&to](MyShareItem* item) { to.AddItem(item); });
}

void FillInfo(MyShareMsgInfo& info, const MyShareItem& item) {
  info.shareTime = item.GetShareTime();
  info.uin = item.GetUin();
  CopyToField(info.text, item.TextRef());
  CopyToField(info.buffer, item.BufferRef());
  CopyToField(info.picURL, item.PicURLRef());
  CopyToField(info.title, item.TitleRef());
  CopyToField(info.appDesc, item.AppDescRef());
}

// The newest items of the group, newest first, in an element.
void FillElement(MyShareMsgGroupInfo& element, MyShareGroup& group, uint32_t msgLimit) {
  const std::deque<MyShareItem*>& items = group.GetItems();
  const std::vector<MyShareItem*> taken(items.begin(),
                                        items.begin() + EffectiveLimit(msgLimit, items.size()));
  element.kind = kMyShareKind;
  element.shareType = group.GetShareType();
  element.appId = group.GetAppId();
  element.msgCount = static_cast<uint32_t>(taken.size());
  element.msgs = NewRecords<MyShareMsgInfo>(taken, false, FillInfo);
}

}  // namespace

MyShareMsgCenter::MyShareMsgCenter() : MsgCenter(kMyShareKind), appDescBuffer_() { Load(); }

MyShareMsgCenter::~MyShareMsgCenter() = default;

void MyShareMsgCenter::Load() {
  std::vector<MyShareRow> rows;
  ShareMsgStorage::GetInstance()->LoadMyRows(rows);
  for (const MyShareRow& row : rows) {
    std::unique_ptr<MyShareGroup> group(new MyShareGroup());
    group->SetShareType(row.shareType);
    group->SetAppId(row.appId);
    std::unique_ptr<MyShareItem> item(new MyShareItem());
    item->SetShareTime(row.shareTime);
    item->SetUin(row.uin);
    if (!row.buffer.IsEmpty()) item->SetBuffer(ColumnToText(row.buffer));
    if (!row.picURL.IsEmpty()) item->SetPicURL(ColumnToText(row.picURL));
    if (!row.title.IsEmpty()) item->SetTitle(ColumnToText(row.title));
    if (!row.appDesc.IsEmpty()) item->SetAppDesc(ColumnToText(row.appDesc));
    if (!row.textHint.IsEmpty()) item->SetText(ColumnToText(row.textHint));
    group->AddItem(item.release());
    // Stored rows merge exactly as the host's adds did.
    AddMyShareGroup(group.release());
  }
}

bool MyShareMsgCenter::InsertGroup(std::unique_ptr<MyShareGroup> group) {
  if (group == nullptr) return false;
  const uint32_t time = group->GetLatestShareTime();
  std::unique_ptr<MyShareGroup> oldest =
      InsertNewestFirst(groups_, std::move(group), static_cast<size_t>(maxMsgCount_),
                        [time](const std::unique_ptr<MyShareGroup>&, const std::unique_ptr<MyShareGroup>& held) {
                          return held->GetLatestShareTime() <= time;
                        });
  if (oldest != nullptr) RemoveRows(*oldest);
  return true;
}

void MyShareMsgCenter::RemovePushedOut(MyShareGroup& group) {
  std::vector<MyShareItem*>& pushedOut = group.PushedOut();
  while (!pushedOut.empty()) {
    std::unique_ptr<MyShareItem> item(pushedOut.back());
    pushedOut.pop_back();
    ShareMsgStorage::GetInstance()->DeleteMyRows(group.GetAppId(), group.GetShareType(), item->GetShareTime());
  }
}

void MyShareMsgCenter::RemoveRows(MyShareGroup& group) {
  RemovePushedOut(group);
  ShareMsgStorage* storage = ShareMsgStorage::GetInstance();
  for (MyShareItem* item : group.GetItems()) {
    storage->DeleteMyRows(group.GetAppId(), group.GetShareType(), item->GetShareTime());
  }
}

void MyShareMsgCenter::AddMyShareGroup(MyShareGroup* raw) {
  std::unique_ptr<MyShareGroup> group(raw);
  if (group == nullptr) return;
  RemovePushedOut(*group);
  const uint32_t appId = group->GetAppId();
  const int32_t shareType = group->GetShareType();
  for (auto at = groups_.begin(); at != groups_.end(); ++at) {
    MyShareGroup* listed = at->get();
    if (listed->GetAppId() != appId || listed->GetShareType() != shareType) {
      continue;
    }
    if (shareType == 2) {
      // Compared as zero-terminated texts, as the host sees them.
      const char* desc = FirstAppDesc(listed);
      if (strcmp(desc, FirstAppDesc(group.get())) != 0) {
        memset(appDescBuffer_, 0, sizeof appDescBuffer_);
        continue;
      }
      CopyToField(appDescBuffer_, desc);
    }
    MoveItems(*group, *listed);
    RemovePushedOut(*listed);
    group.reset();
    std::unique_ptr<MyShareGroup> merged = std::move(*at);
    groups_.erase(at);
    InsertGroup(std::move(merged));
    break;
  }
  if (group != nullptr) InsertGroup(std::move(group));
  NotifyPushCommand(kMyShareBit, kEventAdded, appId, 0, static_cast<uint32_t>(shareType), 0, 0);
}

bool MyShareMsgCenter::AddMyShareMsg(const MyShareMsgGroupInfo* info) {
  if (info == nullptr) return false;
  std::unique_ptr<MyShareGroup> group(new MyShareGroup());
  group->SetAppId(info->appId);
  group->SetShareType(info->shareType);
  for (uint32_t i = 0; info->msgs != nullptr && i < info->msgCount; ++i) {
    const MyShareMsgInfo& msg = info->msgs[i];
    std::unique_ptr<MyShareItem> item(new MyShareItem());
    item->SetUin(msg.uin);
    item->SetBuffer(ReadField(msg.buffer));
    item->SetPicURL(ReadField(msg.picURL));
    item->SetAppDesc(ReadField(msg.appDesc));
    item->SetTitle(ReadField(msg.title));
    item->SetText(ReadField(msg.text));
    item->SetShareTime(msg.shareTime);
    group->AddItem(item.release());
  }

  // What the cap pushed out goes before the kept items are stored, as the
  // rows of both may share a time.
  RemovePushedOut(*group);
  std::vector<MyShareRow> rows;
  rows.reserve(group->GetItems().size());
  for (MyShareItem* item : group->GetItems()) {
    // Filled in place: a row's buffers are copied one by one when a row is.
    rows.emplace_back();
    MyShareRow& row = rows.back();
    row.shareType = group->GetShareType();
    row.appId = group->GetAppId();
    row.uin = item->GetUin();
    row.shareTime = item->GetShareTime();
    SetColumnText(row.buffer, item->BufferRef(), true);
    SetColumnText(row.picURL, item->PicURLRef(), true);
    SetColumnText(row.title, item->TitleRef(), true);
    SetColumnText(row.appDesc, item->AppDescRef(), true);
    SetColumnText(row.textHint, item->TextRef(), true);
  }
  ShareMsgStorage::GetInstance()->SaveMyRows(rows);
  AddMyShareGroup(group.release());
  return true;
}

uint32_t MyShareMsgCenter::GetMyShareMsg(uint32_t groupLimit, uint32_t msgLimit,
                                         MyShareMsgGroupInfo** out) {
  if (out == nullptr) return 0;
  size_t n = groups_.size();
  if (groupLimit != 0 && groupLimit < n) n = groupLimit;
  std::vector<MyShareGroup*> selection;
  for (auto& group : groups_) {
    if (selection.size() == n) break;
    selection.push_back(group.get());
  }
  if (selection.empty()) return 0;
  // Held by its owner until it is handed out, so that a listing cut short by
  // a lack of memory leaves nothing behind.
  std::unique_ptr<MyShareMsgGroupInfo[]> elements(new MyShareMsgGroupInfo[selection.size()]());
  for (size_t i = 0; i < selection.size(); ++i) FillElement(elements[i], *selection[i], msgLimit);
  *out = elements.release();
  return static_cast<uint32_t>(selection.size());
}

uint32_t MyShareMsgCenter::GetMyShareMsgForApp(uint32_t appId, int32_t shareType, uint32_t msgLimit,
                                               MyShareMsgGroupInfo** out, const char* appDesc) {
  if (out == nullptr) return 0;
  // A host that frees only what a non-zero result hands out leaks nothing.
  *out = nullptr;
  for (auto& group : groups_) {
    if (group->GetAppId() != appId || group->GetShareType() != shareType) {
      continue;
    }
    if (shareType == 2 && appDesc != nullptr &&
        strcmp(FirstAppDesc(group.get()), appDesc) != 0) {
      continue;
    }
    if (group->GetItems().empty()) return 0;
    std::unique_ptr<MyShareMsgGroupInfo[]> element(new MyShareMsgGroupInfo[1]());
    FillElement(element[0], *group, msgLimit);
    *out = element.release();
    return (*out)[0].msgCount;
  }
  return 0;
}

uint32_t MyShareMsgCenter::DeleteMyShareMsg(uint32_t appId, uint32_t extra) {
  auto at = std::find_if(groups_.begin(), groups_.end(), [appId](const std::unique_ptr<MyShareGroup>& g) {
    return g->GetAppId() == appId;
  });
  if (at == groups_.end()) return 0;
  std::unique_ptr<MyShareGroup> group = std::move(*at);
  groups_.erase(at);
  RemoveRows(*group);
  const uint32_t count = static_cast<uint32_t>(group->GetItems().size());
  NotifyPushCommand(kMyShareBit, kEventDeleted, appId, 0, static_cast<uint32_t>(group->GetShareType()),
                    extra, 0);
  return count;
}

bool MyShareMsgCenter::ClearMsg() {
  groups_.clear();
  ShareMsgStorage::GetInstance()->ClearMy();
  NotifyPushCommand(kMyShareBit, kEventDeleted, 0, 0, 1, 0, 0);
  return true;
}

uint32_t MyShareMsgCenter::GetMsgCount() { return static_cast<uint32_t>(groups_.size()); }
uint32_t MyShareMsgCenter::GetAllMyShareMsgNum() { return static_cast<uint32_t>(groups_.size()); }
const char* MyShareMsgCenter::GetAppDesc() { return appDescBuffer_; }
