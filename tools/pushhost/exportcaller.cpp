#include "exportcaller.h"

#include <tuple>
#include <type_traits>
#include <utility>

#include "hostkit/ownsharegroup.h"
#include "recordjson.h"
#include "suggest.h"

namespace {

JsonPtr Result(JsonPtr value) {
  JsonPtr object = JsonObject();
  JsonSet(object.get(), "result", std::move(value));
  return object;
}

JsonPtr Result(uint32_t value) { return Result(JsonUint(value)); }
JsonPtr Result(bool value) { return Result(JsonBool(value)); }

// The arguments of one call: each parameter of the export is read by its type
// from the next name of the export's list, in parameter order. A name ending
// in '?' may be left out and is then 0. A listing's out parameter takes no
// name: it is the slot that the listing handler provides.
class Arguments {
 public:
  Arguments(StepArgs& args, CommandRecorder& recorder, const char* params)
      : args(args), recorder_(recorder) {
    for (const char* at = params; *at != '\0';) {
      const char* end = std::strchr(at, ' ');
      if (end == nullptr) end = at + std::strlen(at);
      std::string name(at, end);
      const bool optional = !name.empty() && name.back() == '?';
      if (optional) name.pop_back();
      names_.push_back({name, optional});
      at = *end == ' ' ? end + 1 : end;
    }
  }

  // Refuses a misspelt argument before the export runs, so that a refused
  // step has changed nothing.
  void CheckNames() {
    for (const Name& name : names_) args.Accept(name.text.c_str());
    args.CheckAllUsed();
  }

  template <typename T>
  T Next() {
    T value{};
    Read(value);
    return value;
  }

  StepArgs& args;
  void* outSlot = nullptr;  // a Record** while a listing runs
  bool records = true;      // whether a listing's records are rendered

 private:
  struct Name {
    std::string text;
    bool optional;
  };

  const Name& Take() {
    if (next_ >= names_.size()) throw InputError(args.Context() + ": more parameters than names");
    return names_[next_++];
  }
  void Read(uint32_t& out) {
    const Name& name = Take();
    out = name.optional ? args.Uint(name.text.c_str(), 0) : args.Uint(name.text.c_str());
  }
  // Wider unsigned parameters (a callback's user data) take 32-bit values.
  template <typename T>
  std::enable_if_t<std::is_unsigned<T>::value> Read(T& out) {
    uint32_t value = 0;
    Read(value);
    out = value;
  }
  void Read(int32_t& out) {
    const Name& name = Take();
    out = name.optional ? args.Int(name.text.c_str(), 0) : args.Int(name.text.c_str());
  }
  void Read(bool& out) { out = args.Bool(Take().text.c_str()); }
  void Read(PushCommandCallback& out) {
    const char* name = Take().text.c_str();
    if (!args.Has(name)) throw InputError(args.Context() + ": missing argument \"" + name + "\"");
    out = nullptr;
    if (!args.Any(name)) return;  // JSON null: no function at all
    out = recorder_.CallbackFor(args.String(name));
    if (!out) {
      throw InputError(args.Context() + ": no more than " +
                       std::to_string(CommandRecorder::kMaxCallbacks) + " callback names");
    }
  }
  template <typename Record>
  void Read(Record**& out) {
    out = static_cast<Record**>(outSlot);
  }

  CommandRecorder& recorder_;
  std::vector<Name> names_;
  size_t next_ = 0;
};

template <typename R, typename... P>
R Invoke(R (*fn)(P...), Arguments& arguments) {
  // A braced list reads the arguments left to right, so a missing one is
  // reported in parameter order.
  std::tuple<std::decay_t<P>...> values{arguments.Next<std::decay_t<P>>()...};
  return std::apply(fn, values);
}

// A listing: what the export handed out is rendered under key, when asked
// for, and given back to its free function, whatever the result said. A
// listing for one application hands out one element at most.
template <typename Record, typename R, typename... P>
JsonPtr Listing(R (*fn)(P...), Arguments& arguments, const char* key, bool oneElement,
                JsonPtr (*render)(const Record*, uint32_t), void (*freeList)(Record*)) {
  Record* out = nullptr;
  arguments.outSlot = &out;
  const uint32_t result = Invoke(fn, arguments);
  JsonPtr object = Result(result);
  if (arguments.records) JsonSet(object.get(), key, render(out, out ? (oneElement ? 1 : result) : 0));
  if (out) freeList(out);
  return object;
}

JsonPtr AddMyShareMsg(const PushExports& e, Arguments& a) {
  StepArgs& args = a.args;
  const uint32_t kind = args.Uint("kind", kMyShareKind);
  const uint32_t appId = args.Uint("appId");
  const int32_t shareType = args.Int("shareType");
  json_object* msgs = args.Member("msgs", json_type_array);
  hostkit::OwnShareGroup shares(appId, shareType, json_object_array_length(msgs));
  shares.group.kind = kind;
  for (size_t i = 0; i < shares.msgs.size(); ++i) {
    json_object* item = json_object_array_get_idx(msgs, i);
    if (!json_object_is_type(item, json_type_object)) {
      throw InputError(args.Context() + ": msgs[" + std::to_string(i) + "] must be an object");
    }
    StepArgs m(item, args.Context() + " msgs[" + std::to_string(i) + "]");
    MyShareMsgInfo& info = shares.msgs[i];
    info.shareTime = m.Uint("shareTime");
    info.uin = m.Uint("uin", 0);
    shares.SetText(info.text, m.String("text", ""));
    shares.SetText(info.buffer, m.String("buffer", ""));
    shares.SetText(info.picURL, m.String("picURL", ""));
    shares.SetText(info.title, m.String("title", ""));
    shares.SetText(info.appDesc, m.String("appDesc", ""));
    m.CheckAllUsed();
  }
  return Result(e.AddMyShareMsg(shares.Get()));
}

using Handler = JsonPtr (*)(const PushExports&, Arguments&);

struct ExportEntry {
  const char* name;
  const char* params;  // the argument names in parameter order, separated by blanks
  Handler handler;
};

#define PUSHHOST_CALL(name, params) \
  {#name, params, [](const PushExports& e, Arguments& a) { return Result(Invoke(e.name, a)); }}
#define PUSHHOST_LIST(name, params, key, oneElement, render, freeList)   \
  {#name, params, [](const PushExports& e, Arguments& a) {                \
     return Listing(e.name, a, key, oneElement, render, e.freeList);      \
   }}
#define PUSHHOST_FREE(name)                                 \
  {#name, "", [](const PushExports& e, Arguments&) {        \
     e.name(nullptr);                                       \
     return Result(JsonPtr());                              \
   }}

const ExportEntry kExports[] = {
    PUSHHOST_CALL(PushWrapperInit, ""),
    PUSHHOST_CALL(PushWrapperUnInit, ""),
    PUSHHOST_CALL(PushUpdateReadStateByType, "kind"),
    PUSHHOST_CALL(PushGetMsgCountByType, "kind"),
    PUSHHOST_CALL(PushGetUnreadCountByType, "kind"),
    PUSHHOST_CALL(PushClearMsg, "kind"),
    PUSHHOST_CALL(PushGetAllUnreadMsgCount, ""),
    PUSHHOST_CALL(PushGetAllUnreadDynamicMsgCount, ""),
    PUSHHOST_CALL(PushGetAllUnreadShareMsgNum, ""),
    PUSHHOST_CALL(PushGetNewSystemMsgNum, ""),
    PUSHHOST_LIST(PushGetDynamicMsg, "maxGroups maxMsgs onlyUnread", "groups", false,
                  DynamicGroupsJson, PushFreeDynamicMsgGroupList),
    PUSHHOST_LIST(PushGetDynamicMsgForApp, "appId maxMsgs onlyUnread", "groups", true,
                  DynamicGroupsJson, PushFreeDynamicMsgGroupList),
    PUSHHOST_CALL(PushGetUnreadDynamicMsgCountForApp, "appId"),
    PUSHHOST_CALL(PushResetUnreadDynamicMsgCount, "appId count originator?"),
    PUSHHOST_CALL(PushUpdateDynamicMsgReadState, "appId originator? reportRead"),
    PUSHHOST_CALL(PushDeleteDynamicMsg, "appId originator?"),
    PUSHHOST_CALL(PushShieldDynamicMsgForApp, "appId unused?"),
    PUSHHOST_FREE(PushFreeDynamicMsgGroupList),
    PUSHHOST_LIST(PushGetShareMsg, "groupLimit msgLimit unreadOnly", "groups", false,
                  ShareGroupsJson, PushFreeShareMsgGroupList),
    PUSHHOST_LIST(PushGetShareMsgForApp, "appId shareType msgLimit unreadOnly", "groups", true,
                  ShareGroupsJson, PushFreeShareMsgGroupList),
    PUSHHOST_CALL(PushUpdateShareMsgReadState, "appId shareType unused? latestPushTime"),
    PUSHHOST_CALL(PushDeleteShareMsg, "appId latestPushTime"),
    PUSHHOST_FREE(PushFreeShareMsgGroupList),
    PUSHHOST_CALL(GetAllMyShareMsgNum, ""),
    PUSHHOST_LIST(GetMyShareMsg, "groupLimit msgLimit", "groups", false, MyShareGroupsJson,
                  FreeMyLocalShareMsgGroupList),
    {"AddMyShareMsg", "kind appId shareType msgs", AddMyShareMsg},
    PUSHHOST_LIST(GetMyShareMsgForApp, "appId shareType msgLimit", "groups", true,
                  MyShareGroupsJson, FreeMyLocalShareMsgGroupList),
    {"getAppDesc", "",
     [](const PushExports& e, Arguments&) {
       const char* text = e.getAppDesc();
       return Result(text ? JsonString(FixedText(text, 600)) : JsonPtr());
     }},
    PUSHHOST_CALL(PushDeleteMyShareMsg, "appId extra?"),
    PUSHHOST_FREE(FreeMyLocalShareMsgGroupList),
    PUSHHOST_LIST(PushGetSystemMsg, "wanted newOnly", "msgs", false, SystemMsgsJson,
                  PushFreeSystemMsgList),
    PUSHHOST_CALL(PushUpdateSystemMsgReadState, "msgId readState"),
    PUSHHOST_CALL(PushDeleteSystemMsg, "msgId pushTime"),
    PUSHHOST_FREE(PushFreeSystemMsgList),
    PUSHHOST_CALL(AddPushCommandCallback, "callback userData? ownerId? kindMask eventMask"),
    PUSHHOST_CALL(RemovePushCommandCallback, "callback"),
    PUSHHOST_CALL(PushIsShieldDynamicMsg, "appId"),
};

#undef PUSHHOST_CALL
#undef PUSHHOST_LIST
#undef PUSHHOST_FREE

static_assert(sizeof(kExports) / sizeof(kExports[0]) == 37, "every export can be called");

const ExportEntry* FindExport(const std::string& name) {
  for (const ExportEntry& entry : kExports) {
    if (name == entry.name) return &entry;
  }
  return nullptr;
}

}  // namespace

JsonPtr ExportCaller::Call(const std::string& exportName, StepArgs& args, bool records) {
  const ExportEntry* entry = FindExport(exportName);
  if (!entry) {
    std::vector<std::string> names;
    for (const ExportEntry& known : kExports) names.push_back(known.name);
    throw InputError("unknown export \"" + exportName + "\"" + DidYouMean(exportName, names));
  }
  if (!library_.IsLoaded()) {
    throw InputError("export " + exportName + " called while the library is not loaded");
  }
  Arguments arguments(args, recorder_, entry->params);
  arguments.records = records;
  arguments.CheckNames();
  return entry->handler(library_.Exports(), arguments);
}

std::vector<std::pair<std::string, std::string>> ExportCaller::ExportArguments() {
  std::vector<std::pair<std::string, std::string>> list;
  for (const ExportEntry& entry : kExports) list.emplace_back(entry.name, entry.params);
  return list;
}

const PushExports& ExportCaller::Exports() const { return library_.Exports(); }
