// DynamicMsgStorage: the read dynamic messages, one row each, in the table
// "dynmsgtable" of the signed-in user's "dynmsg.db".
//
// Only read messages are stored; whatever is read back counts as read. A
// storage lives for one operation: build it, Open it, use it and let it go;
// its destructor closes the table and the database. Every step goes through
// the local database module, and a missing module or slot is a failed step.
#pragma once

#include <cstdint>
#include <vector>

#include "halyx/buffer.h"

class DynamicMsg;
class DynamicMsgGroup;

// One row as it is written and read. Text columns hold the UTF-8 bytes and a
// terminating zero.
struct DynamicMsgRow {
  uint32_t appId = 0;
  uint32_t msgId = 0;
  int32_t voiceIndex = 0;
  int32_t openType = 0;
  uint32_t pushTime = 0;
  uint32_t msgCountOnServer = 0;
  Buffer buttonText;
  Buffer buffer;
  Buffer title;
  Buffer textHint;
};

class DynamicMsgStorage {
 public:
  DynamicMsgStorage();
  virtual ~DynamicMsgStorage();
  DynamicMsgStorage(const DynamicMsgStorage&) = delete;
  DynamicMsgStorage& operator=(const DynamicMsgStorage&) = delete;

  // Opens the current user's database, creating the folder and the table when
  // missing; a handle already held is closed first. False without a signed-in
  // user, a folder or a database.
  bool Open();
  // Open() unless the storage is open already.
  bool OpenOnce() { return tableHandle_ != 0 || Open(); }
  // One transaction. A row that cannot be added stops the insertion without a
  // commit; a field that cannot be set still posts its row, and the result is
  // false.
  bool InsertRows(const std::vector<DynamicMsgRow>& rows);
  // Appends every row that reads back completely; incomplete rows are left out.
  bool LoadRows(std::vector<DynamicMsgRow>& out);
  bool DeleteByAppId(uint32_t appId);
  // Every row of the message id pushed at or before pushTime.
  bool DeleteMsg(uint32_t msgId, uint32_t pushTime);
  bool UpdateMsgCountOnServer(uint32_t appId, uint32_t count);
  bool DeleteAll();

  // Whether DeleteMsg or DeleteByAppId may find a row in the signed-in user's
  // table (see storage/rowmirror.h); false only when it certainly cannot.
  static bool MayHoldMsg(uint32_t msgId, uint32_t pushTime);
  static bool MayHoldApp(uint32_t appId);

 private:
  uint32_t dbHandle_;
  uint32_t tableHandle_;
  // The user whose table is open.
  uint32_t user_;
};

// Writes one message, with its group's application and server count, in a
// transaction of its own.
bool StoreMessage(DynamicMsgStorage& storage, const DynamicMsg& msg, const DynamicMsgGroup& group);

// A loaded row as a new group of one read message; the caller owns it.
DynamicMsgGroup* GroupFromRow(const DynamicMsgRow& row);
