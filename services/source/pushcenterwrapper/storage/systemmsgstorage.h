// SystemMsgStorage: the messages of the system kind that the host has read,
// in "systemmsgtable" of "sysmsg.db" in the current user's data folder.
//
// An object serves one center operation: construct, Open, one or two calls,
// destroy (which closes what Open acquired). Each Open lands in the folder of
// whoever is signed in at that moment; what is kept between objects is only
// the keys of the rows, for the deletions (storage/rowmirror.h). The table has no read column: a row exists because its message was
// read, and every row loads as a read message.
#pragma once

#include <cstdint>
#include <vector>

#include "storage/systemmsgrow.h"

class SystemMsg;

class SystemMsgStorage {
 public:
  SystemMsgStorage();
  virtual ~SystemMsgStorage();
  SystemMsgStorage(const SystemMsgStorage&) = delete;
  SystemMsgStorage& operator=(const SystemMsgStorage&) = delete;

  // Opens (creating and migrating as needed) the table of the signed-in user.
  // False without a user, a data folder, the database service, or when the
  // database or table will not open.
  bool Open();
  // Appends the rows in one transaction. A failed setter still posts its row
  // and makes the result false; a row that cannot be started ends the call
  // without a commit.
  bool InsertRows(const std::vector<SystemMsgRow>& rows);
  // Appends every row that can be read whole, with out-of-range types
  // corrected; rows that cannot be read whole are left out.
  bool LoadRows(std::vector<SystemMsgRow>& rows);
  // Every row with exactly this message id and push time.
  bool DeleteMsg(uint32_t msgId, uint32_t pushTime);
  // Every row whose push time is at or below pushTime.
  bool DeleteUpTo(uint32_t pushTime);
  bool DeleteAll();

  // Whether DeleteUpTo may find a row in the signed-in user's table (see
  // storage/rowmirror.h); false only when it certainly cannot.
  static bool MayHoldUpTo(uint32_t pushTime);

 private:
  uint32_t databaseHandle_;
  uint32_t tableHandle_;
  // The user whose table is open.
  uint32_t user_;
};

// Writes one message as one row; whether the row was written. The read state
// is not stored.
bool SaveSystemMsg(SystemMsgStorage& storage, SystemMsg& msg);

// A new message built from a stored row, marked read. The caller owns it.
SystemMsg* SystemMsgFromRow(const SystemMsgRow& row);
