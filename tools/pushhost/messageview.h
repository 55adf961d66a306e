// The message lists as a host shows them to a person: one table per kind with
// the kind, the application, the time, the title, the text and whether the
// message has been read. Everything comes from the listing exports; every
// array is given back to its free function.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>

#include "pushlibrary.h"

class MessageView {
 public:
  // appNames labels application ids ("7 Weather"); ids without a name show
  // as numbers.
  MessageView(const PushExports& exports, const std::map<uint32_t, std::string>& appNames)
      : exports_(exports), appNames_(appNames) {}

  // which: "dynamic", "share", "system", "myshare" or "all". False for any
  // other name.
  bool Print(std::ostream& out, const std::string& which) const;

 private:
  void PrintDynamic(std::ostream& out) const;
  void PrintShare(std::ostream& out) const;
  void PrintSystem(std::ostream& out) const;
  void PrintMyShare(std::ostream& out) const;
  std::string AppLabel(uint32_t appId) const;

  const PushExports& exports_;
  const std::map<uint32_t, std::string>& appNames_;
};
