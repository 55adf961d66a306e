#include "centers/sharemsgcenter.h"
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
#include "messages/newestfirst.h"
#include "messages/sharemsg.h"
#include "messages/sharemsggroup.h"
#include "modules/halyx_pushcenter_wrapper.h"
#include "pushcommandregistry.h"
#include "storage/sharemsgstorage.h"

// What the host reads: every field at its place on the 32-bit build.
static_assert(offsetof(ShareMsgInfo, text) == 20 && offsetof(ShareMsgInfo, buffer) == 620 &&
                  offsetof(ShareMsgInfo, picURL) == 1220 && offsetof(ShareMsgInfo, appDesc) == 2060,
              "ShareMsgInfo layout");
static_assert(sizeof(void*) != 4 || (sizeof(ShareMsgGroupInfo) == 20 &&
                                     offsetof(ShareMsgGroupInfo, msgCount) == 12),
              "ShareMsgGroupInfo layout");

namespace {

void FillInfo(ShareMsgInfo& info, ShareMsg& msg) {
  info.msgId = msg.GetMsgId();
  info.openType = msg.GetOpenType();
  info.pushTime = msg.GetPushTime();
  info.uin = msg.GetUin();
  info.appId = msg.GetAppId();
  CopyToField(info.text, msg.TextRef());
  CopyToField(info.buffer, msg.BufferRef());
  CopyToField(info.picURL, msg.PicURLRef());
  CopyToField(info.title, msg.TitleRef());
  CopyToField(info.appDesc, msg.AppDescRef());
}

// The group's messages that a listing takes, in an element.
void FillElement(ShareMsgGroupInfo& element, ShareMsgGroup& group, uint32_t msgLimit, bool unreadOnly) {
  const std::vector<ShareMsg*> taken =
      TakeMessages(group.GetMsgs(), EffectiveLimit(msgLimit, group.GetMsgs().size()), unreadOnly);
  element.kind = kShareKind;
  element.shareType = group.GetShareType();
  element.appId = group.GetAppId();
  element.msgCount = static_cast<uint32_t>(taken.size());
  element.msgs = NewRecords<ShareMsgInfo>(taken, true, FillInfo);
}

// Whether the incoming group brings a message that the held one lacks: a
// push delivered again brings none.
bool BringsNews(ShareMsgGroup& incoming, ShareMsgGroup& held) {
  for (ShareMsg* msg : incoming.GetMsgs()) {
    if (held.Find(*msg) == nullptr) return true;
  }
  return false;
}

}  // namespace

ShareMsgCenter::ShareMsgCenter() : MsgCenter(kShareKind), loaded_(false) {}

ShareMsgCenter::~ShareMsgCenter() = default;

bool ShareMsgCenter::InsertGroup(std::unique_ptr<ShareMsgGroup> group) {
  if (group == nullptr) return false;
  const uint32_t time = group->GetLatestPushTime();
  std::unique_ptr<ShareMsgGroup> oldest =
      InsertNewestFirst(groups_, std::move(group), static_cast<size_t>(maxMsgCount_),
                        [time](const std::unique_ptr<ShareMsgGroup>&, const std::unique_ptr<ShareMsgGroup>& held) {
                          return held->GetLatestPushTime() <= time;
                        });
  if (oldest == nullptr) return true;
  RemovePushedOut(*oldest);
  const uint32_t appId = oldest->GetAppId(), oldestTime = oldest->GetLatestPushTime();
  const int32_t shareType = oldest->GetShareType();
  if (ShareMsgStorage::MayHoldRoamGroup(appId, shareType, oldestTime) &&
      ShareMsgStorage::GetInstance()->DeleteRoamGroup(appId, shareType, oldestTime)) {
    // A type-2 group of time 0 stands for every type-2 push of the
    // application: held groups lost their rows too.
    for (auto& held : groups_) {
      if (held->GetAppId() != appId || held->GetShareType() != shareType) continue;
      for (ShareMsg* msg : held->GetMsgs()) {
        if (shareType != 2 || oldestTime == 0 || msg->GetPushTime() == oldestTime) msg->SetHasRow(false);
      }
    }
  }
  return true;
}

void ShareMsgCenter::RemovePushedOut(ShareMsgGroup& group) {
  std::vector<ShareMsg*>& pushedOut = group.PushedOut();
  while (!pushedOut.empty()) {
    std::unique_ptr<ShareMsg> msg(pushedOut.back());
    pushedOut.pop_back();
    const uint32_t msgId = msg->GetMsgId(), time = msg->GetPushTime();
    if (!ShareMsgStorage::MayHoldRoamMsg(msgId, time) ||
        !ShareMsgStorage::GetInstance()->DeleteRoamMsg(msgId, time)) {
      continue;
    }
    // The deletion names no application: a held message of another group
    // with the same id and time lost its row too.
    for (auto& other : groups_) {
      for (ShareMsg* held : other->GetMsgs()) {
        if (held->GetMsgId() == msgId && held->GetPushTime() == time) held->SetHasRow(false);
      }
    }
  }
}

void ShareMsgCenter::Recount() {
  uint32_t unread = 0;
  for (auto& group : groups_) {
    if (group->GetUnreadCount() > 0) ++unread;
  }
  unreadCount_ = unread;
}

void ShareMsgCenter::EnsureLoaded() {
  if (!loaded_) Load();
}

ShareMsg* ShareMsgCenter::FindHeld(uint32_t appId, int32_t shareType, ShareMsg& msg) {
  for (auto& group : groups_) {
    if (group->GetAppId() != appId || group->GetShareType() != shareType) continue;
    if (ShareMsg* held = group->Find(msg)) return held;
  }
  return nullptr;
}

ShareMsgGroup* ShareMsgCenter::FindGroup(uint32_t appId, int32_t shareType,
                                         uint32_t latestPushTime) {
  for (auto& group : groups_) {
    if (group->GetAppId() == appId && group->GetShareType() == shareType &&
        (latestPushTime == 0 || group->GetLatestPushTime() == latestPushTime)) {
      return group.get();
    }
  }
  return nullptr;
}

ShareMsgCenter::GroupList::iterator ShareMsgCenter::FindType1Group(uint32_t appId) {
  return std::find_if(groups_.begin(), groups_.end(), [appId](const std::unique_ptr<ShareMsgGroup>& g) {
    return g->GetAppId() == appId && g->GetShareType() == 1;
  });
}

void ShareMsgCenter::AddShareMsg(ShareMsgGroup* raw) {
  std::unique_ptr<ShareMsgGroup> group(raw);
  if (group == nullptr) return;
  // Read first, so that a share pushed again is known, and an eviction that
  // can meet no row leaves the database alone.
  EnsureLoaded();
  // What the intake's folding pushed out of the batch's own group.
  RemovePushedOut(*group);
  if (group->GetUnreadCount() == 0) return;
  const uint32_t appId = group->GetAppId();
  const int32_t shareType = group->GetShareType();
  if (shareType == 1) {
    auto kept = FindType1Group(appId);
    if (kept != groups_.end()) {
      // A push delivered again changes nothing.
      if (!BringsNews(*group, **kept)) return;
      // The kept group stays listed while its new messages go in, so that a
      // merge cut short by a lack of memory loses nothing it held. It holds
      // unread messages now; only its own part of the figure can change.
      const bool hadUnread = (*kept)->GetUnreadCount() > 0;
      try {
        MoveMessages(*group, **kept);
      } catch (...) {
        Recount();  // what did move in counts
        throw;
      }
      RemovePushedOut(**kept);
      Refile(kept);
      if (!hadUnread && (*kept)->GetUnreadCount() > 0) ++unreadCount_;
      NotifyPushCommand(kShareBit, kEventAdded, appId, 0, 1, 0, 0);
      return;
    }
  } else {
    // A group of one push: the same push delivered again is held already.
    ShareMsg* first = group->GetMsgs().empty() ? nullptr : group->GetMsgs().front();
    if (first != nullptr && FindHeld(appId, shareType, *first) != nullptr) return;
  }
  InsertGroup(std::move(group));
  Recount();
  NotifyPushCommand(kShareBit, kEventAdded, appId, 0, static_cast<uint32_t>(shareType), 0, 0);
}

void ShareMsgCenter::Load() {
  std::vector<LoadedRoamRow> rows;
  // Not loaded while the database cannot be read: the next query tries again.
  if (!ShareMsgStorage::GetInstance()->LoadRoamRows(rows)) return;
  // The type-1 group that took the last row: a group's rows were stored
  // together, so the next row mostly goes there too, without a walk over the
  // groups. Forgotten whenever a group is filed, which may drop one.
  auto lastType1 = groups_.end();
  // Each row goes as soon as its message is built, so that the load never
  // holds both in full.
  for (; !rows.empty(); rows.pop_back()) {
    LoadedRoamRow& row = rows.back();
    std::unique_ptr<ShareMsg> msg(new ShareMsg());
    msg->SetMsgId(row.msgId);
    msg->SetAppId(row.appId);
    // The row's texts move into the message: no copy.
    msg->SetBuffer(std::move(row.buffer));
    msg->SetPicURL(std::move(row.picURL));
    msg->TakeText(std::move(row.textHint));
    msg->SetTitle(std::move(row.title));
    msg->SetAppDesc(std::move(row.appDesc));
    msg->SetOpenType(row.openType);
    msg->SetPushTime(row.shareTime);
    msg->SetUin(row.uin);
    msg->SetReadState(true);
    msg->SetHasRow(true);
    // Pushes that came before this first load are kept; a row of a message
    // already held only marks it as stored.
    if (row.shareType == 1) {
      const bool sameGroup = lastType1 != groups_.end() && (*lastType1)->GetAppId() == row.appId;
      auto kept = sameGroup ? lastType1 : FindType1Group(row.appId);
      if (kept != groups_.end()) {
        lastType1 = kept;
        (*kept)->AddMsg(msg.release());
        RemovePushedOut(**kept);
        (*kept)->CountUnread();
        Refile(kept);
        continue;
      }
    } else if (ShareMsg* held = FindHeld(row.appId, row.shareType, *msg)) {
      held->SetHasRow(true);
      continue;
    }
    std::unique_ptr<ShareMsgGroup> group(new ShareMsgGroup());
    group->SetAppId(row.appId);
    group->SetShareType(row.shareType);
    group->AddMsg(msg.release());
    group->MarkAllRead();
    InsertGroup(std::move(group));
    lastType1 = groups_.end();
  }
  loaded_ = true;
  Recount();
}

void ShareMsgCenter::Refile(GroupList::iterator group) {
  // Where InsertGroup would file it; its time only grew, so the place is at or
  // before where it stands, and the node moves without a copy.
  const uint32_t time = (*group)->GetLatestPushTime();
  // A push newer than every group goes to the front without a walk.
  auto at = groups_.front()->GetLatestPushTime() <= time ? groups_.begin() : group;
  while (at != groups_.begin()) {
    auto before = std::prev(at);
    if ((*before)->GetLatestPushTime() > time) break;
    at = before;
  }
  if (at != group) groups_.splice(at, groups_, group);
}

uint32_t ShareMsgCenter::GetShareMsg(uint32_t groupLimit, uint32_t msgLimit,
                                     ShareMsgGroupInfo** out, bool unreadOnly) {
  if (out == nullptr) return 0;
  EnsureLoaded();

  uint32_t n = static_cast<uint32_t>(groups_.size());
  if (groupLimit != 0 && groupLimit < n) n = groupLimit;
  if (unreadOnly && n > unreadCount_) n = unreadCount_;

  std::vector<ShareMsgGroup*> selection;
  if (n == groups_.size()) {
    for (auto& group : groups_) selection.push_back(group.get());
  } else {
    // A partial selection passes over groups without unread messages.
    for (auto& group : groups_) {
      if (selection.size() == n) break;
      if (group->GetUnreadCount() > 0) selection.push_back(group.get());
    }
  }
  if (selection.empty()) return 0;

  // Held by its owner until it is handed out, so that a listing cut short by
  // a lack of memory leaves nothing behind.
  std::unique_ptr<ShareMsgGroupInfo[]> elements(new ShareMsgGroupInfo[selection.size()]());
  for (size_t i = 0; i < selection.size(); ++i) FillElement(elements[i], *selection[i], msgLimit, unreadOnly);
  *out = elements.release();
  return static_cast<uint32_t>(selection.size());
}

uint32_t ShareMsgCenter::GetShareMsgForApp(uint32_t appId, int32_t shareType, uint32_t msgLimit,
                                           ShareMsgGroupInfo** out, bool unreadOnly) {
  if (out == nullptr) return 0;
  // A host that frees only what a non-zero result hands out leaks nothing.
  *out = nullptr;
  EnsureLoaded();
  ShareMsgGroup* group = FindGroup(appId, shareType, 0);
  if (group == nullptr) return 0;
  if (unreadOnly && group->GetUnreadCount() == 0) return 0;

  std::unique_ptr<ShareMsgGroupInfo[]> element(new ShareMsgGroupInfo[1]());
  FillElement(element[0], *group, msgLimit, unreadOnly);
  if (element[0].msgCount == 0) return 0;
  *out = element.release();
  return (*out)[0].msgCount;
}

void ShareMsgCenter::StoreReadMsg(ShareMsgStorage* storage, ShareMsg* msg, ShareMsgGroup* group) {
  if (msg->HasRow()) return;
  std::vector<RoamShareRow> rows(1);
  RoamShareRow& row = rows.front();
  row.shareType = group->GetShareType();
  row.appId = msg->GetAppId();
  row.uin = msg->GetUin();
  row.msgId = msg->GetMsgId();
  row.openType = msg->GetOpenType();
  row.shareTime = msg->GetPushTime();
  SetColumnText(row.buffer, msg->BufferRef(), false);
  SetColumnText(row.picURL, msg->PicURLRef(), false);
  SetColumnText(row.title, msg->TitleRef(), false);
  SetColumnText(row.appDesc, msg->AppDescRef(), false);
  SetColumnText(row.textHint, msg->TextRef(), false);
  if (storage->SaveRoamRows(rows)) msg->SetHasRow(true);
}

uint32_t ShareMsgCenter::UpdateReadState() {
  if (unreadCount_ == 0) return 0;
  EnsureLoaded();
  ReportRead(kShareKind);
  ShareMsgStorage* storage = ShareMsgStorage::GetInstance();
  for (auto& group : groups_) {
    for (ShareMsg* msg : group->GetMsgs()) {
      if (!msg->GetReadState()) StoreReadMsg(storage, msg, group.get());
    }
    group->MarkAllRead();
  }
  const uint32_t result = unreadCount_;
  Recount();
  NotifyPushCommand(kShareBit, kEventReadState, 0, 0, 1, 0, 0);
  return result;
}

uint32_t ShareMsgCenter::UpdateShareMsgReadState(uint32_t appId, int32_t shareType, uint32_t,
                                                 uint32_t latestPushTime) {
  // Loaded first, so that a message whose row is stored is not stored again.
  EnsureLoaded();
  ShareMsgGroup* group = FindGroup(appId, shareType, shareType == 1 ? 0 : latestPushTime);
  if (group == nullptr) return 0;
  ShareMsgStorage* storage = ShareMsgStorage::GetInstance();
  for (ShareMsg* msg : group->GetMsgs()) {
    if (!msg->GetReadState()) StoreReadMsg(storage, msg, group);
  }
  const uint32_t marked = group->MarkAllRead();
  if (marked > 0) {
    ReportRead(kShareKind);
    Recount();
    NotifyPushCommand(kShareBit, kEventReadState, appId, 0, static_cast<uint32_t>(shareType), 0, 0);
  }
  return marked;
}

uint32_t ShareMsgCenter::DeleteShareMsg(uint32_t appId, uint32_t latestPushTime) {
  auto at = std::find_if(groups_.begin(), groups_.end(), [&](const std::unique_ptr<ShareMsgGroup>& g) {
    return g->GetAppId() == appId && g->GetLatestPushTime() == latestPushTime;
  });
  if (at == groups_.end()) return 0;
  std::unique_ptr<ShareMsgGroup> group = std::move(*at);
  groups_.erase(at);
  const uint32_t count = static_cast<uint32_t>(group->GetMsgs().size());
  const int32_t shareType = group->GetShareType();
  Recount();
  ShareMsgStorage::GetInstance()->DeleteRoamGroup(appId, shareType, latestPushTime);
  NotifyPushCommand(kShareBit, kEventDeleted, appId, 0, static_cast<uint32_t>(shareType),
                    latestPushTime, 0);
  return count;
}

uint32_t ShareMsgCenter::GetMsgCount() {
  EnsureLoaded();
  return static_cast<uint32_t>(groups_.size());
}
uint32_t ShareMsgCenter::GetUnreadCount() {
  EnsureLoaded();
  return unreadCount_;
}

bool ShareMsgCenter::ClearMsg() {
  unreadCount_ = 0;
  groups_.clear();
  const bool result = ShareMsgStorage::GetInstance()->ClearRoam();
  NotifyPushCommand(kShareBit, kEventDeleted, 0, 0, 1, 0, 0);
  return result;
}
