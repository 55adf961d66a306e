#include "messageview.h"

#include <set>
#include <tuple>
#include <utility>

#include "json.h"
#include "recordjson.h"
#include "texttable.h"

namespace {

// A message as the read-state probes identify it.
using MessageKey = std::tuple<uint32_t, uint32_t, uint32_t>;  // appId, msgId, pushTime

const char* const kKinds[] = {"dynamic", "share", "system", "myshare"};
const char* const kHeadings[] = {"dynamic messages", "share messages", "system messages",
                                 "my share messages"};
const char* const kLabels[] = {"dynamic", "share", "system", "my share"};

TextTable MessageTable() {
  TextTable table;
  table.AddColumn("kind", false);
  table.AddColumn("application");
  table.AddColumn("time (UTC)", false);
  table.AddColumn("title");
  table.AddColumn("text");
  table.AddColumn("read", false);
  return table;
}

void PrintTable(std::ostream& out, const char* heading, const TextTable& table) {
  out << "  " << heading << ":\n";
  if (table.Empty()) {
    out << "    (none)\n";
  } else {
    table.Print(out, 4);
  }
}

}  // namespace

std::string MessageView::AppLabel(uint32_t appId) const {
  if (appId == 0) return "-";
  auto found = appNames_.find(appId);
  if (found == appNames_.end()) return std::to_string(appId);
  return std::to_string(appId) + " " + found->second;
}

bool MessageView::Print(std::ostream& out, const std::string& which, bool json) const {
  bool all = which == "all";
  int only = -1;
  for (int k = 0; k < 4; ++k) {
    if (which == kKinds[k]) only = k;
  }
  if (!all && only < 0) return false;
  JsonPtr document = JsonObject();
  for (int k = 0; k < 4; ++k) {
    if (!all && k != only) continue;
    std::vector<Shown> shown = k == 0 ? Dynamic() : k == 1 ? Share() : k == 2 ? System() : MyShare();
    if (json) {
      JsonPtr list = JsonArray();
      for (const Shown& msg : shown) {
        JsonPtr item = JsonObject();
        JsonSet(item.get(), "appId", JsonUint(msg.appId));
        auto name = appNames_.find(msg.appId);
        JsonSet(item.get(), "application",
                name == appNames_.end() ? JsonPtr() : JsonString(name->second));
        if (k != 3) JsonSet(item.get(), "msgId", JsonUint(msg.msgId));
        JsonSet(item.get(), "time", JsonUint(msg.time));
        JsonSet(item.get(), "title", JsonString(msg.title));
        JsonSet(item.get(), "text", JsonString(msg.text));
        if (k == 1) JsonSet(item.get(), "fromUser", JsonUint(msg.fromUser));
        if (msg.read >= 0) JsonSet(item.get(), "read", JsonBool(msg.read == 1));
        JsonAppend(list.get(), std::move(item));
      }
      JsonSet(document.get(), kKinds[k], std::move(list));
      continue;
    }
    TextTable table = MessageTable();
    for (const Shown& msg : shown) {
      std::string text = msg.fromUser ? "from " + std::to_string(msg.fromUser) + ": " + msg.text
                                      : msg.text;
      table.AddRow({kLabels[k], AppLabel(msg.appId), FormatTime(msg.time), msg.title, text,
                    msg.read < 0 ? "-" : msg.read ? "yes" : "no"});
    }
    PrintTable(out, kHeadings[k], table);
  }
  if (json) out << JsonText(document.get()) << "\n";
  return true;
}

std::vector<MessageView::Shown> MessageView::Dynamic() const {
  std::vector<Shown> shown;
  DynamicMsgGroupInfo* groups = nullptr;
  uint32_t count = exports_.PushGetDynamicMsg(0, 0, &groups, false);
  for (uint32_t g = 0; groups && g < count; ++g) {
    const DynamicMsgGroupInfo& group = groups[g];
    // The application's unread messages are the newest ones up to the first
    // read message; the per-application listing stops there.
    std::set<MessageKey> unread;
    DynamicMsgGroupInfo* fresh = nullptr;
    exports_.PushGetDynamicMsgForApp(group.appId, 0, &fresh, true);
    if (fresh) {
      for (uint32_t m = 0; fresh->msgs && m < fresh->msgCount; ++m) {
        unread.insert(MessageKey(group.appId, fresh->msgs[m].msgId, fresh->msgs[m].pushTime));
      }
      exports_.PushFreeDynamicMsgGroupList(fresh);
    }
    for (uint32_t m = group.msgCount; group.msgs && m > 0; --m) {
      const DynamicMsgInfo& msg = group.msgs[m - 1];
      bool isUnread = unread.count(MessageKey(group.appId, msg.msgId, msg.pushTime)) != 0;
      shown.push_back({group.appId, msg.msgId, msg.pushTime, FixedText(msg.title, sizeof(msg.title)),
                       FixedText(msg.text, sizeof(msg.text)), 0, isUnread ? 0 : 1});
    }
  }
  if (groups) exports_.PushFreeDynamicMsgGroupList(groups);
  return shown;
}

std::vector<MessageView::Shown> MessageView::Share() const {
  std::vector<Shown> shown;
  std::set<MessageKey> unread;
  ShareMsgGroupInfo* fresh = nullptr;
  uint32_t freshCount = exports_.PushGetShareMsg(0, 0, &fresh, true);
  for (uint32_t g = 0; fresh && g < freshCount; ++g) {
    for (uint32_t m = 0; fresh[g].msgs && m < fresh[g].msgCount; ++m) {
      unread.insert(MessageKey(fresh[g].appId, fresh[g].msgs[m].msgId, fresh[g].msgs[m].pushTime));
    }
  }
  if (fresh) exports_.PushFreeShareMsgGroupList(fresh);

  ShareMsgGroupInfo* groups = nullptr;
  uint32_t count = exports_.PushGetShareMsg(0, 0, &groups, false);
  for (uint32_t g = 0; groups && g < count; ++g) {
    const ShareMsgGroupInfo& group = groups[g];
    for (uint32_t m = group.msgCount; group.msgs && m > 0; --m) {
      const ShareMsgInfo& msg = group.msgs[m - 1];
      bool isUnread = unread.count(MessageKey(group.appId, msg.msgId, msg.pushTime)) != 0;
      shown.push_back({group.appId, msg.msgId, msg.pushTime, FixedText(msg.title, sizeof(msg.title)),
                       FixedText(msg.text, sizeof(msg.text)), msg.uin, isUnread ? 0 : 1});
    }
  }
  if (groups) exports_.PushFreeShareMsgGroupList(groups);
  return shown;
}

std::vector<MessageView::Shown> MessageView::System() const {
  std::vector<Shown> shown;
  // The host counts the newest messages, as many as are new, as unread.
  std::set<MessageKey> unread;
  SystemMsgInfo* fresh = nullptr;
  uint32_t freshCount = exports_.PushGetSystemMsg(0, &fresh, true);
  for (uint32_t i = 0; fresh && i < freshCount; ++i) {
    unread.insert(MessageKey(0, fresh[i].msgId, fresh[i].pushTime));
  }
  if (fresh) exports_.PushFreeSystemMsgList(fresh);

  SystemMsgInfo* msgs = nullptr;
  uint32_t count = exports_.PushGetSystemMsg(0, &msgs, false);
  for (uint32_t i = 0; msgs && i < count; ++i) {
    const SystemMsgInfo& msg = msgs[i];
    bool isUnread = unread.count(MessageKey(0, msg.msgId, msg.pushTime)) != 0;
    shown.push_back({msg.appId, msg.msgId, msg.pushTime, FixedText(msg.title, sizeof(msg.title)),
                     FixedText(msg.text, sizeof(msg.text)), 0, isUnread ? 0 : 1});
  }
  if (msgs) exports_.PushFreeSystemMsgList(msgs);
  return shown;
}

std::vector<MessageView::Shown> MessageView::MyShare() const {
  std::vector<Shown> shown;
  MyShareMsgGroupInfo* groups = nullptr;
  uint32_t count = exports_.GetMyShareMsg(0, 0, &groups);
  for (uint32_t g = 0; groups && g < count; ++g) {
    const MyShareMsgGroupInfo& group = groups[g];
    for (uint32_t m = 0; group.msgs && m < group.msgCount; ++m) {
      const MyShareMsgInfo& msg = group.msgs[m];
      shown.push_back({group.appId, 0, msg.shareTime, FixedText(msg.title, sizeof(msg.title)),
                       FixedText(msg.text, sizeof(msg.text)), 0, -1});
    }
  }
  if (groups) exports_.FreeMyLocalShareMsgGroupList(groups);
  return shown;
}
