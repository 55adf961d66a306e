#include "storage/sharemsgstorage.h"

#include <cstring>
#include <memory>
#include <string>

#include "jsonparser.h"
#include "modules/halyx_engine_wrapper.h"
#include "modules/halyx_localdatabase_wrapper.h"
#include "modules/serviceentry.h"
#include "storage/datafolder.h"

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
  const std::string copy(text.get(), length);
  *uin = ParseUnsigned(copy.c_str());
  return true;
}

// Sets the fields of one new row in order; after the first failure the
// remaining sets are skipped and the row counts as failed.
class RowWriter {
 public:
  explicit RowWriter(uint32_t table) : table(table) {}
  void Int(const char* column, uint32_t value) {
    auto set = LocalDb(&LocalDatabaseTable::SetIntField);
    ok = ok && set != nullptr && set(table, column, value);
  }
  void Bytes(const char* column, const Buffer& value) {
    auto set = LocalDb(&LocalDatabaseTable::SetBufferField);
    ok = ok && set != nullptr && set(table, column, value);
  }
  bool Ok() const { return ok; }

 private:
  uint32_t table;
  bool ok = true;
};

// Reads the fields of the current row in order; after the first failure the
// remaining reads are skipped. Byte runs are owned here until they are moved
// into a Buffer.
class RowReader {
 public:
  explicit RowReader(uint32_t table) : table(table) {}
  void Int(const char* column, uint32_t* value) {
    auto get = LocalDb(&LocalDatabaseTable::GetIntField);
    ok = ok && get != nullptr && get(table, column, value);
  }
  void Int(const char* column, int32_t* value) {
    uint32_t raw = 0;
    Int(column, &raw);
    *value = static_cast<int32_t>(raw);
  }
  void Bytes(const char* column, Buffer* value) {
    auto get = LocalDb(&LocalDatabaseTable::GetBufferField);
    uint8_t* bytes = nullptr;
    uint32_t size = 0;
    ok = ok && get != nullptr && get(table, column, &bytes, &size);
    if (bytes != nullptr) pending.push_back(Pending{std::unique_ptr<uint8_t[]>(bytes), size, value});
  }
  // Hands every byte run read to its buffer; the runs of a row that is
  // dropped go when the reader goes.
  void Commit() {
    for (Pending& run : pending) run.target->Attach(run.bytes.release(), run.size);
    pending.clear();
  }
  bool Ok() const { return ok; }

 private:
  struct Pending {
    std::unique_ptr<uint8_t[]> bytes;
    uint32_t size;
    Buffer* target;
  };
  uint32_t table;
  bool ok = true;
  std::vector<Pending> pending;
};

bool DeleteWhere(uint32_t db, uint32_t table, const char* where) {
  if (db == 0 || table == 0) return false;
  auto remove = LocalDb(&LocalDatabaseTable::DeleteRows);
  return remove != nullptr && remove(table, where, 0);
}

// Runs write(RowWriter&, row) for every row inside one transaction.
template <class Row, class Write>
bool SaveRows(uint32_t db, uint32_t table, const std::vector<Row>& rows, Write write) {
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
    write(writer, row);
    if (!writer.Ok()) result = false;
    auto post = LocalDb(&LocalDatabaseTable::PostRow);
    if (post == nullptr || !post(table, 0)) result = false;
  }
  commit();
  return result;
}

// Walks every row; read(RowReader&, row) fills a fresh row, which is kept
// only when every field was read and its "UIN" decodes.
template <class Row, class Read>
bool LoadRows(uint32_t db, uint32_t table, std::vector<Row>& out, Read read) {
  if (db == 0 || table == 0) return false;
  auto select = LocalDb(&LocalDatabaseTable::SelectRows);
  auto next = LocalDb(&LocalDatabaseTable::NextRow);
  if (select == nullptr || next == nullptr || !select(table, nullptr)) return false;
  uint32_t err = 0;
  while (next(table, &err)) {
    Row row;
    RowReader reader(table);
    Buffer uinColumn;
    read(reader, row, uinColumn);
    if (!reader.Ok()) continue;
    reader.Commit();
    if (!DecodeUin(uinColumn, &row.uin)) continue;
    out.push_back(row);
  }
  return true;
}

}  // namespace

Buffer TextToColumn(const std::string& text, bool emptyAsNothing) {
  Buffer column;
  if (!(text.empty() && emptyAsNothing)) {
    column.CopyFrom(text.c_str(), static_cast<uint32_t>(text.size() + 1));
  }
  return column;
}

std::string ColumnToText(const Buffer& column) {
  const char* bytes = reinterpret_cast<const char*>(column.GetNativeBuf());
  if (bytes == nullptr) return std::string();
  const void* end = memchr(bytes, 0, column.GetSize());
  const size_t length =
      end != nullptr ? static_cast<size_t>(static_cast<const char*>(end) - bytes) : column.GetSize();
  return std::string(bytes, length);
}

ShareMsgStorage::ShareMsgStorage()
    : dbHandle(0), myTableHandle(0), roamTableHandle(0), isOpen(false) {
  Open();
}

ShareMsgStorage::~ShareMsgStorage() = default;

void ShareMsgStorage::OnInstanceCreated() {}
void ShareMsgStorage::OnInstanceReleasing() { Close(); }

bool ShareMsgStorage::Open() {
  if (isOpen) return true;
  auto currentUser = Engine(&EngineTable::getCurrentUserId);
  const uint32_t userId = currentUser != nullptr ? currentUser() : 0;
  const std::string folder = GetUserDataFolder(userId);
  if (!PathExists(folder.c_str()) && !CreateFolderTree(folder.c_str())) return false;

  if (auto close = LocalDb(&LocalDatabaseTable::CloseDatabase)) close(dbHandle);
  const std::string path = folder + "sharemsg.db";
  uint32_t err = 0;
  auto open = LocalDb(&LocalDatabaseTable::OpenDatabase);
  if (open == nullptr || !open(path.c_str(), 0, &dbHandle, &err)) return false;

  auto create = LocalDb(&LocalDatabaseTable::CreateTable);
  auto openTable = LocalDb(&LocalDatabaseTable::OpenTable);
  if (create != nullptr) create(dbHandle, "mysharemsgtable", kMyColumns, 9, -1, &err);
  if (openTable == nullptr || !openTable(dbHandle, "mysharemsgtable", &myTableHandle, &err)) {
    return false;
  }
  if (create != nullptr) create(dbHandle, "roamsharemsgtable", kRoamColumns, 11, -1, &err);
  if (!openTable(dbHandle, "roamsharemsgtable", &roamTableHandle, &err)) return false;
  isOpen = true;
  return true;
}

void ShareMsgStorage::Close() {
  if (!isOpen) return;
  uint32_t err = 0;
  if (auto closeTable = LocalDb(&LocalDatabaseTable::CloseTable)) {
    closeTable(myTableHandle, &err);
    closeTable(roamTableHandle, &err);
  }
  if (auto close = LocalDb(&LocalDatabaseTable::CloseDatabase)) close(dbHandle);
  isOpen = false;
}

bool ShareMsgStorage::SaveRoamRows(const std::vector<RoamShareRow>& rows) {
  return SaveRows(dbHandle, roamTableHandle, rows, [](RowWriter& w, const RoamShareRow& row) {
    w.Int("msgId", row.msgId);
    w.Bytes("UIN", EncodeUin(row.uin));
    w.Int("appId", row.appId);
    w.Int("openType", static_cast<uint32_t>(row.openType));
    w.Int("shareType", static_cast<uint32_t>(row.shareType));
    w.Bytes("picURL", row.picURL);
    w.Bytes("title", row.title);
    w.Int("shareTime", row.shareTime);
    w.Bytes("buffer", row.buffer);
    w.Bytes("textHint", row.textHint);
    w.Bytes("appDesc", row.appDesc);
  });
}

bool ShareMsgStorage::LoadRoamRows(std::vector<RoamShareRow>& out) {
  return LoadRows(dbHandle, roamTableHandle, out,
                  [](RowReader& r, RoamShareRow& row, Buffer& uin) {
                    r.Int("msgId", &row.msgId);
                    r.Bytes("UIN", &uin);
                    r.Int("appId", &row.appId);
                    r.Int("openType", &row.openType);
                    r.Int("shareType", &row.shareType);
                    r.Bytes("picURL", &row.picURL);
                    r.Bytes("title", &row.title);
                    r.Int("shareTime", &row.shareTime);
                    r.Bytes("buffer", &row.buffer);
                    r.Bytes("textHint", &row.textHint);
                    r.Bytes("appDesc", &row.appDesc);
                  });
}

bool ShareMsgStorage::SaveMyRows(const std::vector<MyShareRow>& rows) {
  return SaveRows(dbHandle, myTableHandle, rows, [](RowWriter& w, const MyShareRow& row) {
    w.Bytes("UIN", EncodeUin(row.uin));
    w.Int("appId", row.appId);
    w.Int("shareType", static_cast<uint32_t>(row.shareType));
    w.Bytes("picURL", row.picURL);
    w.Bytes("title", row.title);
    w.Int("shareTime", row.shareTime);
    w.Bytes("buffer", row.buffer);
    w.Bytes("textHint", row.textHint);
    w.Bytes("appDesc", row.appDesc);
  });
}

bool ShareMsgStorage::LoadMyRows(std::vector<MyShareRow>& out) {
  return LoadRows(dbHandle, myTableHandle, out, [](RowReader& r, MyShareRow& row, Buffer& uin) {
    r.Bytes("UIN", &uin);
    r.Int("appId", &row.appId);
    r.Int("shareType", &row.shareType);
    r.Bytes("picURL", &row.picURL);
    r.Bytes("title", &row.title);
    r.Int("shareTime", &row.shareTime);
    r.Bytes("buffer", &row.buffer);
    r.Bytes("textHint", &row.textHint);
    r.Bytes("appDesc", &row.appDesc);
  });
}

bool ShareMsgStorage::DeleteRoamGroup(uint32_t appId, int32_t shareType, uint32_t shareTime) {
  std::string where = std::string("appId") + " = " + ToDecimal(appId) + " and " + "shareType" +
                      " = " + std::to_string(shareType);
  if (shareType == 2 && shareTime != 0) {
    where += std::string(" and ") + "shareTime" + " = " + ToDecimal(shareTime);
  }
  return DeleteWhere(dbHandle, roamTableHandle, where.c_str());
}

bool ShareMsgStorage::DeleteRoamMsg(uint32_t msgId, uint32_t shareTime) {
  const std::string where = std::string("msgId") + " = " + ToDecimal(msgId) + " and " +
                            "shareTime" + " = " + ToDecimal(shareTime);
  return DeleteWhere(dbHandle, roamTableHandle, where.c_str());
}

bool ShareMsgStorage::DeleteMyRows(uint32_t appId, uint32_t shareTime) {
  const std::string where = std::string("appId") + " = " + ToDecimal(appId) + " and " +
                            "shareTime" + " = " + ToDecimal(shareTime);
  return DeleteWhere(dbHandle, myTableHandle, where.c_str());
}

bool ShareMsgStorage::ClearRoam() { return DeleteWhere(dbHandle, roamTableHandle, nullptr); }
bool ShareMsgStorage::ClearMy() { return DeleteWhere(dbHandle, myTableHandle, nullptr); }
