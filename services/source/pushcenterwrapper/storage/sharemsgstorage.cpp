#include "storage/sharemsgstorage.h"

#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "payloadroutines.h"
#include "modules/halyx_engine_wrapper.h"
#include "modules/halyx_localdatabase_wrapper.h"
#include "modules/serviceentry.h"
#include "storage/datafolder.h"
#include "storage/rowmirror.h"
#include "storage/tablerows.h"
#include "storage/usertable.h"

namespace {

template <class Fn>
Fn Engine(Fn EngineTable::*entry) {
  return ServiceEntry<halyx_engine_wrapper>(entry);
}

const ColumnDef kMyColumns[] = {
    {"UIN", kColumnBuffer, 0},      {"appId", kColumnInteger, 0},    {"shareType", kColumnInteger, 0},
    {"picURL", kColumnBuffer, 0},   {"title", kColumnBuffer, 0},     {"shareTime", kColumnInteger, 0},
    {"buffer", kColumnBuffer, 0},   {"textHint", kColumnBuffer, 0},  {"appDesc", kColumnBuffer, 0},
};

const ColumnDef kRoamColumns[] = {
    {"msgId", kColumnInteger, 0},     {"UIN", kColumnBuffer, 0},       {"appId", kColumnInteger, 0},
    {"openType", kColumnInteger, 0},  {"shareType", kColumnInteger, 0}, {"picURL", kColumnBuffer, 0},
    {"title", kColumnBuffer, 0},      {"shareTime", kColumnInteger, 0}, {"buffer", kColumnBuffer, 0},
    {"textHint", kColumnBuffer, 0},   {"appDesc", kColumnBuffer, 0},
};

// The user number as the engine encodes it for the "UIN" column; empty when
// the engine cannot encode.
Buffer EncodeUin(uint32_t uin) {
  Buffer encoded;
  auto encode = Engine(&EngineTable::encodeUin);
  if (encode == nullptr) return encoded;
  const std::string text = ToDecimal(uin);
  uint8_t* data = nullptr;
  uint32_t size = 0;
  encode(text.c_str(), static_cast<uint32_t>(text.size()), &data, &size);
  if (data != nullptr) encoded.Attach(data, size);
  return encoded;
}

// Decodes a "UIN" column into a number. False when the engine gives no text:
// such a row cannot be attributed to anybody and is not loaded.
bool DecodeUin(const Buffer& column, uint32_t* uin) {
  auto decode = Engine(&EngineTable::decodeUin);
  if (decode == nullptr) return false;
  char* raw = nullptr;
  uint32_t length = 0;
  decode(column.GetNativeBuf(), column.GetSize(), &raw, &length);
  std::unique_ptr<char[]> text(raw);
  if (text == nullptr || length == 0) return false;
  // The engine's text carries no terminator of its own; a number's text is
  // short enough to stay inside the string.
  const std::string terminated(text.get(), length);
  *uin = ParseUnsigned(terminated.c_str());
  return true;
}

// The "UIN" column: the sharer's number goes in encoded, and a row whose
// column does not decode is not kept.
void Uin(RowWriter& io, const char* column, uint32_t uin) {
  if (io.Ok()) io.Bytes(column, EncodeUin(uin));
}

void Uin(RowReader& io, const char* column, uint32_t& uin) {
  Buffer encoded;
  io.Bytes(column, encoded);
  if (io.Ok() && !DecodeUin(encoded, &uin)) io.Refuse();
}

// The columns of the own-share table, which the received table has too, for a
// RowWriter or a RowReader, in the tables' order: the database finds each
// column where the one before it ended. between(io) goes after "appId", where
// the received table has a column of its own.
template <class Io, class Row, class Between>
void MyColumns(Io& io, Row& row, Between between) {
  Uin(io, "UIN", row.uin);
  io.Int("appId", row.appId);
  between(io);
  io.Int("shareType", row.shareType);
  io.Bytes("picURL", row.picURL);
  io.Bytes("title", row.title);
  io.Int("shareTime", row.shareTime);
  io.Bytes("buffer", row.buffer);
  io.Bytes("textHint", row.textHint);
  io.Bytes("appDesc", row.appDesc);
}

template <class Io, class Row>
void RoamColumns(Io& io, Row& row) {
  io.Int("msgId", row.msgId);
  MyColumns(io, row, [&row](Io& between) { between.Int("openType", row.openType); });
}

template <class Io, class Row>
void MyColumns(Io& io, Row& row) {
  MyColumns(io, row, [](Io&) {});
}

// Each table's columns for a row type.
struct TableColumns {
  void operator()(RowWriter& io, const RoamShareRow& row) const { RoamColumns(io, row); }
  void operator()(RowReader& io, LoadedRoamRow& row) const { RoamColumns(io, row); }
  void operator()(RowWriter& io, const MyShareRow& row) const { MyColumns(io, row); }
  void operator()(RowReader& io, MyShareRow& row) const { MyColumns(io, row); }
};

// A full center holds fifty groups of eleven.
const size_t kRowsExpected = 600;

struct RoamKey {
  uint32_t appId;
  int32_t shareType;
  uint32_t msgId;
  uint32_t shareTime;
};

template <class Row>
RoamKey KeyOf(const Row& row) {
  return RoamKey{row.appId, row.shareType, row.msgId, row.shareTime};
}

// The rows of "roamsharemsgtable" as the deletions see them.
RowMirror<RoamKey> roamMirror;

// The condition of DeleteRoamGroup.
struct InGroup {
  uint32_t appId;
  int32_t shareType;
  uint32_t shareTime;
  bool operator()(const RoamKey& key) const {
    return key.appId == appId && key.shareType == shareType &&
           (shareType != 2 || shareTime == 0 || key.shareTime == shareTime);
  }
};

void NoMirror(const MyShareRow&) {}

}  // namespace

ShareMsgStorage::ShareMsgStorage()
    : dbHandle_(0), myTableHandle_(0), roamTableHandle_(0), isOpen_(false), openUser_(0) {
  Open();
}

namespace {

uint32_t CurrentUser() {
  auto currentUser = Engine(&EngineTable::getCurrentUserId);
  return currentUser != nullptr ? currentUser() : 0;
}

}  // namespace

bool ShareMsgStorage::Ready() {
  if (dbHandle_ != 0 && openUser_ == CurrentUser()) {
    // Only the received table failed: it alone is tried again, and the own
    // table serves meanwhile.
    if (!isOpen_ && CreateAndOpenTable(dbHandle_, "roamsharemsgtable", kRoamColumns, 11, &roamTableHandle_)) {
      isOpen_ = true;
    }
    return isOpen_;
  }
  Close();
  return Open();
}

ShareMsgStorage::~ShareMsgStorage() = default;

void ShareMsgStorage::OnInstanceCreated() {}
void ShareMsgStorage::OnInstanceReleasing() { Close(); }

bool ShareMsgStorage::Open() {
  if (isOpen_) return true;
  // Nobody's data goes into a folder of its own: without a user, no database.
  const uint32_t userId = CurrentUser();
  if (userId == 0) return false;
  const std::string folder = GetUserDataFolder(userId);
  if (folder.empty() || (!PathExists(folder.c_str()) && !CreateFolderTree(folder.c_str()))) return false;

  Close();
  openUser_ = userId;
  const std::string path = folder + "sharemsg.db";
  uint32_t err = 0;
  auto open = LocalDb(&LocalDatabaseTable::OpenDatabase);
  if (open == nullptr || !open(path.c_str(), 0, &dbHandle_, &err)) return false;

  // Without the own table nothing of the database is used: let it go.
  if (!CreateAndOpenTable(dbHandle_, "mysharemsgtable", kMyColumns, 9, &myTableHandle_)) {
    Close();
    return false;
  }
  // Without the received table the own one still serves; Close lets it go.
  if (!CreateAndOpenTable(dbHandle_, "roamsharemsgtable", kRoamColumns, 11, &roamTableHandle_)) {
    return false;
  }
  isOpen_ = true;
  return true;
}

void ShareMsgStorage::Close() {
  uint32_t err = 0;
  // Nothing held, nothing to ask the database service for: it may not even be
  // loaded, and this runs at every reopen.
  if (myTableHandle_ != 0 || roamTableHandle_ != 0) {
    if (auto closeTable = LocalDb(&LocalDatabaseTable::CloseTable)) {
      if (myTableHandle_ != 0) closeTable(myTableHandle_, &err);
      if (roamTableHandle_ != 0) closeTable(roamTableHandle_, &err);
    }
  }
  if (dbHandle_ != 0) {
    if (auto close = LocalDb(&LocalDatabaseTable::CloseDatabase)) close(dbHandle_);
  }
  dbHandle_ = myTableHandle_ = roamTableHandle_ = 0;
  isOpen_ = false;
}

bool ShareMsgStorage::SaveRoamRows(const std::vector<RoamShareRow>& rows) {
  Ready();
  return InsertTableRows(
      dbHandle_, roamTableHandle_, rows, TableColumns(),
      [this](const RoamShareRow& row) { roamMirror.Add(openUser_, KeyOf(row)); }, RefusedRow::kCommit);
}

bool ShareMsgStorage::LoadRoamRows(std::vector<LoadedRoamRow>& out) {
  Ready();
  const size_t first = out.size();
  bool complete = false;
  if (!LoadTableRows(roamTableHandle_, out, kRowsExpected, TableColumns(), &complete)) return false;
  roamMirror.Fill(openUser_, complete, out, first, KeyOf<LoadedRoamRow>);
  return true;
}

bool ShareMsgStorage::MayHoldRoamGroup(uint32_t appId, int32_t shareType, uint32_t shareTime) {
  return roamMirror.MayHold(CurrentUser(), InGroup{appId, shareType, shareTime});
}

bool ShareMsgStorage::MayHoldRoamMsg(uint32_t msgId, uint32_t shareTime) {
  return roamMirror.MayHold(CurrentUser(), [=](const RoamKey& key) {
    return key.msgId == msgId && key.shareTime == shareTime;
  });
}

bool ShareMsgStorage::SaveMyRows(const std::vector<MyShareRow>& rows) {
  Ready();
  return InsertTableRows(dbHandle_, myTableHandle_, rows, TableColumns(), NoMirror, RefusedRow::kCommit);
}

bool ShareMsgStorage::LoadMyRows(std::vector<MyShareRow>& out) {
  Ready();
  bool complete = false;
  return LoadTableRows(myTableHandle_, out, kRowsExpected, TableColumns(), &complete);
}

bool ShareMsgStorage::DeleteRoamGroup(uint32_t appId, int32_t shareType, uint32_t shareTime) {
  Ready();
  std::string where = std::string("appId") + " = " + ToDecimal(appId) + " and " + "shareType" +
                      " = " + std::to_string(shareType);
  if (shareType == 2 && shareTime != 0) {
    where += std::string(" and ") + "shareTime" + " = " + ToDecimal(shareTime);
  }
  if (!DeleteTableRows(roamTableHandle_, where.c_str())) return false;
  roamMirror.Remove(openUser_, InGroup{appId, shareType, shareTime});
  return true;
}

bool ShareMsgStorage::DeleteRoamMsg(uint32_t msgId, uint32_t shareTime) {
  Ready();
  const std::string where = std::string("msgId") + " = " + ToDecimal(msgId) + " and " +
                            "shareTime" + " = " + ToDecimal(shareTime);
  if (!DeleteTableRows(roamTableHandle_, where.c_str())) return false;
  roamMirror.Remove(openUser_, [=](const RoamKey& key) { return key.msgId == msgId && key.shareTime == shareTime; });
  return true;
}

bool ShareMsgStorage::DeleteMyRows(uint32_t appId, int32_t shareType, uint32_t shareTime) {
  Ready();
  const std::string where = std::string("appId") + " = " + ToDecimal(appId) + " and " + "shareType" +
                            " = " + std::to_string(shareType) + " and " + "shareTime" + " = " +
                            ToDecimal(shareTime);
  return DeleteTableRows(myTableHandle_, where.c_str());
}

bool ShareMsgStorage::ClearRoam() {
  Ready();
  if (!DeleteTableRows(roamTableHandle_, nullptr)) return false;
  roamMirror.Reset(openUser_, true);
  return true;
}

bool ShareMsgStorage::ClearMy() {
  Ready();
  return DeleteTableRows(myTableHandle_, nullptr);
}
