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

// Sets the fields of one new row in order; after the first failure the
// remaining sets are skipped and the row counts as failed.
class RowWriter {
 public:
  explicit RowWriter(uint32_t table) : table_(table) {}
  void Int(const char* column, uint32_t value) {
    auto set = LocalDb(&LocalDatabaseTable::SetIntField);
    ok_ = ok_ && set != nullptr && set(table_, column, value);
  }
  void Int(const char* column, int32_t value) { Int(column, static_cast<uint32_t>(value)); }
  void Bytes(const char* column, const Buffer& value) {
    auto set = LocalDb(&LocalDatabaseTable::SetBufferField);
    ok_ = ok_ && set != nullptr && set(table_, column, value);
  }
  // The sharer's number goes in encoded.
  void Uin(const char* column, uint32_t uin) {
    if (ok_) Bytes(column, EncodeUin(uin));
  }
  bool Ok() const { return ok_; }

 private:
  uint32_t table_;
  bool ok_ = true;
};

// Byte columns in a row of either table, "UIN" included.
const size_t kMaxByteColumns = 6;

// Reads the fields of the current row in order; after the first failure the
// remaining reads are skipped. Byte runs are owned here until they are moved
// into a Buffer.
class RowReader {
 public:
  explicit RowReader(uint32_t table) : table_(table) {}
  void Int(const char* column, uint32_t& value) {
    auto get = LocalDb(&LocalDatabaseTable::GetIntField);
    ok_ = ok_ && get != nullptr && get(table_, column, &value);
  }
  void Int(const char* column, int32_t& value) {
    uint32_t raw = 0;
    Int(column, raw);
    value = static_cast<int32_t>(raw);
  }
  void Bytes(const char* column, Buffer& value) {
    if (!ok_) return;
    auto get = LocalDb(&LocalDatabaseTable::GetBufferField);
    uint8_t* bytes = nullptr;
    uint32_t size = 0;
    ok_ = get != nullptr && get(table_, column, &bytes, &size) && count_ < kMaxByteColumns;
    std::unique_ptr<uint8_t[]> owned(bytes);
    if (ok_ && owned != nullptr) pending_[count_++] = Pending{std::move(owned), size, &value};
  }
  // The encoded number is read now and decoded once the row is whole.
  void Uin(const char* column, uint32_t& uin) {
    Bytes(column, uinColumn_);
    uinTarget_ = &uin;
  }
  // Hands every byte run read to its buffer and decodes the sharer's number;
  // false when it does not decode, and the row is not to be kept. The runs
  // of a row that is dropped go when the reader goes.
  bool Commit() {
    for (size_t i = 0; i < count_; ++i) {
      pending_[i].target->Attach(pending_[i].bytes.release(), pending_[i].size);
    }
    count_ = 0;
    return uinTarget_ != nullptr && DecodeUin(uinColumn_, uinTarget_);
  }
  bool Ok() const { return ok_; }

 private:
  struct Pending {
    std::unique_ptr<uint8_t[]> bytes;
    uint32_t size;
    Buffer* target;
  };
  uint32_t table_;
  bool ok_ = true;
  Pending pending_[kMaxByteColumns];
  size_t count_ = 0;
  Buffer uinColumn_;
  uint32_t* uinTarget_ = nullptr;
};

bool DeleteWhere(uint32_t db, uint32_t table, const char* where) {
  if (db == 0 || table == 0) return false;
  auto remove = LocalDb(&LocalDatabaseTable::DeleteRows);
  return remove != nullptr && remove(table, where, 0);
}

// The columns of each table, in the order they are written and read, for a
// RowWriter over a const row and a RowReader over a fresh one.
template <class Io, class Row>
void RoamColumns(Io& io, Row& row) {
  io.Int("msgId", row.msgId);
  io.Uin("UIN", row.uin);
  io.Int("appId", row.appId);
  io.Int("openType", row.openType);
  io.Int("shareType", row.shareType);
  io.Bytes("picURL", row.picURL);
  io.Bytes("title", row.title);
  io.Int("shareTime", row.shareTime);
  io.Bytes("buffer", row.buffer);
  io.Bytes("textHint", row.textHint);
  io.Bytes("appDesc", row.appDesc);
}

template <class Io, class Row>
void MyColumns(Io& io, Row& row) {
  io.Uin("UIN", row.uin);
  io.Int("appId", row.appId);
  io.Int("shareType", row.shareType);
  io.Bytes("picURL", row.picURL);
  io.Bytes("title", row.title);
  io.Int("shareTime", row.shareTime);
  io.Bytes("buffer", row.buffer);
  io.Bytes("textHint", row.textHint);
  io.Bytes("appDesc", row.appDesc);
}

// Each table's columns for a row type.
void Columns(RowWriter& io, const RoamShareRow& row) { RoamColumns(io, row); }
void Columns(RowReader& io, RoamShareRow& row) { RoamColumns(io, row); }
void Columns(RowWriter& io, const MyShareRow& row) { MyColumns(io, row); }
void Columns(RowReader& io, MyShareRow& row) { MyColumns(io, row); }

// A growing vector copies each row's buffers one by one: make room for what a
// full center holds (fifty groups of eleven) at once.
const size_t kRowsExpected = 600;

// Writes every row inside one transaction.
template <class Row>
bool SaveRows(uint32_t db, uint32_t table, const std::vector<Row>& rows) {
  if (db == 0 || table == 0) return false;
  uint32_t err = 0;
  auto begin = LocalDb(&LocalDatabaseTable::BeginTransaction);
  if (begin == nullptr || !begin(db, &err)) return false;
  auto commit = [db, &err]() {
    if (auto end = LocalDb(&LocalDatabaseTable::CommitTransaction)) end(db, &err);
  };
  bool result = true;
  for (const Row& row : rows) {
    auto add = LocalDb(&LocalDatabaseTable::AddRow);
    if (add == nullptr || !add(table)) {
      commit();
      return false;
    }
    RowWriter writer(table);
    Columns(writer, row);
    if (!writer.Ok()) result = false;
    auto post = LocalDb(&LocalDatabaseTable::PostRow);
    if (post == nullptr || !post(table, 0)) result = false;
  }
  commit();
  return result;
}

struct RoamKey {
  uint32_t appId;
  int32_t shareType;
  uint32_t msgId;
  uint32_t shareTime;
};

RoamKey KeyOf(const RoamShareRow& row) { return RoamKey{row.appId, row.shareType, row.msgId, row.shareTime}; }

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

// Walks every row, filling a fresh row in place; it is kept only when every
// field was read and its "UIN" decodes. complete tells whether every row was.
template <class Row>
bool LoadRows(uint32_t db, uint32_t table, std::vector<Row>& out, bool* complete = nullptr) {
  if (db == 0 || table == 0) return false;
  auto select = LocalDb(&LocalDatabaseTable::SelectRows);
  auto next = LocalDb(&LocalDatabaseTable::NextRow);
  if (select == nullptr || next == nullptr || !select(table, nullptr)) return false;
  out.reserve(out.size() + kRowsExpected);
  uint32_t err = 0;
  if (complete != nullptr) *complete = true;
  while (next(table, &err)) {
    out.emplace_back();
    RowReader reader(table);
    Columns(reader, out.back());
    if (!reader.Ok() || !reader.Commit()) {
      out.pop_back();
      if (complete != nullptr) *complete = false;
    }
  }
  return true;
}

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
  if (roamTableHandle_ != 0) {
    for (const RoamShareRow& row : rows) roamMirror.Add(openUser_, KeyOf(row));
  }
  return SaveRows(dbHandle_, roamTableHandle_, rows);
}

bool ShareMsgStorage::LoadRoamRows(std::vector<RoamShareRow>& out) {
  Ready();
  const size_t first = out.size();
  bool complete = false;
  if (!LoadRows(dbHandle_, roamTableHandle_, out, &complete)) return false;
  roamMirror.Reset(openUser_, complete);
  for (size_t i = first; i < out.size(); ++i) roamMirror.Add(openUser_, KeyOf(out[i]));
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
  return SaveRows(dbHandle_, myTableHandle_, rows);
}

bool ShareMsgStorage::LoadMyRows(std::vector<MyShareRow>& out) {
  Ready();
  return LoadRows(dbHandle_, myTableHandle_, out);
}

bool ShareMsgStorage::DeleteRoamGroup(uint32_t appId, int32_t shareType, uint32_t shareTime) {
  Ready();
  std::string where = std::string("appId") + " = " + ToDecimal(appId) + " and " + "shareType" +
                      " = " + std::to_string(shareType);
  if (shareType == 2 && shareTime != 0) {
    where += std::string(" and ") + "shareTime" + " = " + ToDecimal(shareTime);
  }
  if (!DeleteWhere(dbHandle_, roamTableHandle_, where.c_str())) return false;
  roamMirror.Remove(openUser_, InGroup{appId, shareType, shareTime});
  return true;
}

bool ShareMsgStorage::DeleteRoamMsg(uint32_t msgId, uint32_t shareTime) {
  Ready();
  const std::string where = std::string("msgId") + " = " + ToDecimal(msgId) + " and " +
                            "shareTime" + " = " + ToDecimal(shareTime);
  if (!DeleteWhere(dbHandle_, roamTableHandle_, where.c_str())) return false;
  roamMirror.Remove(openUser_, [=](const RoamKey& key) { return key.msgId == msgId && key.shareTime == shareTime; });
  return true;
}

bool ShareMsgStorage::DeleteMyRows(uint32_t appId, int32_t shareType, uint32_t shareTime) {
  Ready();
  const std::string where = std::string("appId") + " = " + ToDecimal(appId) + " and " + "shareType" +
                            " = " + std::to_string(shareType) + " and " + "shareTime" + " = " +
                            ToDecimal(shareTime);
  return DeleteWhere(dbHandle_, myTableHandle_, where.c_str());
}

bool ShareMsgStorage::ClearRoam() {
  Ready();
  if (!DeleteWhere(dbHandle_, roamTableHandle_, nullptr)) return false;
  roamMirror.Reset(openUser_, true);
  return true;
}

bool ShareMsgStorage::ClearMy() {
  Ready();
  return DeleteWhere(dbHandle_, myTableHandle_, nullptr);
}
