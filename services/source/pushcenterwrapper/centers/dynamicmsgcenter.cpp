#include "centers/dynamicmsgcenter.h"
#include "centers/fieldtext.h"
#include "centers/listing.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "halyx/setting.h"
#include "messages/dynamicmsg.h"
#include "messages/dynamicmsggroup.h"
#include "messages/handover.h"
#include "messages/newestfirst.h"
#include "modules/halyx_pushcenter_wrapper.h"
#include "pushcommandregistry.h"
#include "settingids.h"
#include "storage/dynamicmsgstorage.h"

namespace {


void FillRecord(DynamicMsgInfo& record, DynamicMsg& msg) {
  record.msgId = msg.GetMsgId();
  record.openType = msg.GetOpenType();
  record.pushTime = msg.GetPushTime();
  CopyToField(record.title, msg.TitleRef());
  CopyToField(record.text, msg.TextRef());
  CopyToField(record.buttonText, msg.ButtonTextRef());
  record.voiceIndex = msg.GetVoiceIndex();
  CopyToField(record.buffer, msg.BufferRef());
  record.newFlag = msg.GetNewFlag();
}

void FillElement(DynamicMsgGroupInfo& element, DynamicMsgGroup& group,
                 const std::vector<DynamicMsg*>& taken) {
  element.valid = 1;
  element.appId = group.GetAppId();
  element.msgCountOnServer = group.GetMsgCountOnServer();
  element.msgs = NewRecords<DynamicMsgInfo>(taken, true, FillRecord);
  element.msgCount = static_cast<uint32_t>(taken.size());
}

void Notify(uint32_t eventBit, uint32_t appId, uint32_t originator) {
  NotifyPushCommand(kDynamicBit, eventBit, appId, originator, 1, 0, 0);
}

// Whether the group brings a message that the held group does not have: a
// push delivered again brings none.
bool BringsNews(DynamicMsgGroup& incoming, const DynamicMsgGroup& held) {
  for (DynamicMsg* msg : incoming.GetMsgs()) {
    if (held.Find(msg->GetMsgId()) == nullptr) return true;
  }
  return false;
}

}  // namespace

DynamicMsgCenter::DynamicMsgCenter() : MsgCenter(kDynamicKind), loaded_(false) {}

// Groups and messages go with the center; their stored rows stay.
DynamicMsgCenter::~DynamicMsgCenter() = default;

DynamicMsgGroup* DynamicMsgCenter::FindGroup(uint32_t appId) {
  for (auto& group : groups_) {
    if (group->GetAppId() == appId) return group.get();
  }
  return nullptr;
}

DynamicMsgCenter::GroupList::iterator DynamicMsgCenter::Locate(const DynamicMsgGroup* group) {
  return std::find_if(groups_.begin(), groups_.end(),
                      [group](const std::unique_ptr<DynamicMsgGroup>& held) { return held.get() == group; });
}

std::unique_ptr<DynamicMsgGroup> DynamicMsgCenter::InsertGroupByTime(std::unique_ptr<DynamicMsgGroup> group) {
  const uint32_t latest = group->GetLatestPushTime();
  return InsertNewestFirst(groups_, std::move(group), static_cast<size_t>(maxMsgCount_),
                           [latest](const std::unique_ptr<DynamicMsgGroup>&, const std::unique_ptr<DynamicMsgGroup>& held) {
                             return held->GetLatestPushTime() <= latest;
                           });
}

void DynamicMsgCenter::Refile(DynamicMsgGroup* group) {
  // The groups before it have times at least its old one: its place is the
  // first of them whose time is not above its new one, or where it stands.
  const auto from = Locate(group);
  const uint32_t latest = group->GetLatestPushTime();
  auto at = groups_.begin();
  while (at != from && (*at)->GetLatestPushTime() > latest) ++at;
  if (at != from) groups_.splice(at, groups_, from);
}

void DynamicMsgCenter::Recount() {
  uint32_t figure = 0;
  for (auto& group : groups_) figure += group->GetFigure();
  unreadCount_ = figure;
}

bool DynamicMsgCenter::EnsureLoaded() { return loaded_ || LoadOnce(); }

void DynamicMsgCenter::RemovePushedOut(DynamicMsgGroup& group, DynamicMsgStorage& storage) {
  std::vector<DynamicMsg*>& pushedOut = group.PushedOut();
  while (!pushedOut.empty()) {
    std::unique_ptr<DynamicMsg> msg(pushedOut.back());
    pushedOut.pop_back();
    const uint32_t msgId = msg->GetMsgId(), pushTime = msg->GetPushTime();
    if (!DynamicMsgStorage::MayHoldMsg(msgId, pushTime) || !storage.OpenOnce() ||
        !storage.DeleteMsg(msgId, pushTime)) {
      continue;
    }
    // The deletion names no application and reaches back in time: a held
    // message with the same id and an earlier push lost its row too, and a
    // later read stores it again.
    for (auto& other : groups_) {
      for (DynamicMsg* held : other->GetMsgs()) {
        if (held->GetMsgId() == msgId && held->GetPushTime() <= pushTime) held->SetHasRow(false);
      }
    }
  }
}

void DynamicMsgCenter::DropGroup(std::unique_ptr<DynamicMsgGroup> oldest, DynamicMsgStorage& storage) {
  if (oldest == nullptr) return;
  RemovePushedOut(*oldest, storage);
  if (DynamicMsgStorage::MayHoldApp(oldest->GetAppId()) && storage.OpenOnce()) {
    storage.DeleteByAppId(oldest->GetAppId());
  }
}

void DynamicMsgCenter::AddDynamicMsg(DynamicMsgGroup* newGroup) {
  if (newGroup == nullptr) return;
  std::unique_ptr<DynamicMsgGroup> incoming(newGroup);
  EnsureLoaded();
  DynamicMsgStorage storage;  // opened on first need
  // What the intake's folding pushed out of the batch's own group.
  RemovePushedOut(*incoming, storage);
  const uint32_t appId = incoming->GetAppId();
  DynamicMsgGroup* held = FindGroup(appId);
  if (held == nullptr) {
    DropGroup(InsertGroupByTime(std::move(incoming)), storage);
  } else {
    // A push delivered again changes nothing, its count included.
    if (!BringsNews(*incoming, *held)) return;
    held->SetMsgCountOnServer(incoming->GetMsgCountOnServer());
    MoveMessages(*incoming, *held);
    RemovePushedOut(*held, storage);
    Refile(held);
  }
  Recount();
  Notify(kEventAdded, appId, 0);
}

bool DynamicMsgCenter::LoadOnce() {
  std::vector<DynamicMsgRow> rows;
  {
    DynamicMsgStorage storage;
    if (!storage.Open()) return false;
    storage.LoadRows(rows);
  }
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    MergeLoadedGroup(std::unique_ptr<DynamicMsgGroup>(GroupFromRow(*row)));
  }
  loaded_ = true;
  Recount();
  return true;
}

// A loaded group never raises the unread figure and never notifies; a group
// already in memory keeps its own server count and unread messages, and a
// stored row of a message it holds only marks that message as stored.
void DynamicMsgCenter::MergeLoadedGroup(std::unique_ptr<DynamicMsgGroup> group) {
  DynamicMsgStorage storage;  // opened on first need
  DynamicMsgGroup* held = FindGroup(group->GetAppId());
  if (held == nullptr) {
    DropGroup(InsertGroupByTime(std::move(group)), storage);
  } else {
    MoveMessages(*group, *held);
    RemovePushedOut(*held, storage);
    held->CountUnread();
    Refile(held);
  }
}

uint32_t DynamicMsgCenter::GetDynamicMsg(uint32_t maxGroups, uint32_t maxMsgs,
                                         DynamicMsgGroupInfo** out, bool onlyUnread) {
  if (out == nullptr) return 0;
  if (!EnsureLoaded()) return 0;

  const size_t total = groups_.size();
  size_t wanted = total;
  if (maxGroups != 0 && maxGroups < wanted) wanted = maxGroups;
  if (onlyUnread && wanted > unreadCount_) wanted = unreadCount_;

  std::vector<DynamicMsgGroup*> candidates;
  for (auto& group : groups_) {
    if (wanted != total) {
      if (candidates.size() >= wanted) break;
      if (group->GetUnreadCount() == 0) continue;
    }
    candidates.push_back(group.get());
  }
  if (candidates.empty()) return 0;

  // Held by its owner until it is handed out, so that a listing cut short by
  // a lack of memory leaves nothing behind.
  std::unique_ptr<DynamicMsgGroupInfo[]> elements(new DynamicMsgGroupInfo[candidates.size()]());
  for (size_t i = 0; i < candidates.size(); ++i) {
    DynamicMsgGroup& group = *candidates[i];
    size_t limit = EffectiveLimit(maxMsgs, group.GetMsgs().size());
    if (onlyUnread) limit = std::min<size_t>(limit, group.GetUnreadCount());
    FillElement(elements[i], group, TakeMessages(group.GetMsgs(), limit, onlyUnread));
  }
  *out = elements.release();
  return static_cast<uint32_t>(candidates.size());
}

uint32_t DynamicMsgCenter::GetDynamicMsgForApp(uint32_t appId, uint32_t maxMsgs,
                                               DynamicMsgGroupInfo** out, bool onlyUnread) {
  if (out == nullptr) return 0;
  // A host that frees only what a non-zero result hands out leaks nothing.
  *out = nullptr;
  EnsureLoaded();
  DynamicMsgGroup* group = FindGroup(appId);
  if (group == nullptr || (onlyUnread && group->GetUnreadCount() == 0)) return 0;

  const std::vector<DynamicMsg*> taken =
      TakeMessages(group->GetMsgs(), EffectiveLimit(maxMsgs, group->GetMsgs().size()), onlyUnread);
  if (taken.empty()) return 0;
  std::unique_ptr<DynamicMsgGroupInfo[]> element(new DynamicMsgGroupInfo[1]());
  FillElement(element[0], *group, taken);
  *out = element.release();
  return (*out)[0].msgCount;
}

uint32_t DynamicMsgCenter::GetUnreadDynamicMsgCountForApp(uint32_t appId) {
  EnsureLoaded();
  DynamicMsgGroup* group = FindGroup(appId);
  return group != nullptr ? group->GetMsgCountOnServer() : 0;
}

bool DynamicMsgCenter::ResetUnreadDynamicMsgCount(uint32_t appId, uint32_t count,
                                                  uint32_t originator) {
  EnsureLoaded();
  DynamicMsgGroup* group = FindGroup(appId);
  if (group == nullptr) return false;
  group->SetMsgCountOnServer(count);
  Recount();
  DynamicMsgStorage storage;
  if (storage.Open()) storage.UpdateMsgCountOnServer(appId, count);
  Notify(kEventReadState, appId, originator);
  return true;
}

uint32_t DynamicMsgCenter::StoreAndMarkRead(DynamicMsgGroup& group, DynamicMsgStorage& storage) {
  for (DynamicMsg* msg : group.GetMsgs()) {
    if (msg->GetReadState() || msg->HasRow()) continue;
    if (StoreMessage(storage, *msg, group)) msg->SetHasRow(true);
  }
  return group.MarkAllRead();
}

uint32_t DynamicMsgCenter::UpdateDynamicMsgReadState(uint32_t appId, uint32_t originator,
                                                     bool reportRead) {
  // Loaded first: a message read now whose row is already stored is not
  // stored a second time.
  EnsureLoaded();
  DynamicMsgGroup* group = FindGroup(appId);
  if (group == nullptr) return 0;
  // Without the database nothing is marked: a message read only in memory
  // would be lost at the next start.
  DynamicMsgStorage storage;
  if (!storage.Open()) return 0;
  const uint32_t figure = unreadCount_;
  const uint32_t marked = StoreAndMarkRead(*group, storage);
  Recount();
  if (marked > 0 && reportRead) ReportRead(kDynamicKind);
  // A group read has nothing left to count, its server count included.
  if (marked > 0 || unreadCount_ != figure) Notify(kEventReadState, appId, originator);
  return marked;
}

uint32_t DynamicMsgCenter::UpdateReadState() {
  // Any unread message makes the figure at least 1.
  if (unreadCount_ == 0) return 0;
  DynamicMsgStorage storage;
  if (!storage.Open()) return 0;
  EnsureLoaded();
  ReportRead(kDynamicKind);
  for (auto& group : groups_) StoreAndMarkRead(*group, storage);
  const uint32_t previous = unreadCount_;
  Recount();
  Notify(kEventReadState, 0, 0);
  return previous;
}

uint32_t DynamicMsgCenter::DeleteDynamicMsg(uint32_t appId, uint32_t originator) {
  uint32_t deleted = 0;
  if (DynamicMsgGroup* group = FindGroup(appId)) {
    auto at = Locate(group);
    deleted = static_cast<uint32_t>((*at)->GetMsgs().size());
    groups_.erase(at);
    Recount();
  }
  // Rows go even when the group was only in the database.
  DynamicMsgStorage storage;
  if (storage.Open()) storage.DeleteByAppId(appId);
  if (deleted > 0) Notify(kEventDeleted, appId, originator);
  return deleted;
}

bool DynamicMsgCenter::ClearMsg() {
  unreadCount_ = 0;
  groups_.clear();
  DynamicMsgStorage storage;
  if (!storage.Open()) return false;
  storage.DeleteAll();
  Notify(kEventDeleted, 0, 0);
  return true;
}

bool DynamicMsgCenter::ShieldDynamicMsgForApp(uint32_t appId, uint32_t) {
  stSetAppRoamBoolean(appId, kAppSettingShielded, true);
  stSetRoamNumber(kSettingDynamicPolicy, kPolicyAllButShielded);
  return true;
}

uint32_t DynamicMsgCenter::GetMsgCount() {
  EnsureLoaded();
  return static_cast<uint32_t>(groups_.size());
}
uint32_t DynamicMsgCenter::GetUnreadCount() {
  EnsureLoaded();
  return unreadCount_;
}
