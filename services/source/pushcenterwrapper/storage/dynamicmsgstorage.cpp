#include "storage/dynamicmsgstorage.h"

#include <cstring>
#include <memory>
#include <string>

#include "messages/dynamicmsg.h"
#include "messages/dynamicmsggroup.h"
#include "modules/halyx_localdatabase_wrapper.h"
#include "modules/halyx_status_wrapper.h"
#include "storage/columntext.h"
#include "storage/datafolder.h"
#include "storage/rowmirror.h"
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

struct RowKey {
  uint32_t appId;
  uint32_t msgId;
  uint32_t pushTime;
};

// The table's rows as the deletions see them, for the whole library.
RowMirror<RowKey> mirror;

}  // namespace

bool DynamicMsgStorage::MayHoldMsg(uint32_t msgId, uint32_t pushTime) {
  return mirror.MayHold(CurrentUserNumber(), [=](const RowKey& key) {
    return key.msgId == msgId && key.pushTime <= pushTime;
  });
}

bool DynamicMsgStorage::MayHoldApp(uint32_t appId) {
  return mirror.MayHold(CurrentUserNumber(), [=](const RowKey& key) { return key.appId == appId; });
}

DynamicMsgStorage::DynamicMsgStorage() : dbHandle_(0), tableHandle_(0), user_(0) {}

DynamicMsgStorage::~DynamicMsgStorage() { CloseUserTable(&dbHandle_, &tableHandle_); }

bool DynamicMsgStorage::Open() {
  user_ = CurrentUserNumber();
  return OpenUserTable(kFileName, kTable, kColumns, sizeof(kColumns) / sizeof(kColumns[0]),
                       &dbHandle_, &tableHandle_);
}

bool DynamicMsgStorage::InsertRows(const std::vector<DynamicMsgRow>& rows) {
  uint32_t err = 0;
  auto begin = LocalDb(&LocalDatabaseTable::BeginTransaction);
  if (begin == nullptr || !begin(dbHandle_, &err)) return false;
  auto addRow = LocalDb(&LocalDatabaseTable::AddRow);
  auto postRow = LocalDb(&LocalDatabaseTable::PostRow);
  bool ok = true;
  for (const DynamicMsgRow& row : rows) {
    mirror.Add(user_, RowKey{row.appId, row.msgId, row.pushTime});
    // The transaction is left uncommitted: the database drops it.
    if (addRow == nullptr || !addRow(tableHandle_)) return false;
    if (!WriteRow(tableHandle_, row)) ok = false;
    if (postRow == nullptr || !postRow(tableHandle_, 0)) ok = false;
  }
  if (auto commit = LocalDb(&LocalDatabaseTable::CommitTransaction)) commit(dbHandle_, &err);
  return ok;
}

bool DynamicMsgStorage::LoadRows(std::vector<DynamicMsgRow>& out) {
  auto select = LocalDb(&LocalDatabaseTable::SelectRows);
  if (select == nullptr || !select(tableHandle_, nullptr)) return false;
  auto next = LocalDb(&LocalDatabaseTable::NextRow);
  // A row holds buffers that a growing vector would copy one by one.
  out.reserve(out.size() + kRowsExpected);
  uint32_t err = 0;
  const size_t first = out.size();
  bool complete = next != nullptr;
  while (next != nullptr && next(tableHandle_, &err)) {
    out.emplace_back();
    if (!ReadRow(tableHandle_, out.back())) {
      out.pop_back();
      complete = false;
    }
  }
  mirror.Reset(user_, complete);
  for (size_t i = first; i < out.size(); ++i) mirror.Add(user_, RowKey{out[i].appId, out[i].msgId, out[i].pushTime});
  return true;
}

bool DynamicMsgStorage::DeleteByAppId(uint32_t appId) {
  auto deleteRows = LocalDb(&LocalDatabaseTable::DeleteRows);
  const std::string where = std::string("appId") + " = " + ToDecimal(appId);
  if (deleteRows == nullptr || !deleteRows(tableHandle_, where.c_str(), 0)) return false;
  mirror.Remove(user_, [=](const RowKey& key) { return key.appId == appId; });
  return true;
}

bool DynamicMsgStorage::DeleteMsg(uint32_t msgId, uint32_t pushTime) {
  auto deleteRows = LocalDb(&LocalDatabaseTable::DeleteRows);
  const std::string where = std::string("msgId") + " = " + ToDecimal(msgId) + " and " +
                            "pushTime" + " <= " + ToDecimal(pushTime);
  if (deleteRows == nullptr || !deleteRows(tableHandle_, where.c_str(), 0)) return false;
  mirror.Remove(user_, [=](const RowKey& key) { return key.msgId == msgId && key.pushTime <= pushTime; });
  return true;
}

bool DynamicMsgStorage::UpdateMsgCountOnServer(uint32_t appId, uint32_t count) {
  auto execute = LocalDb(&LocalDatabaseTable::ExecuteSql);
  const std::string sql = "update dynmsgtable set msgCountOnServer = " + ToDecimal(count) +
                          " where appId = " + ToDecimal(appId);
  uint32_t err = 0;
  return execute != nullptr && execute(dbHandle_, sql.c_str(), &err);
}

bool DynamicMsgStorage::DeleteAll() {
  auto deleteRows = LocalDb(&LocalDatabaseTable::DeleteRows);
  if (deleteRows == nullptr || !deleteRows(tableHandle_, nullptr, 0)) return false;
  mirror.Reset(user_, true);
  return true;
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
  SetColumnText(row.buttonText, msg.ButtonTextRef());
  SetColumnText(row.buffer, msg.BufferRef());
  SetColumnText(row.textHint, msg.TextRef());
  SetColumnText(row.title, msg.TitleRef());
  return storage.InsertRows(rows);
}

DynamicMsgGroup* GroupFromRow(const DynamicMsgRow& row) {
  std::unique_ptr<DynamicMsgGroup> group(new DynamicMsgGroup());
  group->SetAppId(row.appId);
  std::unique_ptr<DynamicMsg> msg(new DynamicMsg());
  msg->SetMsgId(row.msgId);
  msg->SetBuffer(ColumnToText(row.buffer));
  msg->SetButtonText(ColumnToText(row.buttonText));
  msg->SetText(ColumnToText(row.textHint));
  msg->SetTitle(ColumnToText(row.title));
  msg->SetOpenType(row.openType);
  msg->SetPushTime(row.pushTime);
  msg->SetVoiceIndex(row.voiceIndex);
  msg->SetHasRow(true);
  group->AddMsg(msg.release());
  group->SetMsgCountOnServer(row.msgCountOnServer);
  group->MarkAllRead();
  return group.release();
}
