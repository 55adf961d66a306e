#include "scenariorunner.h"

#include <utility>
#include <vector>

#include "hostprofile.h"
#include "inspector.h"
#include "messageview.h"
#include "pushbatch.h"
#include "suggest.h"
#include "terminaltext.h"

namespace {

JsonPtr CountResult(const char* key, uint32_t value) {
  JsonPtr object = JsonObject();
  JsonSet(object.get(), key, JsonUint(value));
  return object;
}

JsonPtr BoolResult(bool value) {
  JsonPtr object = JsonObject();
  JsonSet(object.get(), "result", JsonBool(value));
  return object;
}

}  // namespace

ScenarioRunner::ScenarioRunner(HostModules& modules, std::ostream& out, std::ostream& err)
    : modules_(modules), out_(out), err_(err), caller_(library_, recorder_) {}

ScenarioRunner::~ScenarioRunner() {
  if (initialized_ && library_.IsLoaded()) library_.Exports().PushWrapperUnInit();
}

void ScenarioRunner::SetNarrate(bool narrate) {
  if (!narrate) {
    recorder_.SetEcho(nullptr);
    return;
  }
  recorder_.SetEcho([this](const RecordedCommand& recorded) {
    const PushCommand& c = recorded.command;
    out_ << "    [" << TerminalText::Plain(recorded.callback) << "] " << KindBitName(c.kindBit) << ": "
         << EventBitName(c.eventBit);
    if (c.value1 != 0) out_ << " (application " << c.value1 << ")";
    out_ << "\n";
  });
}

JsonPtr ScenarioRunner::Init() {
  bool result = library_.Exports().PushWrapperInit();
  initialized_ = true;
  return BoolResult(result);
}

JsonPtr ScenarioRunner::UnInit() {
  bool result = library_.Exports().PushWrapperUnInit();
  initialized_ = false;
  return BoolResult(result);
}

JsonPtr ScenarioRunner::RunHostStep(const std::string& action, StepArgs& step) {
  if (action == "signIn") {
    modules_.SignIn(step.Uint("user"));
    HostProfile().RememberUser(modules_.CurrentUser());
    return CountResult("user", modules_.CurrentUser());
  }
  if (action == "signOut") {
    modules_.SignOut();
    return CountResult("user", modules_.CurrentUser());
  }
  if (action == "setRoamBoolean") {
    uint32_t id = step.Uint("id");
    return BoolResult(modules_.SetRoamBoolean(id, step.Bool("value")));
  }
  if (action == "setRoamNumber") {
    uint32_t id = step.Uint("id");
    return BoolResult(modules_.SetRoamNumber(id, step.Uint("value")));
  }
  if (action == "setAppRoamBoolean") {
    uint32_t appId = step.Uint("appId");
    uint32_t id = step.Uint("id");
    return BoolResult(modules_.SetAppRoamBoolean(appId, id, step.Bool("value")));
  }
  if (action == "installApp") {
    uint32_t appId = step.Uint("appId");
    std::string needPush = step.String("needPush", "1");
    std::string name = step.String("name", "");
    if (!name.empty()) appNames_[appId] = name;
    modules_.SetAppInfo(appId, "needPush", needPush);
    modules_.SetAppInstalled(appId, true);
    return CountResult("callbacksCalled", modules_.NotifyAppInstallChanged(appId, true));
  }
  if (action == "uninstallApp") {
    uint32_t appId = step.Uint("appId");
    modules_.SetAppInstalled(appId, false);
    return CountResult("callbacksCalled", modules_.NotifyAppInstallChanged(appId, false));
  }
  if (action == "init") return Init();
  if (action == "uninit") return UnInit();
  if (action == "reload") {
    UnInit();
    library_.Unload();
    std::string error;
    if (!library_.Load(modules_.BinFolder(), &error)) throw ModuleError(error);
    return Init();
  }
  if (action == "push") {
    json_object* records = step.Member("records", json_type_array);
    std::vector<PushRecord> batch = PushBatch::FromJson(records, "push");
    return CountResult("callbacksCalled",
                       modules_.DeliverBatch(batch.data(), static_cast<uint32_t>(batch.size())));
  }
  if (action == "unreadCounts") {
    json_object* counts = step.Member("counts", json_type_array);
    std::vector<AppUnreadCount> batch = PushBatch::CountsFromJson(counts, "unreadCounts");
    return CountResult("callbacksCalled", modules_.DeliverUnreadCounts(
                                              batch.data(), static_cast<uint32_t>(batch.size())));
  }
  if (action == "readReports") {
    return CountResult("result", modules_.ReadReports(step.Uint("kind")));
  }
  if (action == "register" || action == "unregister") {
    return caller_.Call(action == "register" ? "AddPushCommandCallback"
                                             : "RemovePushCommandCallback",
                        step);
  }
  if (action == "say") {
    out_ << "\n" << TerminalText::Plain(step.String("text")) << "\n";
    return JsonObject();
  }
  if (action == "show") {
    std::string which = step.String("kind", "all");
    MessageView view(library_.Exports(), appNames_);
    if (!view.Print(out_, which, json_)) {
      throw InputError("show: \"kind\" must be dynamic, share, system, myshare or all");
    }
    return JsonObject();
  }
  if (action == "inspect") {
    uint32_t user = step.Uint("user", modules_.CurrentUser());
    Inspector inspector(modules_);
    std::string error;
    if (!inspector.Print(out_, user, &error, json_)) throw InputError("inspect: " + error);
    return JsonObject();
  }
  throw InputError("unknown step \"" + action + "\"");
}

namespace {

// The arguments of each host step, separated by blanks. A step with an
// argument nobody asked for is refused before it runs.
const std::vector<std::pair<std::string, std::string>> kSteps = {
    {"signIn", "user"},
    {"signOut", ""},
    {"setRoamBoolean", "id value"},
    {"setRoamNumber", "id value"},
    {"setAppRoamBoolean", "appId id value"},
    {"installApp", "appId needPush name"},
    {"uninstallApp", "appId"},
    {"init", ""},
    {"uninit", ""},
    {"reload", ""},
    {"push", "records"},
    {"unreadCounts", "counts"},
    {"readReports", "kind"},
    {"register", "callback userData ownerId kindMask eventMask"},
    {"unregister", "callback"},
    {"say", "text"},
    {"show", "kind"},
    {"inspect", "user"},
};

}  // namespace

const std::vector<std::pair<std::string, std::string>>& ScenarioRunner::StepArguments() {
  return kSteps;
}

JsonPtr ScenarioRunner::RunStep(const std::string& action, StepArgs& step) {
  auto found = kSteps.begin();
  while (found != kSteps.end() && found->first != action) ++found;
  if (found == kSteps.end()) {
    std::vector<std::string> names;
    for (const auto& known : kSteps) names.push_back(known.first);
    throw InputError("unknown step \"" + action + "\"" + DidYouMean(action, names));
  }
  const std::string& params = found->second;
  for (size_t start = 0; start < params.size();) {
    size_t end = params.find(' ', start);
    if (end == std::string::npos) end = params.size();
    step.Accept(params.substr(start, end - start).c_str());
    start = end + 1;
  }
  step.CheckAllUsed();
  return RunHostStep(action, step);
}

void ScenarioRunner::Echo(const std::string& what, json_object* result) {
  json_object* value = nullptr;
  if (json_object_object_length(result) == 1 && json_object_object_get_ex(result, "result", &value)) {
    out_ << "    " << what << " -> " << JsonText(value) << "\n";
  } else {
    out_ << "    " << what << " -> " << JsonText(result) << "\n";
  }
}

bool ScenarioRunner::Check(json_object* expected, json_object* actual, const std::string& where) {
  ++expectations_;
  std::string path;
  if (JsonMatches(expected, actual, &path)) return true;
  ++failures_;
  err_ << where << ": expectation not met" << (path.empty() ? "" : " at " + path) << "\n"
       << "  expected: " << JsonText(expected) << "\n"
       << "  got:      " << JsonText(actual) << "\n";
  return false;
}

ScenarioRunner::Status ScenarioRunner::Run(const std::string& name, std::istream& lines) {
  std::string loadError;
  if (!library_.Load(modules_.BinFolder(), &loadError)) {
    err_ << name << ": " << loadError << "\n";
    return kBadInput;
  }
  if (prepareProfile_ && HostProfile().WriteFirstRunSettings(modules_)) {
    err_ << "pushhost: a new profile: wrote the client's first-run settings (system and share "
            "messages wanted, dynamic messages from every application); --bare leaves them "
            "out\n";
  }
  std::string text;
  int lineNumber = 0;
  int steps = 0;
  while (std::getline(lines, text)) {
    ++lineNumber;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    // Editors of Windows start a UTF-8 file with a byte-order mark.
    if (lineNumber == 1 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos || text[first] == '#') continue;
    std::string where = name + ":" + std::to_string(lineNumber);
    try {
      std::string parseError;
      JsonPtr step = ParseJson(text, &parseError);
      if (!step) throw InputError("not a JSON line: " + parseError);
      if (!json_object_is_type(step.get(), json_type_object)) {
        throw InputError("a step must be a JSON object");
      }
      StepArgs args(step.get(), "step");
      json_object* expected = args.Any("expect");
      if (expected && !json_object_is_type(expected, json_type_object)) {
        throw InputError("\"expect\" must be a JSON object, got " + JsonText(expected));
      }
      args.Accept("note");
      bool echo = args.Bool("echo", false);
      JsonPtr result;
      if (args.Has("call")) {
        std::string exportName = args.String("call");
        if (args.Has("do")) throw InputError("a step has either \"do\" or \"call\", not both");
        StepArgs callArgs(step.get(), "export " + exportName);
        callArgs.Accept("call");
        callArgs.Accept("expect");
        callArgs.Accept("note");
        callArgs.Accept("echo");
        // The records of a listing only for a step that shows or checks them.
        result = caller_.Call(exportName, callArgs, echo || verbose_ || expected != nullptr);
      } else if (args.Has("do")) {
        std::string action = args.String("do");
        StepArgs stepArgs(step.get(), action);
        stepArgs.Accept("do");
        stepArgs.Accept("expect");
        stepArgs.Accept("note");
        stepArgs.Accept("echo");
        result = RunStep(action, stepArgs);
      } else {
        throw InputError("a step needs \"do\" (a host step) or \"call\" (an export)");
      }
      ++steps;
      if (echo) Echo(args.Has("call") ? args.String("call") : args.String("do"), result.get());
      JsonSet(result.get(), "notifications", CommandRecorder::ToJson(recorder_.Take()));
      if (verbose_) out_ << where << ": " << JsonText(result.get()) << "\n";
      if (expected) Check(expected, result.get(), where);
    } catch (const std::exception& error) {
      err_ << where << ": error: " << error.what() << "\n";
      return kBadInput;
    }
  }
  if (!quiet_) {
    out_ << name << ": " << steps << " steps run, " << (expectations_ - failures_) << " of "
         << expectations_ << " expectations met\n";
  }
  return failures_ ? kExpectationsFailed : kPassed;
}
