// The message lists as a host shows them to a person: one table per kind with
// the kind, the application, the time, the title, the text and whether the
// message has been read; or, for scripts, the same as one JSON document.
// Everything comes from the listing exports; every array is given back to its
// free function.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "pushlibrary.h"

class MessageView {
 public:
  // appNames labels application ids ("7 Weather"); ids without a name show
  // as numbers.
  MessageView(const PushExports& exports, const std::map<uint32_t, std::string>& appNames)
      : exports_(exports), appNames_(appNames) {}

  // which: "dynamic", "share", "system", "myshare" or "all". False for any
  // other name. With json, one line holds one JSON object with a member per
  // kind shown ("dynamic", "share", "system", "myshare"), each an array of
  // {"appId", "application", "msgId", "time", "title", "text", "fromUser",
  // "read"}: "application" is the name or null, "time" seconds since 1970
  // (UTC), "msgId" and "read" absent for own shares, "fromUser" present for
  // received shares.
  bool Print(std::ostream& out, const std::string& which, bool json = false) const;

 private:
  struct Shown {
    uint32_t appId;
    uint32_t msgId;
    uint32_t time;
    std::string title;
    std::string text;
    uint32_t fromUser;
    int read;  // 0 or 1; -1 where messages have no read state
  };
  std::vector<Shown> Dynamic() const;
  std::vector<Shown> Share() const;
  std::vector<Shown> System() const;
  std::vector<Shown> MyShare() const;
  std::string AppLabel(uint32_t appId) const;

  const PushExports& exports_;
  const std::map<uint32_t, std::string>& appNames_;
};
