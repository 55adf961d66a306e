#include <memory>
#include <string>

#include "dynamic_testing.h"

using namespace dyntest;

namespace {

void Store(uint32_t appId, uint32_t serverCount, uint32_t msgId, uint32_t pushTime) {
  DynamicMsgStorage storage;
  ASSERT_TRUE(storage.Open());
  std::unique_ptr<DynamicMsgGroup> group(NewGroup(appId, serverCount, {NewMsg(msgId, pushTime)}));
  ASSERT_TRUE(StoreMessage(storage, *group->GetMsgs().front(), *group));
}

std::string Bytes(const Buffer& buffer) {
  return std::string(reinterpret_cast<const char*>(buffer.GetNativeBuf()), buffer.GetSize());
}

}  // namespace

class DynamicMsgStorageTest : public DynamicTest {};

TEST_F(DynamicMsgStorageTest, ReadsBackWhatWasStoredAsAReadMessage) {
  std::unique_ptr<DynamicMsgGroup> group(NewGroup(4294967295u, 6, {NewMsg(0x80000001u, 777)}));
  DynamicMsg& msg = *group->GetMsgs().front();
  msg.SetOpenType(-2);
  msg.SetVoiceIndex(3);
  msg.SetText("caf\xC3\xA9 text");
  msg.SetButtonText("Open");
  msg.SetBuffer("a%2Db");
  {
    DynamicMsgStorage storage;
    ASSERT_TRUE(storage.Open());
    ASSERT_TRUE(StoreMessage(storage, msg, *group));
  }
  const std::vector<DynamicMsgRow> rows = StoredRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].appId, 4294967295u);
  EXPECT_EQ(rows[0].msgId, 0x80000001u);
  // Texts are stored with their terminating zero; an empty title is one zero.
  EXPECT_EQ(Bytes(rows[0].title), std::string(1, '\0'));
  EXPECT_EQ(Bytes(rows[0].textHint), std::string("caf\xC3\xA9 text", 11));

  std::unique_ptr<DynamicMsgGroup> loaded(GroupFromRow(rows[0]));
  ASSERT_EQ(loaded->GetMsgs().size(), 1u);
  DynamicMsg& back = *loaded->GetMsgs().front();
  std::string text, title, button, buffer;
  back.GetText(text);
  back.GetTitle(title);
  back.GetButtonText(button);
  back.GetBuffer(buffer);
  EXPECT_EQ(text, "caf\xC3\xA9 text");
  EXPECT_EQ(title, "");
  EXPECT_EQ(button, "Open");
  EXPECT_EQ(buffer, "a%2Db");
  EXPECT_EQ(back.GetOpenType(), -2);
  EXPECT_EQ(back.GetVoiceIndex(), 3);
  EXPECT_EQ(back.GetPushTime(), 777u);
  EXPECT_TRUE(back.GetReadState());
  EXPECT_EQ(back.GetNewFlag(), 0);
  EXPECT_EQ(loaded->GetAppId(), 4294967295u);
  EXPECT_EQ(loaded->GetMsgCountOnServer(), 6u);
  EXPECT_EQ(loaded->GetUnreadCount(), 0u);
}

TEST_F(DynamicMsgStorageTest, DeletesAndUpdatesExactlyTheRowsNamed) {
  Store(4294967295u, 1, 5, 90);
  Store(4294967295u, 1, 5, 100);
  Store(4294967295u, 1, 5, 101);
  Store(8, 1, 6, 100);
  DynamicMsgStorage storage;
  ASSERT_TRUE(storage.Open());
  ASSERT_TRUE(storage.Open());  // a second open on the same object still works

  EXPECT_TRUE(storage.DeleteMsg(5, 100));
  std::vector<DynamicMsgRow> rows = StoredRows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].pushTime, 101u);
  EXPECT_EQ(rows[1].msgId, 6u);

  // The largest application id must reach the database as ten digits.
  EXPECT_TRUE(storage.UpdateMsgCountOnServer(4294967295u, 0));
  rows = StoredRows();
  EXPECT_EQ(rows[0].msgCountOnServer, 0u);
  EXPECT_EQ(rows[1].msgCountOnServer, 1u);

  EXPECT_TRUE(storage.DeleteByAppId(4294967295u));
  EXPECT_EQ(StoredMsgIds(), std::vector<uint32_t>{6});
  EXPECT_TRUE(storage.DeleteAll());
  EXPECT_TRUE(StoredRows().empty());
}
