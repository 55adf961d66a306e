#include "storage/systemmsgstorage.h"

#include <cstring>
#include <memory>
#include <string>

#include "messages/systemmsg.h"
#include "modules/halyx_localdatabase_wrapper.h"
#include "modules/halyx_status_wrapper.h"
#include "storage/columntext.h"
#include "storage/datafolder.h"
#include "storage/rowmirror.h"
#include "storage/usertable.h"

namespace {

const char kDatabaseFile[] = "sysmsg.db";
const char kTable[] = "systemmsgtable";
// The center keeps fifty messages; the table rarely holds many more.
const size_t kRowsExpected = 64;

// The columns the table was first created with; the later ones come from
// kMigrations, which every open runs again (they fail harmlessly once applied).
const ColumnDef kColumns[] = {
    {"title", kColumnBuffer, 0},      {"pictureUrl", kColumnBuffer, 0},
    {"jumpUrl", kColumnBuffer, 0},    {"buttonText", kColumnBuffer, 0},
    {"pushTime", kColumnInteger, 0},  {"text", kColumnBuffer, 0},
    {"msgId", kColumnInteger, 0},     {"openType", kColumnInteger, 0},
};

const char* const kMigrations[] = {
    "ALTER TABLE systemmsgtable ADD COLUMN appId INTEGER(8) DEFAULT 0",
    "ALTER TABLE systemmsgtable ADD COLUMN buffer TEXT(600) DEFAULT \"\"",
    "ALTER TABLE systemmsgtable ADD COLUMN subType INTEGER DEFAULT 1",
    "ALTER TABLE systemmsgtable ADD COLUMN btnType INTEGER DEFAULT 1",
};

const uint32_t kBufferChars = sizeof(SystemMsgRow::buffer) - 1;

// Byte arrays the service hands out are ours to release with delete[] until a
// Buffer takes them over.
struct ArrayDelete {
  void operator()(uint8_t* bytes) const { delete[] bytes; }
  void operator()(char* text) const { delete[] text; }
};
typedef std::unique_ptr<uint8_t, ArrayDelete> OwnedBytes;
typedef std::unique_ptr<char, ArrayDelete> OwnedText;

struct FetchedBytes {
  OwnedBytes bytes;
  uint32_t size = 0;
};

bool FetchBytes(uint32_t table, const char* column, FetchedBytes& out) {
  auto get = LocalDb(&LocalDatabaseTable::GetBufferField);
  uint8_t* bytes = nullptr;
  uint32_t size = 0;
  if (get == nullptr || !get(table, column, &bytes, &size)) {
    delete[] bytes;
    return false;
  }
  out.bytes.reset(bytes);
  out.size = size;
  return true;
}

void AttachTo(Buffer& target, FetchedBytes& fetched) {
  if (fetched.bytes) {
    uint32_t size = fetched.size;
    target.Attach(fetched.bytes.release(), size);
  }
}

bool FetchInt(uint32_t table, const char* column, uint32_t& out) {
  auto get = LocalDb(&LocalDatabaseTable::GetIntField);
  return get != nullptr && get(table, column, &out);
}

bool FetchNumber(uint32_t table, const char* column, uint32_t& out) {
  auto get = LocalDb(&LocalDatabaseTable::GetNumberField);
  return get != nullptr && get(table, column, &out);
}

bool PutBytes(uint32_t table, const char* column, const Buffer& value) {
  auto set = LocalDb(&LocalDatabaseTable::SetBufferField);
  return set != nullptr && set(table, column, value);
}

bool PutInt(uint32_t table, const char* column, uint32_t value) {
  auto set = LocalDb(&LocalDatabaseTable::SetIntField);
  return set != nullptr && set(table, column, value);
}

bool PutNumber(uint32_t table, const char* column, uint32_t value) {
  auto set = LocalDb(&LocalDatabaseTable::SetNumberField);
  return set != nullptr && set(table, column, value);
}

bool PutText(uint32_t table, const char* column, const char* value) {
  auto set = LocalDb(&LocalDatabaseTable::SetTextField);
  return set != nullptr && set(table, column, value);
}

// Every field in column order; stops at the first refusal.
bool PutRow(uint32_t table, const SystemMsgRow& row) {
  return PutBytes(table, "title", row.title) && PutBytes(table, "pictureUrl", row.pictureUrl) &&
         PutBytes(table, "jumpUrl", row.jumpUrl) && PutBytes(table, "buttonText", row.buttonText) &&
         PutInt(table, "pushTime", row.pushTime) && PutBytes(table, "text", row.text) &&
         PutInt(table, "msgId", row.msgId) &&
         PutInt(table, "openType", static_cast<uint32_t>(row.openType)) &&
         PutInt(table, "appId", row.appId) && PutText(table, "buffer", row.buffer) &&
         PutNumber(table, "subType", static_cast<uint32_t>(row.subType)) &&
         PutNumber(table, "btnType", static_cast<uint32_t>(row.btnType));
}

// At most 599 characters and the terminator; the rest of the field stays zero.
void CopyBufferText(char (&field)[600], const char* text) {
  size_t length = strnlen(text, kBufferChars);
  std::memcpy(field, text, length);
  field[length] = '\0';
}

int32_t CorrectStyle(uint32_t stored) {
  int32_t value = static_cast<int32_t>(stored);
  return value < 1 || value > 3 ? 1 : value;
}

// Reads the current row whole or not at all: on a failed read every array
// fetched so far is released and row is left as it was.
bool FetchRow(uint32_t table, SystemMsgRow& row) {
  FetchedBytes title, pictureUrl, jumpUrl, buttonText, text;
  uint32_t pushTime = 0, msgId = 0, openType = 0, appId = 0, subType = 1, btnType = 1;
  char* rawText = nullptr;
  bool ok = FetchBytes(table, "title", title) && FetchBytes(table, "pictureUrl", pictureUrl) &&
            FetchBytes(table, "jumpUrl", jumpUrl) && FetchBytes(table, "buttonText", buttonText) &&
            FetchInt(table, "pushTime", pushTime) && FetchBytes(table, "text", text) &&
            FetchInt(table, "msgId", msgId) && FetchInt(table, "openType", openType);
  if (ok) {
    auto getText = LocalDb(&LocalDatabaseTable::GetTextField);
    ok = FetchInt(table, "appId", appId) && getText != nullptr &&
         getText(table, "buffer", &rawText);
  }
  OwnedText bufferText(rawText);
  ok = ok && FetchNumber(table, "subType", subType) && FetchNumber(table, "btnType", btnType);
  if (!ok) return false;

  AttachTo(row.title, title);
  AttachTo(row.pictureUrl, pictureUrl);
  AttachTo(row.jumpUrl, jumpUrl);
  AttachTo(row.buttonText, buttonText);
  AttachTo(row.text, text);
  row.pushTime = pushTime;
  row.msgId = msgId;
  row.appId = appId;
  row.openType = openType < 1 || openType > 4 ? 1 : static_cast<int32_t>(openType);
  row.subType = CorrectStyle(subType);
  row.btnType = CorrectStyle(btnType);
  if (bufferText) CopyBufferText(row.buffer, bufferText.get());
  return true;
}

struct RowKey {
  uint32_t msgId;
  uint32_t pushTime;
};

// The table's rows as the deletions see them, for the whole library.
RowMirror<RowKey> mirror;

}  // namespace

bool SystemMsgStorage::MayHoldUpTo(uint32_t pushTime) {
  return mirror.MayHold(CurrentUserNumber(), [=](const RowKey& key) { return key.pushTime <= pushTime; });
}

SystemMsgStorage::SystemMsgStorage() : databaseHandle_(0), tableHandle_(0), user_(0) {}

SystemMsgStorage::~SystemMsgStorage() { CloseUserTable(&databaseHandle_, &tableHandle_); }

bool SystemMsgStorage::Open() {
  user_ = CurrentUserNumber();
  if (!OpenUserTable(kDatabaseFile, kTable, kColumns, sizeof(kColumns) / sizeof(kColumns[0]),
                     &databaseHandle_, &tableHandle_)) {
    return false;
  }
  uint32_t err = 0;
  if (auto executeSql = LocalDb(&LocalDatabaseTable::ExecuteSql)) {
    for (const char* statement : kMigrations) executeSql(databaseHandle_, statement, &err);
  }
  return true;
}

bool SystemMsgStorage::InsertRows(const std::vector<SystemMsgRow>& rows) {
  uint32_t err = 0;
  auto begin = LocalDb(&LocalDatabaseTable::BeginTransaction);
  if (begin == nullptr || !begin(databaseHandle_, &err)) return false;
  bool result = true;
  for (const SystemMsgRow& row : rows) {
    mirror.Add(user_, RowKey{row.msgId, row.pushTime});
    auto addRow = LocalDb(&LocalDatabaseTable::AddRow);
    // Left uncommitted: closing the handles in the destructor abandons it.
    if (addRow == nullptr || !addRow(tableHandle_)) return false;
    if (!PutRow(tableHandle_, row)) result = false;
    auto postRow = LocalDb(&LocalDatabaseTable::PostRow);
    if (postRow == nullptr || !postRow(tableHandle_, 0)) result = false;
  }
  if (auto commit = LocalDb(&LocalDatabaseTable::CommitTransaction)) commit(databaseHandle_, &err);
  return result;
}

bool SystemMsgStorage::LoadRows(std::vector<SystemMsgRow>& rows) {
  auto select = LocalDb(&LocalDatabaseTable::SelectRows);
  if (select == nullptr || !select(tableHandle_, nullptr)) return false;
  // A row holds buffers that a growing vector would copy one by one.
  rows.reserve(rows.size() + kRowsExpected);
  uint32_t err = 0;
  const size_t first = rows.size();
  bool complete = true;
  for (;;) {
    auto nextRow = LocalDb(&LocalDatabaseTable::NextRow);
    if (nextRow == nullptr) complete = false;
    if (nextRow == nullptr || !nextRow(tableHandle_, &err)) break;
    rows.emplace_back();
    if (!FetchRow(tableHandle_, rows.back())) {
      rows.pop_back();
      complete = false;
    }
  }
  mirror.Reset(user_, complete);
  for (size_t i = first; i < rows.size(); ++i) mirror.Add(user_, RowKey{rows[i].msgId, rows[i].pushTime});
  return true;
}

bool SystemMsgStorage::DeleteWhere(const char* condition) {
  if (databaseHandle_ == 0 || tableHandle_ == 0) return false;
  auto deleteRows = LocalDb(&LocalDatabaseTable::DeleteRows);
  return deleteRows != nullptr && deleteRows(tableHandle_, condition, 0);
}

bool SystemMsgStorage::DeleteMsg(uint32_t msgId, uint32_t pushTime) {
  std::string condition = std::string("msgId") + " = " + ToDecimal(msgId) + " and " + "pushTime" +
                          " = " + ToDecimal(pushTime);
  if (!DeleteWhere(condition.c_str())) return false;
  mirror.Remove(user_, [=](const RowKey& key) { return key.msgId == msgId && key.pushTime == pushTime; });
  return true;
}

bool SystemMsgStorage::DeleteUpTo(uint32_t pushTime) {
  std::string condition = std::string("pushTime") + " <= " + ToDecimal(pushTime);
  if (!DeleteWhere(condition.c_str())) return false;
  mirror.Remove(user_, [=](const RowKey& key) { return key.pushTime <= pushTime; });
  return true;
}

bool SystemMsgStorage::DeleteAll() {
  if (!DeleteWhere(nullptr)) return false;
  mirror.Reset(user_, true);
  return true;
}

bool SaveSystemMsg(SystemMsgStorage& storage, SystemMsg& msg) {
  std::vector<SystemMsgRow> rows(1);
  SystemMsgRow& row = rows.front();
  SetColumnText(row.title, msg.TitleRef());
  SetColumnText(row.pictureUrl, msg.PictureUrlRef());
  SetColumnText(row.jumpUrl, msg.JumpUrlRef());
  SetColumnText(row.buttonText, msg.ButtonTextRef());
  row.msgId = msg.GetMsgId();
  row.openType = msg.GetOpenType();
  row.pushTime = msg.GetPushTime();
  SetColumnText(row.text, msg.TextRef());
  row.appId = msg.GetAppId();
  CopyBufferText(row.buffer, msg.BufferRef().c_str());
  row.subType = msg.GetSubType();
  row.btnType = msg.GetBtnType();
  return storage.InsertRows(rows);
}

SystemMsg* SystemMsgFromRow(const SystemMsgRow& row) {
  std::unique_ptr<SystemMsg> msg(new SystemMsg());  // a text that cannot be copied drops it
  if (!row.title.IsEmpty()) msg->SetTitle(ColumnToText(row.title));
  if (!row.pictureUrl.IsEmpty()) msg->SetPictureUrl(ColumnToText(row.pictureUrl));
  if (!row.jumpUrl.IsEmpty()) msg->SetJumpUrl(ColumnToText(row.jumpUrl));
  if (!row.buttonText.IsEmpty()) msg->SetButtonText(ColumnToText(row.buttonText));
  if (!row.text.IsEmpty()) msg->SetText(ColumnToText(row.text));
  msg->SetMsgId(row.msgId);
  msg->SetOpenType(row.openType);
  msg->SetPushTime(row.pushTime);
  msg->SetAppId(row.appId);
  msg->SetBuffer(std::string(row.buffer, strnlen(row.buffer, sizeof(row.buffer))));
  msg->SetSubType(row.subType);
  msg->SetBtnType(row.btnType);
  msg->SetReadState(true);
  msg->SetHasRow(true);
  return msg.release();
}
