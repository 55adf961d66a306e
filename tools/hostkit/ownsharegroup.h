// The user's own shares of one application and share type as a host hands
// them to AddMyShareMsg: the group and the records it points at, owned
// together. Header only, so that each user compiles it with its own view of
// the group: inside the library's build the group has a destructor that
// would release the records.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "pushcenterwrapper.h"

namespace hostkit {

struct OwnShareGroup {
  OwnShareGroup(uint32_t appId, int32_t shareType, size_t count) : msgs(count) {
    group.kind = kMyShareKind;
    group.appId = appId;
    group.shareType = shareType;
    group.msgCount = static_cast<uint32_t>(count);
    group.msgs = count != 0 ? msgs.data() : nullptr;
  }
  ~OwnShareGroup() { group.msgs = nullptr; }  // the vector owns the records
  OwnShareGroup(const OwnShareGroup&) = delete;
  OwnShareGroup& operator=(const OwnShareGroup&) = delete;

  const MyShareMsgGroupInfo* Get() const { return &group; }

  // Text into a record's field: cut by bytes, zero-terminated, zero after.
  template <size_t N>
  static void SetText(char (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), text.size() < N ? text.size() : N - 1);
  }

  std::vector<MyShareMsgInfo> msgs;  // zeroed until filled
  MyShareMsgGroupInfo group{};
};

}  // namespace hostkit
