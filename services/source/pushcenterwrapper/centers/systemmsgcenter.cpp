#include "centers/systemmsgcenter.h"
#include "centers/fieldtext.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "messages/newestfirst.h"
#include "messages/systemmsg.h"
#include "modules/halyx_pushcenter_wrapper.h"
#include "pushcommandregistry.h"
#include "storage/systemmsgstorage.h"

namespace {

// Whether a belongs in front of b: newer push time, or the same push time and
// a message id at least as large.
bool GoesBefore(SystemMsg* a, SystemMsg* b) {
  uint32_t timeA = a->GetPushTime(), timeB = b->GetPushTime();
  return timeA > timeB || (timeA == timeB && a->GetMsgId() >= b->GetMsgId());
}

}  // namespace

SystemMsgCenter::SystemMsgCenter() : MsgCenter(kSystemKind), storageLoaded_(false) {}

SystemMsgCenter::~SystemMsgCenter() {
  // Nothing is written here: what was never read is not kept.
  for (SystemMsg* msg : messages_) delete msg;
}

uint32_t SystemMsgCenter::GetMsgCount() {
  EnsureLoaded();
  return static_cast<uint32_t>(messages_.size());
}

uint32_t SystemMsgCenter::GetUnreadCount() {
  // Loading may make older unread messages give way to newer stored ones.
  EnsureLoaded();
  return unreadCount_;
}

void SystemMsgCenter::AddSystemMsgs(std::deque<SystemMsg*>* msgs) {
  if (msgs == nullptr || msgs->empty()) return;
  // Read first, so that a message pushed again is known, and an eviction
  // that can meet no row leaves the database alone.
  EnsureLoaded();
  // The intake queues each message at the front, so the back is the batch's
  // first record. Each message leaves the list as the center takes it, so that
  // a lack of memory part-way leaves every message with exactly one owner.
  bool added = false;
  for (auto it = msgs->rbegin(); it != msgs->rend(); ++it) {
    SystemMsg* msg = *it;
    *it = nullptr;
    if (msg != nullptr && AcceptSystemMsg(msg)) added = true;
  }
  // Only a batch of nothing but messages already held stays silent.
  if (added) NotifyPushCommand(kSystemBit, kEventAdded, 0, 0, 1, 0, 0);
  CountUnread();
}

void SystemMsgCenter::File(std::unique_ptr<SystemMsg> msg) {
  std::unique_ptr<SystemMsg> oldest(
      InsertNewestFirst(messages_, msg.get(), static_cast<size_t>(maxMsgCount_), GoesBefore));
  msg.release();
  if (oldest == nullptr) return;
  const uint32_t time = oldest->GetPushTime();
  if (!SystemMsgStorage::MayHoldUpTo(time)) return;
  SystemMsgStorage storage;
  if (storage.Open() && storage.DeleteUpTo(time)) {
    // Held messages of the same push time lost their rows too: a later read
    // stores them again.
    for (SystemMsg* held : messages_) {
      if (held->GetPushTime() <= time) held->SetHasRow(false);
    }
  }
}

SystemMsg* SystemMsgCenter::FindSame(SystemMsg& msg) {
  for (SystemMsg* held : messages_) {
    if (held->SamePush(msg)) return held;
  }
  return nullptr;
}

bool SystemMsgCenter::AcceptSystemMsg(SystemMsg* msg) {
  // Ownership passes with the call: a duplicate, or a message that cannot be
  // filed for lack of memory, is deleted here.
  std::unique_ptr<SystemMsg> owned(msg);
  if (FindSame(*msg) != nullptr) return false;
  // A pushed message counts as new whatever its flag says.
  msg->SetReadState(false);
  File(std::move(owned));
  return true;
}

void SystemMsgCenter::InsertLoadedMsg(SystemMsg* msg) {
  std::unique_ptr<SystemMsg> owned(msg);
  // A row of a message already in memory (read early, or pushed again) only
  // tells that the message is stored; a second row of one message is dropped.
  if (SystemMsg* held = FindSame(*msg)) {
    held->SetHasRow(true);
    return;
  }
  File(std::move(owned));
}

void SystemMsgCenter::CountUnread() {
  uint32_t unread = 0;
  for (SystemMsg* msg : messages_) {
    if (!msg->GetReadState()) ++unread;
  }
  unreadCount_ = unread;
}

bool SystemMsgCenter::EnsureLoaded() {
  if (!storageLoaded_) LoadStoredMsgs();
  return storageLoaded_;
}

bool SystemMsgCenter::Store(SystemMsgStorage& storage, SystemMsg& msg) {
  if (!msg.HasRow() && SaveSystemMsg(storage, msg)) msg.SetHasRow(true);
  return msg.HasRow();
}

void SystemMsgCenter::LoadStoredMsgs() {
  std::vector<SystemMsgRow> rows;
  {
    SystemMsgStorage storage;
    if (!storage.Open()) return;
    storage.LoadRows(rows);
  }
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) InsertLoadedMsg(SystemMsgFromRow(*it));
  storageLoaded_ = true;
  CountUnread();
}

uint32_t SystemMsgCenter::GetSystemMsg(uint32_t wanted, SystemMsgInfo** out, bool newOnly) {
  if (out == nullptr) return 0;
  // Until the database has opened once, every listing tries again; without
  // it the caller's pointer stays untouched.
  if (!EnsureLoaded()) return 0;
  uint32_t held = static_cast<uint32_t>(messages_.size());
  uint32_t n = wanted == 0 || wanted > held ? held : wanted;
  if (newOnly && n > unreadCount_) n = unreadCount_;
  if (n == 0) return 0;

  // The array form that the free function releases. FillSystemMsgInfo
  // zero-fills every element it writes, so only the elements a listing cut
  // short leaves unwritten are zeroed here: the host still receives a fully
  // zero-filled block, each byte written once.
  SystemMsgInfo* infos = new SystemMsgInfo[n];
  uint32_t written = 0;
  for (SystemMsg* msg : messages_) {
    if (written >= n) break;
    if (newOnly && msg->GetReadState()) continue;
    FillSystemMsgInfo(infos[written], *msg);
    ++written;
  }
  if (written < n) std::memset(&infos[written], 0, (n - written) * sizeof(SystemMsgInfo));
  *out = infos;
  return written;
}

void SystemMsgCenter::FillSystemMsgInfo(SystemMsgInfo& info, SystemMsg& msg) {
  std::memset(&info, 0, sizeof(info));
  info.msgId = msg.GetMsgId();
  info.kind = static_cast<uint32_t>(GetCenterKind());
  info.openType = msg.GetOpenType();
  info.pushTime = msg.GetPushTime();
  CopyToField(info.title, msg.TitleRef());
  CopyToField(info.text, msg.TextRef());
  CopyToField(info.pictureUrl, msg.PictureUrlRef());
  CopyToField(info.jumpUrl, msg.JumpUrlRef());
  CopyToField(info.buttonText, msg.ButtonTextRef());
  info.appId = msg.GetAppId();
  info.subType = msg.GetSubType();
  info.btnType = msg.GetBtnType();
  CopyToField(info.buffer, msg.BufferRef());
}

uint32_t SystemMsgCenter::UpdateSystemMsgReadState(uint32_t msgId, uint32_t readState) {
  bool read = (readState & 0xFFu) != 0;
  SystemMsgStorage storage;
  if (!storage.Open()) return 0;
  // Loaded first, so that a message whose row is stored is not stored again.
  EnsureLoaded();
  SystemMsg* found = nullptr;
  for (SystemMsg* msg : messages_) {
    if (msg->GetMsgId() == msgId && msg->GetReadState() != read) {
      found = msg;
      break;
    }
  }
  if (found == nullptr) return 0;
  // The table has no read column: a message is stored once, when first read
  // or turned unread, and its row stays while it is unread, so that the
  // message outlives a restart; it then comes back read.
  Store(storage, *found);
  ReportRead(kSystemKind);
  found->SetReadState(read);
  CountUnread();
  NotifyPushCommand(kSystemBit, kEventReadState, 0, 0, 1, 0, 0);
  return 1;
}

uint32_t SystemMsgCenter::UpdateReadState() {
  if (unreadCount_ == 0) return 0;
  // Reported before the database is tried: the service hears of the read
  // even when nothing can be stored.
  ReportRead(kSystemKind);
  SystemMsgStorage storage;
  if (!storage.Open()) return 0;
  EnsureLoaded();
  uint32_t changed = 0;
  for (SystemMsg* msg : messages_) {
    if (msg->GetReadState()) continue;
    Store(storage, *msg);
    msg->SetReadState(true);
    ++changed;
  }
  CountUnread();
  if (changed > 0) NotifyPushCommand(kSystemBit, kEventReadState, 0, 0, 1, 0, 0);
  return changed;
}

uint32_t SystemMsgCenter::DeleteSystemMsg(uint32_t msgId, uint32_t pushTime) {
  uint32_t removed = 0;
  for (auto it = messages_.begin(); it != messages_.end(); ++it) {
    if ((*it)->GetMsgId() == msgId && (*it)->GetPushTime() == pushTime) {
      delete *it;
      messages_.erase(it);
      removed = 1;
      break;
    }
  }
  CountUnread();
  // The stored row goes too, also when the message was only in the database.
  SystemMsgStorage storage;
  if (storage.Open()) storage.DeleteMsg(msgId, pushTime);
  if (removed != 0) NotifyPushCommand(kSystemBit, kEventDeleted, 0, 0, 1, pushTime, msgId);
  return removed;
}

bool SystemMsgCenter::ClearMsg() {
  unreadCount_ = 0;
  for (SystemMsg* msg : messages_) delete msg;
  messages_.clear();
  SystemMsgStorage storage;
  if (storage.Open()) storage.DeleteAll();
  // storageLoaded stays as it is: the emptied database needs no second read.
  NotifyPushCommand(kSystemBit, kEventDeleted, 0, 0, 1, 0, 0);
  return true;
}
