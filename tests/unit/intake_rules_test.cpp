// Rules of the push intake that the other intake tests leave out: how the store
// of parked records counts a record while it is being delivered again.
#include <gtest/gtest.h>

#include <string>

#include "halyx/appinstall.h"
#include "halyx/hyappinfo.h"
#include "halyx/setting.h"
#include "jsonparser.h"
#include "pendingpushrecords.h"
#include "support/libraryhost.h"
#include "unit/recordingcenter.h"

using libraryhost::MakeRecord;

namespace {

PushRecord Dynamic(uint32_t appId, uint32_t msgId) {
  return MakeRecord(1, appId, msgId, 100 + msgId, "{\"TEXT\":\"t\",\"NUM\":1}");
}

}  // namespace

TEST(PendingPushRecords, RecordUnderReplayStillCountsTowardsAFullStore) {
  RecordingCenters centers;
  stSetRoamNumber(11, 1);
  HXSetAppInstalled(30, false);
  HXSetAppInstalled(31, false);
  PendingPushRecords& store = *PushWrapper::Instance()->GetPendingRecords();
  PushRecord first = Dynamic(30, 1);
  ASSERT_EQ(1u, store.ParkRecord(&first));
  for (uint32_t i = 2; i <= 30; ++i) {
    PushRecord record = Dynamic(31, i);
    ASSERT_EQ(i, store.ParkRecord(&record));
  }
  ASSERT_FALSE(store.IsFull());

  // Announced, but the application still reads as not installed: while its
  // record is delivered again it is one of the 30, so parking it once more
  // makes 31 and fills the store for good.
  HYNotifyAppInstallChanged(30, 0, true);
  EXPECT_EQ(30u, store.ParkedCount());
  EXPECT_TRUE(store.IsFull());
  HXSetAppInstalled(32, false);
  PushRecord late = Dynamic(32, 40);
  EXPECT_EQ(0u, store.ParkRecord(&late));
  EXPECT_EQ(30u, store.ParkedCount());
}
