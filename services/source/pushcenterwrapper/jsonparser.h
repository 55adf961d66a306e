// The push intake: OnPushBatch and the JsonParser that handles one batch.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "halyx/pushcenter.h"
#include "payloadroutines.h"
#include "platform/win32.h"

class DynamicMsgGroup;
class ShareMsgGroup;
class SystemMsg;

// The batch callback registered with the push center service. Also called by
// the pending store to deliver one parked record again.
void HALYX_CDECL OnPushBatch(const PushRecord* records, uint32_t count);

// Decodes one batch and hands what it decoded to the centers, in a fixed order:
// dynamic groups, share groups, then the system messages. Whatever is still
// queued when the parser is destroyed belongs to it and is destroyed with it.
class JsonParser {
 public:
  JsonParser();
  ~JsonParser();
  JsonParser(const JsonParser&) = delete;
  JsonParser& operator=(const JsonParser&) = delete;

  bool Parse(const PushRecord* records, uint32_t count);

  bool ShouldAccept(const PushRecord* record);
  bool HandleUnreadCountRecord(const PushRecord* record);
  // The decoders, one per kind; each lives with its message class.
  bool DecodeDynamicRecord(const PushRecord* record);
  bool DecodeShareRecord(const PushRecord* record);
  bool DecodeSystemRecord(const PushRecord* record);

  // Each takes ownership of what it is given.
  void QueueDynamicMsg(DynamicMsgGroup* group);
  void QueueShareMsg(ShareMsgGroup* group);
  void QueueSystemMsg(SystemMsg* msg);

  const std::vector<DynamicMsgGroup*>& DynamicGroups() const { return dynamicGroups_; }
  const std::vector<ShareMsgGroup*>& ShareGroups() const { return shareGroups_; }
  const std::deque<SystemMsg*>& SystemMsgs() const { return systemMsgs_; }

 private:
  // Vectors, which take no memory in a batch without groups; the queues hold
  // a group per application (and per push of type 2), few in a batch.
  std::vector<DynamicMsgGroup*> dynamicGroups_;
  std::vector<ShareMsgGroup*> shareGroups_;
  std::deque<SystemMsg*> systemMsgs_;
};
