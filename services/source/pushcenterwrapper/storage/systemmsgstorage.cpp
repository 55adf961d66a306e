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
#include "storage/tablerows.h"
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

// The columns in the order their fields are set and read (the table's), for a
// RowWriter or a RowReader.
template <class Io, class Row>
void Columns(Io& io, Row& row) {
  io.Bytes("title", row.title);
  io.Bytes("pictureUrl", row.pictureUrl);
  io.Bytes("jumpUrl", row.jumpUrl);
  io.Bytes("buttonText", row.buttonText);
  io.Int("pushTime", row.pushTime);
  io.Bytes("text", row.text);
  io.Int("msgId", row.msgId);
  io.Int("openType", row.openType);
  io.Int("appId", row.appId);
  io.Text("buffer", row.buffer);
  io.Number("subType", row.subType);
  io.Number("btnType", row.btnType);
}

// At most 599 characters and the terminator; the rest of the field stays zero.
void CopyBufferText(char (&field)[600], const char* text) {
  size_t length = strnlen(text, kBufferChars);
  std::memcpy(field, text, length);
  field[length] = '\0';
}

int32_t CorrectStyle(int32_t value) { return value < 1 || value > 3 ? 1 : value; }

// A loaded row with out-of-range types set to their defaults.
void Correct(SystemMsgRow& row) {
  if (row.openType < 1 || row.openType > 4) row.openType = 1;
  row.subType = CorrectStyle(row.subType);
  row.btnType = CorrectStyle(row.btnType);
}

struct RowKey {
  uint32_t msgId;
  uint32_t pushTime;
};

RowKey KeyOf(const SystemMsgRow& row) { return RowKey{row.msgId, row.pushTime}; }

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
  return InsertTableRows(
      databaseHandle_, tableHandle_, rows, [](RowWriter& io, const SystemMsgRow& row) { Columns(io, row); },
      [this](const SystemMsgRow& row) { mirror.Add(user_, KeyOf(row)); }, RefusedRow::kAbandon);
}

bool SystemMsgStorage::LoadRows(std::vector<SystemMsgRow>& rows) {
  const size_t first = rows.size();
  bool complete = false;
  if (!LoadTableRows(tableHandle_, rows, kRowsExpected,
                     [](RowReader& io, SystemMsgRow& row) { Columns(io, row); }, &complete)) {
    return false;
  }
  for (size_t i = first; i < rows.size(); ++i) Correct(rows[i]);
  mirror.Fill(user_, complete, rows, first, KeyOf);
  return true;
}

bool SystemMsgStorage::DeleteMsg(uint32_t msgId, uint32_t pushTime) {
  std::string condition = std::string("msgId") + " = " + ToDecimal(msgId) + " and " + "pushTime" +
                          " = " + ToDecimal(pushTime);
  if (!DeleteTableRows(tableHandle_, condition.c_str())) return false;
  mirror.Remove(user_, [=](const RowKey& key) { return key.msgId == msgId && key.pushTime == pushTime; });
  return true;
}

bool SystemMsgStorage::DeleteUpTo(uint32_t pushTime) {
  std::string condition = std::string("pushTime") + " <= " + ToDecimal(pushTime);
  if (!DeleteTableRows(tableHandle_, condition.c_str())) return false;
  mirror.Remove(user_, [=](const RowKey& key) { return key.pushTime <= pushTime; });
  return true;
}

bool SystemMsgStorage::DeleteAll() {
  if (!DeleteTableRows(tableHandle_, nullptr)) return false;
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
