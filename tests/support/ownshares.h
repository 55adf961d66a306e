// The user's own shares of one application as a host hands them to
// AddMyShareMsg: one message per share time, with texts that name the time
// ("text 9", "title 9") and uin 1000 + time.
#pragma once

#include "hostkit/ownsharegroup.h"

struct OwnShares : hostkit::OwnShareGroup {
  OwnShares(uint32_t appId, int32_t shareType, const std::vector<uint32_t>& times,
            const char* appDesc = "")
      : OwnShareGroup(appId, shareType, times.size()) {
    for (size_t i = 0; i < times.size(); ++i) {
      msgs[i].shareTime = times[i];
      msgs[i].uin = 1000 + times[i];
      SetText(msgs[i].appDesc, appDesc);
      SetText(msgs[i].text, "text " + std::to_string(times[i]));
      SetText(msgs[i].title, "title " + std::to_string(times[i]));
    }
  }
};
