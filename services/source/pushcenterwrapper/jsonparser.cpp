#include "jsonparser.h"

#include <cstdint>
#include <memory>
#include <utility>

#include "assertion.h"
#include "centers/msgcenter.h"
#include "halyx/hyappinfo.h"
#include "halyx/setting.h"
#include "librarylock.h"
#include "messages/dynamicmsg.h"
#include "messages/dynamicmsggroup.h"
#include "messages/handover.h"
#include "messages/payloadreader.h"
#include "messages/sharemsg.h"
#include "messages/sharemsggroup.h"
#include "messages/systemmsg.h"
#include "pendingpushrecords.h"
#include "pushwrapper.h"
#include "settingids.h"

void HALYX_CDECL OnPushBatch(const PushRecord* records, uint32_t count) {
  if (records == nullptr || count == 0) return;
  LibraryLock held;
  if (!held) return;
  // Runs on the push center service's thread: nothing may be thrown back into
  // it. A batch cut short by lack of memory leaves its queued rest to the
  // parser, which destroys it.
  try {
    JsonParser parser;
    parser.Parse(records, count);
  } catch (...) {
  }
}

JsonParser::JsonParser() = default;

JsonParser::~JsonParser() {
  // Left over only when Parse stopped before handing everything off.
  for (DynamicMsgGroup* group : dynamicGroups_) delete group;
  for (ShareMsgGroup* group : shareGroups_) delete group;
  for (SystemMsg* msg : systemMsgs_) delete msg;
}

bool JsonParser::Parse(const PushRecord* records, uint32_t count) {
  if (records == nullptr) {
    ReportAssertion(AssertionSite::kParseRecords);
    return false;
  }
  for (uint32_t i = 0; i < count; ++i) {
    const PushRecord* record = &records[i];
    if (!ShouldAccept(record)) continue;
    switch (record->kind) {
      case 1: DecodeDynamicRecord(record); break;
      case 2: DecodeShareRecord(record); break;
      case 3: DecodeSystemRecord(record); break;
      case 4: HandleUnreadCountRecord(record); break;
      default: break;
    }
  }

  // Hand-off in a fixed order, front to back. Each element leaves its queue
  // (its slot is emptied) as it is handed over, so that what a missing center
  // stops is still ours to destroy.
  for (DynamicMsgGroup*& slot : dynamicGroups_) {
    MsgCenter* center = PushWrapper::Instance()->GetCenter(kDynamicKind);
    if (center == nullptr) return false;
    center->AddDynamicMsg(std::exchange(slot, nullptr));
  }
  dynamicGroups_.clear();
  for (ShareMsgGroup*& slot : shareGroups_) {
    MsgCenter* center = PushWrapper::Instance()->GetCenter(kShareKind);
    if (center == nullptr) return false;
    center->AddShareMsg(std::exchange(slot, nullptr));
  }
  shareGroups_.clear();
  MsgCenter* systemCenter = PushWrapper::Instance()->GetCenter(kSystemKind);
  if (systemCenter == nullptr) return false;
  // The center takes every message in the queue, even an empty one.
  systemCenter->AddSystemMsgs(&systemMsgs_);
  systemMsgs_.clear();
  return true;
}

bool JsonParser::ShouldAccept(const PushRecord* record) {
  switch (record->kind) {
    case 2: return stGetRoamBoolean(kSettingShareWanted);
    case 3: return stGetRoamBoolean(kSettingSystemWanted);
    case 1: break;
    default: return true;
  }
  uint32_t policy = stGetRoamNumber(kSettingDynamicPolicy);
  if (policy == kPolicyNone) return false;
  if (policy == kPolicyAllButShielded && stGetAppRoamBoolean(record->appId, kAppSettingShielded)) {
    return false;
  }
  if (!HXCheckAppInstalled(record->appId)) {
    // Kept for a replay when the application is installed later.
    if (PendingPushRecords* store = PushWrapper::Instance()->GetPendingRecords()) {
      store->ParkRecord(record);
    }
    return false;
  }
  char* answer = nullptr;
  if (HXQueryAppInfo(record->appId, "needPush", &answer) == 0 || answer == nullptr) {
    delete[] answer;
    return false;
  }
  std::unique_ptr<char[]> owned(answer);
  return owned[0] == '1';
}

bool JsonParser::HandleUnreadCountRecord(const PushRecord* record) {
  if (record == nullptr) {
    ReportAssertion(AssertionSite::kUnreadCountRecord);
    return false;
  }
  const PayloadReader payload(*record);
  if (!payload.Parsed()) return false;
  int32_t count = 0;
  if (!payload.Int("Num", count)) return true;
  MsgCenter* center = PushWrapper::Instance()->GetCenter(kDynamicKind);
  if (center == nullptr) return false;
  center->ResetUnreadDynamicMsgCount(record->appId, static_cast<uint32_t>(count), 0);
  return true;
}

void JsonParser::QueueDynamicMsg(DynamicMsgGroup* group) {
  if (group == nullptr) {
    ReportAssertion(AssertionSite::kQueueDynamicGroup);
    return;
  }
  for (DynamicMsgGroup* queued : dynamicGroups_) {
    if (queued->GetAppId() != group->GetAppId()) continue;
    // The newer record's count wins; its messages join the earlier group.
    queued->SetMsgCountOnServer(group->GetMsgCountOnServer());
    std::unique_ptr<DynamicMsgGroup> incoming(group);
    MoveMessages(*incoming, *queued);
    return;
  }
  dynamicGroups_.insert(dynamicGroups_.begin(), group);
}

void JsonParser::QueueShareMsg(ShareMsgGroup* group) {
  if (group == nullptr) {
    ReportAssertion(AssertionSite::kQueueShareGroup);
    return;
  }
  switch (group->GetShareType()) {
    case 2:
      shareGroups_.push_back(group);
      return;
    case 1:
      for (ShareMsgGroup* queued : shareGroups_) {
        if (queued->GetShareType() != 1 || queued->GetAppId() != group->GetAppId()) continue;
        std::unique_ptr<ShareMsgGroup> incoming(group);
        MoveMessages(*incoming, *queued);
        return;
      }
      shareGroups_.insert(shareGroups_.begin(), group);
      return;
    default:
      delete group;  // only types 1 and 2 are kept
      return;
  }
}

void JsonParser::QueueSystemMsg(SystemMsg* msg) { systemMsgs_.push_front(msg); }
