// The user's own shares of one application as a host hands them to
// AddMyShareMsg: one message per share time, with texts that name the time
// ("text 9", "title 9") and uin 1000 + time.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "pushcenterwrapper.h"

struct OwnShares {
  OwnShares(uint32_t appId, int32_t shareType, const std::vector<uint32_t>& times,
            const char* appDesc = "") {
    msgs.resize(times.size());
    for (size_t i = 0; i < times.size(); ++i) {
      msgs[i].shareTime = times[i];
      msgs[i].uin = 1000 + times[i];
      std::strcpy(msgs[i].appDesc, appDesc);
      std::strcpy(msgs[i].text, ("text " + std::to_string(times[i])).c_str());
      std::strcpy(msgs[i].title, ("title " + std::to_string(times[i])).c_str());
    }
    info.kind = kMyShareKind;
    info.appId = appId;
    info.shareType = shareType;
    info.msgCount = static_cast<uint32_t>(msgs.size());
    info.msgs = msgs.data();
  }
  // The vector owns the messages, not the record, whose destructor would
  // release them.
  ~OwnShares() { info.msgs = nullptr; }
  OwnShares(const OwnShares&) = delete;
  OwnShares& operator=(const OwnShares&) = delete;

  const MyShareMsgGroupInfo* Get() const { return &info; }

  std::vector<MyShareMsgInfo> msgs;
  MyShareMsgGroupInfo info{};
};
