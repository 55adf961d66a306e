#include "storage/dynamicmsgstorage.h"

#include <cstring>
#include <memory>
#include <string>

#include "messages/dynamicmsg.h"
#include "messages/dynamicmsggroup.h"
#include "modules/halyx_localdatabase_wrapper.h"
#include "storage/datafolder.h"
#include "storage/usertable.h"

namespace {

const char kTable[] = "dynmsgtable";
const char kFileName[] = "dynmsg.db";
// Three messages for each of fifty applications, and some room.
const size_t kRowsExpected = 256;

const ColumnDef kColumns[] = {
    {"appId", kColumnInteger, 0},        {"msgId", kColumnInteger, 0},
    {"voiceIndex", kColumnInteger, 0},   {"openType", kColumnInteger, 0},
    {"pushTime", kColumnInteger, 0},     {"msgCountOnServer", kColumnInteger, 0},
    {"buttonText", kColumnBuffer, 0},    {"buffer", kColumnBuffer, 0},
    {"textHint", kColumnBuffer, 0},      {"title", kColumnBuffer, 0},
};

void SetText(Buffer& column, const std::string& text) {
  column.CopyFrom(text.c_str(), static_cast<uint32_t>(text.size() + 1));
}

// The bytes up to the first zero; the empty string for an empty column.
std::string TextOf(const Buffer& column) {
  const char* bytes = reinterpret_cast<const char*>(column.GetNativeBuf());
  if (bytes == nullptr || column.GetSize() == 0) return std::string();
  const void* zero = std::memchr(bytes, 0, column.GetSize());
  const size_t length = zero != nullptr ? static_cast<const char*>(zero) - bytes : column.GetSize();
  return std::string(bytes, length);
}

bool SetInt(uint32_t table, const char* column, uint32_t value) {
  auto set = LocalDb(&LocalDatabaseTable::SetIntField);
  return set != nullptr && set(table, column, value);
}

bool SetBytes(uint32_t table, const char* column, const Buffer& value) {
  auto set = LocalDb(&LocalDatabaseTable::SetBufferField);
  return set != nullptr && set(table, column, value);
}

bool GetInt(uint32_t table, const char* column, uint32_t* value) {
  auto get = LocalDb(&LocalDatabaseTable::GetIntField);
  return get != nullptr && get(table, column, value);
}

// Bytes the module allocated with new[]; released unless handed to a Buffer.
struct Column {
  std::unique_ptr<uint8_t[]> bytes;
  uint32_t size = 0;

  bool Read(uint32_t table, const char* column) {
    auto get = LocalDb(&LocalDatabaseTable::GetBufferField);
    uint8_t* raw = nullptr;
    if (get == nullptr || !get(table, column, &raw, &size)) return false;
    bytes.reset(raw);
    return true;
  }
  void MoveTo(Buffer& target) {
    if (bytes == nullptr) {
      target.CopyFrom(nullptr, 0);
      return;
    }
    target.Attach(bytes.release(), size);
  }
};

bool WriteRow(uint32_t table, const DynamicMsgRow& row) {
  return SetInt(table, "appId", row.appId) && SetInt(table, "msgId", row.msgId) &&
         SetInt(table, "voiceIndex", static_cast<uint32_t>(row.voiceIndex)) &&
         SetInt(table, "openType", static_cast<uint32_t>(row.openType)) &&
         SetInt(table, "pushTime", row.pushTime) &&
         SetInt(table, "msgCountOnServer", row.msgCountOnServer) &&
         SetBytes(table, "title", row.title) && SetBytes(table, "buffer", row.buffer) &&
         SetBytes(table, "textHint", row.textHint) &&
         SetBytes(table, "buttonText", row.buttonText);
}

bool ReadRow(uint32_t table, DynamicMsgRow& row) {
  uint32_t voiceIndex = 0;
  uint32_t openType = 0;
  if (!GetInt(table, "appId", &row.appId) || !GetInt(table, "msgId", &row.msgId) ||
      !GetInt(table, "voiceIndex", &voiceIndex) || !GetInt(table, "openType", &openType) ||
      !GetInt(table, "pushTime", &row.pushTime) ||
      !GetInt(table, "msgCountOnServer", &row.msgCountOnServer)) {
    return false;
  }
  row.voiceIndex = static_cast<int32_t>(voiceIndex);
  row.openType = static_cast<int32_t>(openType);
  Column title, buffer, textHint, buttonText;
  if (!title.Read(table, "title") || !buffer.Read(table, "buffer") ||
      !textHint.Read(table, "textHint") || !buttonText.Read(table, "buttonText")) {
    return false;
  }
  title.MoveTo(row.title);
  buffer.MoveTo(row.buffer);
  textHint.MoveTo(row.textHint);
  buttonText.MoveTo(row.buttonText);
  return true;
}

}  // namespace

DynamicMsgStorage::DynamicMsgStorage() : dbHandle(0), tableHandle(0) {}

DynamicMsgStorage::~DynamicMsgStorage() { CloseUserTable(&dbHandle, &tableHandle); }

bool DynamicMsgStorage::Open() {
  return OpenUserTable(kFileName, kTable, kColumns, sizeof(kColumns) / sizeof(kColumns[0]),
                       &dbHandle, &tableHandle);
}

bool DynamicMsgStorage::InsertRows(const std::vector<DynamicMsgRow>& rows) {
  uint32_t err = 0;
  auto begin = LocalDb(&LocalDatabaseTable::BeginTransaction);
  if (begin == nullptr || !begin(dbHandle, &err)) return false;
  auto addRow = LocalDb(&LocalDatabaseTable::AddRow);
  auto postRow = LocalDb(&LocalDatabaseTable::PostRow);
  bool ok = true;
  for (const DynamicMsgRow& row : rows) {
    // The transaction is left uncommitted: the database drops it.
    if (addRow == nullptr || !addRow(tableHandle)) return false;
    if (!WriteRow(tableHandle, row)) ok = false;
    if (postRow == nullptr || !postRow(tableHandle, 0)) ok = false;
  }
  if (auto commit = LocalDb(&LocalDatabaseTable::CommitTransaction)) commit(dbHandle, &err);
  return ok;
}

bool DynamicMsgStorage::LoadRows(std::vector<DynamicMsgRow>& out) {
  auto select = LocalDb(&LocalDatabaseTable::SelectRows);
  if (select == nullptr || !select(tableHandle, nullptr)) return false;
  auto next = LocalDb(&LocalDatabaseTable::NextRow);
  // A row holds buffers that a growing vector would copy one by one.
  out.reserve(out.size() + kRowsExpected);
  uint32_t err = 0;
  while (next != nullptr && next(tableHandle, &err)) {
    out.emplace_back();
    if (!ReadRow(tableHandle, out.back())) out.pop_back();
  }
  return true;
}

bool DynamicMsgStorage::DeleteByAppId(uint32_t appId) {
  auto deleteRows = LocalDb(&LocalDatabaseTable::DeleteRows);
  const std::string where = std::string("appId") + " = " + ToDecimal(appId);
  return deleteRows != nullptr && deleteRows(tableHandle, where.c_str(), 0);
}

bool DynamicMsgStorage::DeleteMsg(uint32_t msgId, uint32_t pushTime) {
  auto deleteRows = LocalDb(&LocalDatabaseTable::DeleteRows);
  const std::string where = std::string("msgId") + " = " + ToDecimal(msgId) + " and " +
                            "pushTime" + " <= " + ToDecimal(pushTime);
  return deleteRows != nullptr && deleteRows(tableHandle, where.c_str(), 0);
}

bool DynamicMsgStorage::UpdateMsgCountOnServer(uint32_t appId, uint32_t count) {
  auto execute = LocalDb(&LocalDatabaseTable::ExecuteSql);
  const std::string sql = "update dynmsgtable set msgCountOnServer = " + ToDecimal(count) +
                          " where appId = " + ToDecimal(appId);
  uint32_t err = 0;
  return execute != nullptr && execute(dbHandle, sql.c_str(), &err);
}

bool DynamicMsgStorage::DeleteAll() {
  auto deleteRows = LocalDb(&LocalDatabaseTable::DeleteRows);
  return deleteRows != nullptr && deleteRows(tableHandle, nullptr, 0);
}

bool StoreMessage(DynamicMsgStorage& storage, const DynamicMsg& msg, const DynamicMsgGroup& group) {
  // Filled in place: a row's buffers are copied one by one when a row is.
  std::vector<DynamicMsgRow> rows(1);
  DynamicMsgRow& row = rows.front();
  // The base class's getters are not const; the row only reads.
  DynamicMsg& source = const_cast<DynamicMsg&>(msg);
  row.appId = group.GetAppId();
  row.msgId = source.GetMsgId();
  row.voiceIndex = msg.GetVoiceIndex();
  row.openType = source.GetOpenType();
  row.pushTime = source.GetPushTime();
  row.msgCountOnServer = group.GetMsgCountOnServer();
  SetText(row.buttonText, msg.ButtonTextRef());
  SetText(row.buffer, msg.BufferRef());
  SetText(row.textHint, msg.TextRef());
  SetText(row.title, msg.TitleRef());
  return storage.InsertRows(rows);
}

DynamicMsgGroup* GroupFromRow(const DynamicMsgRow& row) {
  std::unique_ptr<DynamicMsgGroup> group(new DynamicMsgGroup());
  group->SetAppId(row.appId);
  std::unique_ptr<DynamicMsg> msg(new DynamicMsg());
  msg->SetMsgId(row.msgId);
  msg->SetBuffer(TextOf(row.buffer));
  msg->SetButtonText(TextOf(row.buttonText));
  msg->SetText(TextOf(row.textHint));
  msg->SetTitle(TextOf(row.title));
  msg->SetOpenType(row.openType);
  msg->SetPushTime(row.pushTime);
  msg->SetVoiceIndex(row.voiceIndex);
  msg->SetHasRow(true);
  group->AddMsg(msg.release());
  group->SetMsgCountOnServer(row.msgCountOnServer);
  group->MarkAllRead();
  return group.release();
}
