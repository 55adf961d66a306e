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
#include "storage/tablerows.h"
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

// The columns in the order their fields are set and read, for a RowWriter or
// a RowReader.
template <class Io, class Row>
void Columns(Io& io, Row& row) {
  io.Int("appId", row.appId);
  io.Int("msgId", row.msgId);
  io.Int("voiceIndex", row.voiceIndex);
  io.Int("openType", row.openType);
  io.Int("pushTime", row.pushTime);
  io.Int("msgCountOnServer", row.msgCountOnServer);
  io.Bytes("title", row.title);
  io.Bytes("buffer", row.buffer);
  io.Bytes("textHint", row.textHint);
  io.Bytes("buttonText", row.buttonText);
}

struct RowKey {
  uint32_t appId;
  uint32_t msgId;
  uint32_t pushTime;
};

RowKey KeyOf(const DynamicMsgRow& row) { return RowKey{row.appId, row.msgId, row.pushTime}; }

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
  return InsertTableRows(
      dbHandle_, tableHandle_, rows, [](RowWriter& io, const DynamicMsgRow& row) { Columns(io, row); },
      [this](const DynamicMsgRow& row) { mirror.Add(user_, KeyOf(row)); }, RefusedRow::kAbandon);
}

bool DynamicMsgStorage::LoadRows(std::vector<DynamicMsgRow>& out) {
  const size_t first = out.size();
  bool complete = false;
  if (!LoadTableRows(tableHandle_, out, kRowsExpected,
                     [](RowReader& io, DynamicMsgRow& row) { Columns(io, row); }, &complete)) {
    return false;
  }
  mirror.Fill(user_, complete, out, first, KeyOf);
  return true;
}

bool DynamicMsgStorage::DeleteByAppId(uint32_t appId) {
  const std::string where = std::string("appId") + " = " + ToDecimal(appId);
  if (!DeleteTableRows(tableHandle_, where.c_str())) return false;
  mirror.Remove(user_, [=](const RowKey& key) { return key.appId == appId; });
  return true;
}

bool DynamicMsgStorage::DeleteMsg(uint32_t msgId, uint32_t pushTime) {
  const std::string where = std::string("msgId") + " = " + ToDecimal(msgId) + " and " +
                            "pushTime" + " <= " + ToDecimal(pushTime);
  if (!DeleteTableRows(tableHandle_, where.c_str())) return false;
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
  if (!DeleteTableRows(tableHandle_, nullptr)) return false;
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
