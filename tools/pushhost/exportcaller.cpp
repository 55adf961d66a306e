#include "exportcaller.h"

#include <cstring>
#include <memory>
#include <utility>

#include "recordjson.h"

namespace {

using Handler = JsonPtr (*)(const PushExports&, CommandRecorder&, StepArgs&);

JsonPtr Result(JsonPtr value) {
  JsonPtr object = JsonObject();
  JsonSet(object.get(), "result", std::move(value));
  return object;
}

JsonPtr Result(uint32_t value) { return Result(JsonUint(value)); }
JsonPtr Result(bool value) { return Result(JsonBool(value)); }

void CopyText(const std::string& text, char* field, size_t size) {
  std::memset(field, 0, size);
  std::memcpy(field, text.data(), text.size() < size ? text.size() : size - 1);
}

PushCommandCallback CallbackArg(CommandRecorder& recorder, StepArgs& args) {
  if (!args.Has("callback")) throw InputError(args.Context() + ": missing argument \"callback\"");
  if (!args.Any("callback")) return nullptr;  // JSON null: no function at all
  std::string name = args.String("callback");
  PushCommandCallback callback = recorder.CallbackFor(name);
  if (!callback) {
    throw InputError(args.Context() + ": no more than " +
                     std::to_string(CommandRecorder::kMaxCallbacks) + " callback names");
  }
  return callback;
}

// One listing: the export fills out; what it handed out is rendered under key
// and given back to its free function, whatever the result said.
template <typename Record, typename Render, typename Free>
JsonPtr Listing(uint32_t result, Record* out, uint32_t elements, const char* key, Render render,
                Free freeList) {
  JsonPtr object = Result(result);
  JsonSet(object.get(), key, render(out, out ? elements : 0));
  if (out) freeList(out);
  return object;
}

struct ExportEntry {
  const char* name;
  const char* params;  // the argument names, separated by blanks
  Handler handler;
};

#define PUSHHOST_KIND_EXPORT(name)                                        \
  {#name, "kind", [](const PushExports& e, CommandRecorder&, StepArgs& a) { \
     return Result(e.name(a.Int("kind")));                                \
   }}
#define PUSHHOST_PLAIN_EXPORT(name) \
  {#name, "", [](const PushExports& e, CommandRecorder&, StepArgs&) { return Result(e.name()); }}
#define PUSHHOST_FREE_EXPORT(name)                                  \
  {#name, "", [](const PushExports& e, CommandRecorder&, StepArgs&) { \
     e.name(nullptr);                                               \
     return Result(JsonPtr());                                      \
   }}

const ExportEntry kExports[] = {
    PUSHHOST_PLAIN_EXPORT(PushWrapperInit),
    PUSHHOST_PLAIN_EXPORT(PushWrapperUnInit),
    PUSHHOST_KIND_EXPORT(PushUpdateReadStateByType),
    PUSHHOST_KIND_EXPORT(PushGetMsgCountByType),
    PUSHHOST_KIND_EXPORT(PushGetUnreadCountByType),
    PUSHHOST_KIND_EXPORT(PushClearMsg),
    PUSHHOST_PLAIN_EXPORT(PushGetAllUnreadMsgCount),
    PUSHHOST_PLAIN_EXPORT(PushGetAllUnreadDynamicMsgCount),
    PUSHHOST_PLAIN_EXPORT(PushGetAllUnreadShareMsgNum),
    PUSHHOST_PLAIN_EXPORT(PushGetNewSystemMsgNum),
    {"PushGetDynamicMsg", "maxGroups maxMsgs onlyUnread",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       uint32_t maxGroups = a.Uint("maxGroups");
       uint32_t maxMsgs = a.Uint("maxMsgs");
       bool onlyUnread = a.Bool("onlyUnread");
       DynamicMsgGroupInfo* out = nullptr;
       uint32_t n = e.PushGetDynamicMsg(maxGroups, maxMsgs, &out, onlyUnread);
       return Listing(n, out, n, "groups", DynamicGroupsJson, e.PushFreeDynamicMsgGroupList);
     }},
    {"PushGetDynamicMsgForApp", "appId maxMsgs onlyUnread",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       uint32_t appId = a.Uint("appId");
       uint32_t maxMsgs = a.Uint("maxMsgs");
       bool onlyUnread = a.Bool("onlyUnread");
       DynamicMsgGroupInfo* out = nullptr;
       uint32_t n = e.PushGetDynamicMsgForApp(appId, maxMsgs, &out, onlyUnread);
       return Listing(n, out, 1, "groups", DynamicGroupsJson, e.PushFreeDynamicMsgGroupList);
     }},
    {"PushGetUnreadDynamicMsgCountForApp", "appId",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       return Result(e.PushGetUnreadDynamicMsgCountForApp(a.Uint("appId")));
     }},
    {"PushResetUnreadDynamicMsgCount", "appId count originator",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       uint32_t appId = a.Uint("appId");
       uint32_t count = a.Uint("count");
       return Result(e.PushResetUnreadDynamicMsgCount(appId, count, a.Uint("originator", 0)));
     }},
    {"PushUpdateDynamicMsgReadState", "appId originator reportRead",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       uint32_t appId = a.Uint("appId");
       uint32_t originator = a.Uint("originator", 0);
       return Result(e.PushUpdateDynamicMsgReadState(appId, originator, a.Bool("reportRead")));
     }},
    {"PushDeleteDynamicMsg", "appId originator",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       uint32_t appId = a.Uint("appId");
       return Result(e.PushDeleteDynamicMsg(appId, a.Uint("originator", 0)));
     }},
    {"PushShieldDynamicMsgForApp", "appId unused",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       uint32_t appId = a.Uint("appId");
       return Result(e.PushShieldDynamicMsgForApp(appId, a.Uint("unused", 0)));
     }},
    PUSHHOST_FREE_EXPORT(PushFreeDynamicMsgGroupList),
    {"PushGetShareMsg", "groupLimit msgLimit unreadOnly",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       uint32_t groupLimit = a.Uint("groupLimit");
       uint32_t msgLimit = a.Uint("msgLimit");
       bool unreadOnly = a.Bool("unreadOnly");
       ShareMsgGroupInfo* out = nullptr;
       uint32_t n = e.PushGetShareMsg(groupLimit, msgLimit, &out, unreadOnly);
       return Listing(n, out, n, "groups", ShareGroupsJson, e.PushFreeShareMsgGroupList);
     }},
    {"PushGetShareMsgForApp", "appId shareType msgLimit unreadOnly",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       uint32_t appId = a.Uint("appId");
       int32_t shareType = a.Int("shareType");
       uint32_t msgLimit = a.Uint("msgLimit");
       bool unreadOnly = a.Bool("unreadOnly");
       ShareMsgGroupInfo* out = nullptr;
       uint32_t n = e.PushGetShareMsgForApp(appId, shareType, msgLimit, &out, unreadOnly);
       return Listing(n, out, 1, "groups", ShareGroupsJson, e.PushFreeShareMsgGroupList);
     }},
    {"PushUpdateShareMsgReadState", "appId shareType unused latestPushTime",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       uint32_t appId = a.Uint("appId");
       int32_t shareType = a.Int("shareType");
       uint32_t unused = a.Uint("unused", 0);
       return Result(
           e.PushUpdateShareMsgReadState(appId, shareType, unused, a.Uint("latestPushTime")));
     }},
    {"PushDeleteShareMsg", "appId latestPushTime",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       uint32_t appId = a.Uint("appId");
       return Result(e.PushDeleteShareMsg(appId, a.Uint("latestPushTime")));
     }},
    PUSHHOST_FREE_EXPORT(PushFreeShareMsgGroupList),
    PUSHHOST_PLAIN_EXPORT(GetAllMyShareMsgNum),
    {"GetMyShareMsg", "groupLimit msgLimit",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       uint32_t groupLimit = a.Uint("groupLimit");
       uint32_t msgLimit = a.Uint("msgLimit");
       MyShareMsgGroupInfo* out = nullptr;
       uint32_t n = e.GetMyShareMsg(groupLimit, msgLimit, &out);
       return Listing(n, out, n, "groups", MyShareGroupsJson, e.FreeMyLocalShareMsgGroupList);
     }},
    {"AddMyShareMsg", "kind appId shareType msgs",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       MyShareMsgGroupInfo group{};
       group.kind = a.Uint("kind", kMyShareKind);
       group.appId = a.Uint("appId");
       group.shareType = a.Int("shareType");
       json_object* msgs = a.Member("msgs", json_type_array);
       group.msgCount = static_cast<uint32_t>(json_object_array_length(msgs));
       // The group stays the host's: its destructor releases msgs here.
       group.msgs = group.msgCount ? new MyShareMsgInfo[group.msgCount]() : nullptr;
       for (uint32_t i = 0; i < group.msgCount; ++i) {
         json_object* item = json_object_array_get_idx(msgs, i);
         if (!json_object_is_type(item, json_type_object)) {
           throw InputError(a.Context() + ": msgs[" + std::to_string(i) + "] must be an object");
         }
         StepArgs m(item, a.Context() + " msgs[" + std::to_string(i) + "]");
         MyShareMsgInfo& info = group.msgs[i];
         info.shareTime = m.Uint("shareTime");
         info.uin = m.Uint("uin", 0);
         CopyText(m.String("text", ""), info.text, sizeof(info.text));
         CopyText(m.String("buffer", ""), info.buffer, sizeof(info.buffer));
         CopyText(m.String("picURL", ""), info.picURL, sizeof(info.picURL));
         CopyText(m.String("title", ""), info.title, sizeof(info.title));
         CopyText(m.String("appDesc", ""), info.appDesc, sizeof(info.appDesc));
         m.CheckAllUsed();
       }
       return Result(e.AddMyShareMsg(&group));
     }},
    {"GetMyShareMsgForApp", "appId shareType msgLimit",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       uint32_t appId = a.Uint("appId");
       int32_t shareType = a.Int("shareType");
       uint32_t msgLimit = a.Uint("msgLimit");
       MyShareMsgGroupInfo* out = nullptr;
       uint32_t n = e.GetMyShareMsgForApp(appId, shareType, msgLimit, &out);
       return Listing(n, out, 1, "groups", MyShareGroupsJson, e.FreeMyLocalShareMsgGroupList);
     }},
    {"getAppDesc", "",
     [](const PushExports& e, CommandRecorder&, StepArgs&) {
       const char* text = e.getAppDesc();
       return Result(text ? JsonString(FixedText(text, 600)) : JsonPtr());
     }},
    {"PushDeleteMyShareMsg", "appId extra",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       uint32_t appId = a.Uint("appId");
       return Result(e.PushDeleteMyShareMsg(appId, a.Uint("extra", 0)));
     }},
    PUSHHOST_FREE_EXPORT(FreeMyLocalShareMsgGroupList),
    {"PushGetSystemMsg", "wanted newOnly",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       uint32_t wanted = a.Uint("wanted");
       bool newOnly = a.Bool("newOnly");
       SystemMsgInfo* out = nullptr;
       uint32_t n = e.PushGetSystemMsg(wanted, &out, newOnly);
       return Listing(n, out, n, "msgs", SystemMsgsJson, e.PushFreeSystemMsgList);
     }},
    {"PushUpdateSystemMsgReadState", "msgId readState",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       uint32_t msgId = a.Uint("msgId");
       return Result(e.PushUpdateSystemMsgReadState(msgId, a.Uint("readState")));
     }},
    {"PushDeleteSystemMsg", "msgId pushTime",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       uint32_t msgId = a.Uint("msgId");
       return Result(e.PushDeleteSystemMsg(msgId, a.Uint("pushTime")));
     }},
    PUSHHOST_FREE_EXPORT(PushFreeSystemMsgList),
    {"AddPushCommandCallback", "callback userData ownerId kindMask eventMask",
     [](const PushExports& e, CommandRecorder& r, StepArgs& a) {
       PushCommandCallback callback = CallbackArg(r, a);
       uintptr_t userData = a.Uint("userData", 0);
       uint32_t ownerId = a.Uint("ownerId", 0);
       uint32_t kindMask = a.Uint("kindMask");
       uint32_t eventMask = a.Uint("eventMask");
       return Result(e.AddPushCommandCallback(callback, userData, ownerId, kindMask, eventMask));
     }},
    {"RemovePushCommandCallback", "callback",
     [](const PushExports& e, CommandRecorder& r, StepArgs& a) {
       return Result(e.RemovePushCommandCallback(CallbackArg(r, a)));
     }},
    {"PushIsShieldDynamicMsg", "appId",
     [](const PushExports& e, CommandRecorder&, StepArgs& a) {
       return Result(e.PushIsShieldDynamicMsg(a.Uint("appId")));
     }},
};

#undef PUSHHOST_KIND_EXPORT
#undef PUSHHOST_PLAIN_EXPORT
#undef PUSHHOST_FREE_EXPORT

static_assert(sizeof(kExports) / sizeof(kExports[0]) == 37, "every export can be called");

const ExportEntry* FindExport(const std::string& name) {
  for (const ExportEntry& entry : kExports) {
    if (name == entry.name) return &entry;
  }
  return nullptr;
}

}  // namespace

JsonPtr ExportCaller::Call(const std::string& exportName, StepArgs& args) {
  const ExportEntry* entry = FindExport(exportName);
  if (!entry) throw InputError("unknown export \"" + exportName + "\"");
  if (!library_.IsLoaded()) {
    throw InputError("export " + exportName + " called while the library is not loaded");
  }
  // A misspelt argument is refused before the export runs, so a refused step
  // has changed nothing.
  std::string params = entry->params;
  for (size_t start = 0; start < params.size();) {
    size_t end = params.find(' ', start);
    if (end == std::string::npos) end = params.size();
    args.Accept(params.substr(start, end - start).c_str());
    start = end + 1;
  }
  args.CheckAllUsed();
  return entry->handler(library_.Exports(), recorder_, args);
}

bool ExportCaller::IsExport(const std::string& name) { return FindExport(name) != nullptr; }

std::vector<std::string> ExportCaller::ExportNames() {
  std::vector<std::string> names;
  for (const ExportEntry& entry : kExports) names.push_back(entry.name);
  return names;
}

const PushExports& ExportCaller::Exports() const { return library_.Exports(); }
