// ShareMsgStorage: "sharemsg.db" in the signed-in user's data folder, with the
// received shares that were read ("roamsharemsgtable") and the user's own
// shares ("mysharemsgtable").
//
// One module-wide instance, closed when the library unloads. Every operation
// works on the database of the user signed in at that moment, opening it on
// first need and again after a user switch or a failed open; it checks the
// handles it needs and fails while one is 0, so the own-share table still
// works when only the received table could not be opened. An open that
// failed keeps no handle that nothing uses, and Close lets go of whatever an
// open left held. Storage
// failures are reported only as false results; nothing is logged.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "halyx/buffer.h"
#include "storage/columntext.h"
#include "modules/singlton.h"

// One row of "mysharemsgtable". Text columns hold the text's bytes and its
// terminating zero. uin is the plain number; it is stored encoded.
struct MyShareRow {
  int32_t shareType = 0;
  uint32_t appId = 0;
  uint32_t uin = 0;
  Buffer buffer;
  Buffer picURL;
  Buffer title;
  Buffer appDesc;
  uint32_t shareTime = 0;
  Buffer textHint;
};

// One row of "roamsharemsgtable": an own-share row's columns and two more.
struct RoamShareRow : MyShareRow {
  uint32_t msgId = 0;
  int32_t openType = 0;
};

// A row of "roamsharemsgtable" as the first load reads it: texts up to their
// first zero byte, ready to be moved into a message.
struct LoadedRoamRow {
  uint32_t msgId = 0;
  int32_t openType = 0;
  int32_t shareType = 0;
  uint32_t appId = 0;
  uint32_t uin = 0;
  uint32_t shareTime = 0;
  std::string buffer;
  std::string picURL;
  std::string title;
  std::string appDesc;
  std::string textHint;
};

class ShareMsgStorage : public Singlton<ShareMsgStorage> {
 public:
  bool Open();
  void Close();

  // All rows in one transaction. A row whose fields cannot all be set is still
  // posted with what was set, the others are still written, and the result is
  // false.
  bool SaveRoamRows(const std::vector<RoamShareRow>& rows);
  // Appends every row whose fields can be read and whose "UIN" decodes; rows
  // come in the order the database gives them.
  bool LoadRoamRows(std::vector<LoadedRoamRow>& out);
  // Every row of the application and type; for type 2 with a non-zero time
  // only the rows of that push.
  bool DeleteRoamGroup(uint32_t appId, int32_t shareType, uint32_t shareTime);
  bool DeleteRoamMsg(uint32_t msgId, uint32_t shareTime);
  bool ClearRoam();
  // Whether DeleteRoamGroup or DeleteRoamMsg may find a row in the signed-in
  // user's table (see storage/rowmirror.h); false only when it certainly
  // cannot.
  static bool MayHoldRoamGroup(uint32_t appId, int32_t shareType, uint32_t shareTime);
  static bool MayHoldRoamMsg(uint32_t msgId, uint32_t shareTime);

  bool SaveMyRows(const std::vector<MyShareRow>& rows);
  bool LoadMyRows(std::vector<MyShareRow>& out);
  // The rows of one own-share group's item: the application, the type and the
  // time together, so that a group of the other type is left alone.
  bool DeleteMyRows(uint32_t appId, int32_t shareType, uint32_t shareTime);
  bool ClearMy();

  void OnInstanceCreated() override;
  // Closes the database while every other module wrapper is still alive.
  void OnInstanceReleasing() override;
  ~ShareMsgStorage() override;

 private:
  friend class Singlton<ShareMsgStorage>;
  ShareMsgStorage();

  // Whether the database of the user signed in now is open: opened for that
  // user, opened anew when another user has signed in, tried again after a
  // failure. Without a signed-in user there is no database.
  bool Ready();

  uint32_t dbHandle_;
  uint32_t myTableHandle_;
  uint32_t roamTableHandle_;
  bool isOpen_;
  // The user whose database the handles belong to.
  uint32_t openUser_;
};
