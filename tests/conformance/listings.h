// What the conformance and stress tests push and read back through the
// exports: one record maker per kind, with texts that name the message, and
// each listing held in an owner that hands its array back to the library.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "support/libraryhost.h"

namespace listings {

using Ids = std::vector<uint32_t>;
using Groups = std::vector<Ids>;

// Signs `user` in, starts the library and accepts every kind; false when the
// library is not bound or does not start.
inline bool Started(libraryhost::LibraryHost& host, uint32_t user) {
  host.SignIn(user);
  host.WantEverything();
  return host.Loaded() && host.Start();
}

// Title "t<id>"; `num` (the server's unread count) is left out when empty.
inline PushRecord Dynamic(uint32_t appId, uint32_t msgId, uint32_t pushTime, const std::string& num = "1") {
  return libraryhost::MakeRecord(1, appId, msgId, pushTime, "{\"TITLE\":\"t" + std::to_string(msgId) + "\"" +
                                                                (num.empty() ? "" : ",\"NUM\":" + num) + "}");
}
// Text "m<id>", description "d<id>".
inline PushRecord Share(uint32_t appId, int shareType, uint32_t msgId, uint32_t pushTime) {
  const std::string id = std::to_string(msgId);
  return libraryhost::MakeRecord(2, appId, msgId, pushTime,
                                 "{\"DSTAPPID\":\"" + std::to_string(appId) + "\",\"SHARETYPE\":" +
                                     std::to_string(shareType) + ",\"MSG\":\"m" + id + "\",\"APPDESC\":\"d" + id + "\"}");
}
// Title "s<id>".
inline PushRecord System(uint32_t msgId, uint32_t pushTime) {
  return libraryhost::MakeRecord(3, 0, msgId, pushTime, "{\"TITLE\":\"s" + std::to_string(msgId) + "\"}");
}

// One listing's array, handed back to the library when the owner goes (a
// listing of nothing leaves it null, which the free functions accept).
template <class T>
class Listing {
 public:
  Listing(void(PCW_CALL* release)(T*), const std::function<uint32_t(T**)>& get) : release(release) {
    count = get(&items);
  }
  ~Listing() { release(items); }
  Listing(const Listing&) = delete;
  Listing& operator=(const Listing&) = delete;
  const T& operator[](uint32_t i) const { return items[i]; }
  const T* begin() const { return items; }
  const T* end() const { return items + count; }
  // Message ids (share times for own shares) group by group.
  Groups Ids() const {
    Groups ids(count);
    for (uint32_t g = 0; g < count; ++g) {
      for (uint32_t m = 0; m < items[g].msgCount; ++m) ids[g].push_back(MsgId(items[g].msgs[m]));
    }
    return ids;
  }
  T* items = nullptr;
  uint32_t count = 0;

 private:
  template <class M>
  static uint32_t MsgId(const M& msg) { return msg.msgId; }
  static uint32_t MsgId(const MyShareMsgInfo& msg) { return msg.shareTime; }
  void(PCW_CALL* release)(T*);
};

inline Listing<DynamicMsgGroupInfo> DynamicListing(libraryhost::LibraryHost& host, bool onlyUnread = false,
                                                   uint32_t appId = 0) {
  return {host.api.PushFreeDynamicMsgGroupList, [&](DynamicMsgGroupInfo** out) {
            // One application's listing is one group; it answers its number of messages.
            return appId ? uint32_t(host.api.PushGetDynamicMsgForApp(appId, 0, out, onlyUnread) != 0)
                         : host.api.PushGetDynamicMsg(0, 0, out, onlyUnread);
          }};
}
inline Listing<ShareMsgGroupInfo> ShareListing(libraryhost::LibraryHost& host, bool onlyUnread = false) {
  return {host.api.PushFreeShareMsgGroupList, [&](auto out) { return host.api.PushGetShareMsg(0, 0, out, onlyUnread); }};
}
inline Listing<MyShareMsgGroupInfo> OwnShareListing(libraryhost::LibraryHost& host) {
  return {host.api.FreeMyLocalShareMsgGroupList, [&](auto out) { return host.api.GetMyShareMsg(0, 0, out); }};
}
inline Listing<SystemMsgInfo> SystemListing(libraryhost::LibraryHost& host, bool newOnly = false) {
  return {host.api.PushFreeSystemMsgList, [&](auto out) { return host.api.PushGetSystemMsg(0, out, newOnly); }};
}
inline Ids SystemIds(libraryhost::LibraryHost& host, bool newOnly = false) {
  Ids ids;
  for (const SystemMsgInfo& msg : SystemListing(host, newOnly)) ids.push_back(msg.msgId);
  return ids;
}

}  // namespace listings
