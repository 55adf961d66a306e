#include "messageview.h"

#include <set>
#include <tuple>
#include <utility>

#include "recordjson.h"
#include "texttable.h"

namespace {

// A message as the read-state probes identify it.
using MessageKey = std::tuple<uint32_t, uint32_t, uint32_t>;  // appId, msgId, pushTime

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

bool MessageView::Print(std::ostream& out, const std::string& which) const {
  bool all = which == "all";
  if (!all && which != "dynamic" && which != "share" && which != "system" && which != "myshare") {
    return false;
  }
  if (all || which == "dynamic") PrintDynamic(out);
  if (all || which == "share") PrintShare(out);
  if (all || which == "system") PrintSystem(out);
  if (all || which == "myshare") PrintMyShare(out);
  return true;
}

void MessageView::PrintDynamic(std::ostream& out) const {
  TextTable table = MessageTable();
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
      table.AddRow({"dynamic", AppLabel(group.appId), FormatTime(msg.pushTime),
                    FixedText(msg.title, sizeof(msg.title)), FixedText(msg.text, sizeof(msg.text)),
                    isUnread ? "no" : "yes"});
    }
  }
  if (groups) exports_.PushFreeDynamicMsgGroupList(groups);
  PrintTable(out, "dynamic messages", table);
}

void MessageView::PrintShare(std::ostream& out) const {
  TextTable table = MessageTable();
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
      std::string text = FixedText(msg.text, sizeof(msg.text));
      if (msg.uin != 0) text = "from " + std::to_string(msg.uin) + ": " + text;
      table.AddRow({"share", AppLabel(group.appId), FormatTime(msg.pushTime),
                    FixedText(msg.title, sizeof(msg.title)), text, isUnread ? "no" : "yes"});
    }
  }
  if (groups) exports_.PushFreeShareMsgGroupList(groups);
  PrintTable(out, "share messages", table);
}

void MessageView::PrintSystem(std::ostream& out) const {
  TextTable table = MessageTable();
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
    table.AddRow({"system", AppLabel(msg.appId), FormatTime(msg.pushTime),
                  FixedText(msg.title, sizeof(msg.title)), FixedText(msg.text, sizeof(msg.text)),
                  isUnread ? "no" : "yes"});
  }
  if (msgs) exports_.PushFreeSystemMsgList(msgs);
  PrintTable(out, "system messages", table);
}

void MessageView::PrintMyShare(std::ostream& out) const {
  TextTable table = MessageTable();
  MyShareMsgGroupInfo* groups = nullptr;
  uint32_t count = exports_.GetMyShareMsg(0, 0, &groups);
  for (uint32_t g = 0; groups && g < count; ++g) {
    const MyShareMsgGroupInfo& group = groups[g];
    for (uint32_t m = 0; group.msgs && m < group.msgCount; ++m) {
      const MyShareMsgInfo& msg = group.msgs[m];
      table.AddRow({"my share", AppLabel(group.appId), FormatTime(msg.shareTime),
                    FixedText(msg.title, sizeof(msg.title)), FixedText(msg.text, sizeof(msg.text)),
                    "-"});
    }
  }
  if (groups) exports_.FreeMyLocalShareMsgGroupList(groups);
  PrintTable(out, "my share messages", table);
}
