#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "centers/mysharemsgcenter.h"
#include "storage/sharemsgstorage.h"
#include "support/each.h"
#include "support/ownshares.h"
#include "support/startedlibrary.h"

namespace {

using MyShareMsgCenterTest = unithost::StartedLibrary;

Values Times(const MyShareMsgGroupInfo& e) { return Each(e.msgs, e.msgCount, &MyShareMsgInfo::shareTime); }

size_t StoredRows() {
  std::vector<MyShareRow> rows;
  ShareMsgStorage::GetInstance()->LoadMyRows(rows);
  return rows.size();
}

TEST_F(MyShareMsgCenterTest, KeepsTheEightNewestInMemoryAndStored) {
  {
    MyShareMsgCenter center;
    EXPECT_TRUE(center.AddMyShareMsg(OwnShares(1, 1, {5, 1, 9, 2, 8, 3, 7, 4, 6}).Get()));
    EXPECT_EQ(StoredRows(), 8u);
    // Older than all eight: written, then merged out again.
    EXPECT_TRUE(center.AddMyShareMsg(OwnShares(1, 1, {0}).Get()));
    EXPECT_EQ(StoredRows(), 8u);
    EXPECT_FALSE(center.AddMyShareMsg(nullptr));
  }
  MyShareMsgCenter center;  // loads what the first one stored
  MyShareMsgGroupInfo* out = nullptr;
  ASSERT_EQ(center.GetMyShareMsg(0, 0, &out), 1u);
  EXPECT_EQ(out[0].kind, 4u);
  EXPECT_EQ(Times(out[0]), (Values{9, 8, 7, 6, 5, 4, 3, 2}));
  EXPECT_EQ(out[0].msgs[0].uin, 1009u);
  EXPECT_STREQ(out[0].msgs[0].text, "text 9");
  delete[] out;
  ASSERT_EQ(center.GetMyShareMsgForApp(1, 1, 2, &out, nullptr), 2u);
  EXPECT_EQ(Times(out[0]), (Values{9, 8}));
  delete[] out;
}

// Merging by description and deleting by application run as the pushhost
// scenario; here type 1, which merges whatever the description, and the
// description that picks a type-2 group.
TEST_F(MyShareMsgCenterTest, TypeOneIgnoresTheDescriptionWhichPicksTheTypeTwoGroup) {
  MyShareMsgCenter center;
  center.AddMyShareMsg(OwnShares(2, 2, {10}, "A").Get());
  center.AddMyShareMsg(OwnShares(2, 2, {20}, "A").Get());
  center.AddMyShareMsg(OwnShares(2, 2, {30}, "B").Get());
  center.AddMyShareMsg(OwnShares(2, 1, {40}, "B").Get());
  center.AddMyShareMsg(OwnShares(2, 1, {50}, "C").Get());
  EXPECT_EQ(center.GetMsgCount(), 3u);

  MyShareMsgGroupInfo* out = nullptr;
  ASSERT_EQ(center.GetMyShareMsgForApp(2, 2, 0, &out, "A"), 2u);
  EXPECT_STREQ(out[0].msgs[0].appDesc, "A");
  delete[] out;
  ASSERT_EQ(center.GetMyShareMsgForApp(2, 2, 0, &out, nullptr), 1u);  // the newest type-2 group
  EXPECT_STREQ(out[0].msgs[0].appDesc, "B");
  delete[] out;
}

TEST_F(MyShareMsgCenterTest, ReadsHostTextsOnlyWithinTheirFields) {
  MyShareMsgCenter center;
  OwnShares full(4, 1, {10});
  memset(full.msgs[0].title, 't', sizeof full.msgs[0].title);
  memset(full.msgs[0].appDesc, 'a', sizeof full.msgs[0].appDesc);
  ASSERT_TRUE(center.AddMyShareMsg(full.Get()));
  OwnShares none(5, 1, {});
  ASSERT_TRUE(center.AddMyShareMsg(none.Get()));

  MyShareMsgGroupInfo* out = nullptr;
  ASSERT_EQ(center.GetMyShareMsg(0, 0, &out), 2u);
  EXPECT_EQ(out[0].appId, 4u);
  EXPECT_EQ(std::string(out[0].msgs[0].title), std::string(239, 't'));
  EXPECT_EQ(std::string(out[0].msgs[0].appDesc), std::string(599, 'a'));
  EXPECT_EQ(out[1].msgCount, 0u);
  EXPECT_EQ(out[1].msgs, nullptr);
  delete[] out;
}

}  // namespace
