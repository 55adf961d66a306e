// The push intake: OnPushBatch, the JsonParser that handles one batch, and the
// payload routines that every decoder shares.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "halyx/pushcenter.h"
#include "platform/win32.h"

struct json_object;
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

  const std::deque<DynamicMsgGroup*>& DynamicGroups() const { return dynamicGroups; }
  const std::deque<ShareMsgGroup*>& ShareGroups() const { return shareGroups; }
  const std::deque<SystemMsg*>& SystemMsgs() const { return systemMsgs; }

 private:
  std::deque<DynamicMsgGroup*> dynamicGroups;
  std::deque<ShareMsgGroup*> shareGroups;
  std::deque<SystemMsg*> systemMsgs;
};

// UTF-16 to UTF-8; null gives "", and so does a conversion that fails. A
// length of -1 reads up to the terminator.
std::string WideToUtf8(const WCHAR* text, int length = -1);
// The payload of a record as UTF-8, read up to its terminator or to the end of
// the record when it has none.
std::string PayloadToUtf8(const PushRecord& record);
// Keeps ASCII letters, digits and ~!*()' and writes every other byte as %XX.
std::string PercentEncode(const char* text);
// Strict unsigned decimal or 0x-hexadecimal; 0 for anything it rejects.
uint32_t ParseUnsigned(const char* text);

// The JSON access rule: json-c returns null or an error pointer (a value above
// that of -4000, taken as unsigned) for what it cannot give.
bool IsJsonUsable(const void* result);
// Parses a record's payload; null when it is not usable JSON. The caller
// releases a non-null result with json_object_put.
json_object* ParsePayload(const PushRecord& record);
// The member, or null when it is absent.
json_object* JsonMember(json_object* root, const char* key);
