#include "hostprofile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "dataroot.h"
#include "hostmodules.h"
#include "json.h"

namespace {

std::filesystem::path ProfileFile() {
  std::string root = DataRoot();
  if (root.empty()) return {};
  return std::filesystem::u8path(ForDisplay(root)) / "pushhost.json";
}

}  // namespace

HostProfile::HostProfile() {
  std::filesystem::path file = ProfileFile();
  if (file.empty()) return;
  std::ifstream in(file, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string error;
  JsonPtr document = ParseJson(text, &error);
  if (!document || !json_object_is_type(document.get(), json_type_object)) return;
  json_object* value = nullptr;
  if (json_object_object_get_ex(document.get(), "firstRunSettings", &value)) {
    prepared_ = json_object_get_boolean(value) != 0;
  }
  if (json_object_object_get_ex(document.get(), "lastUser", &value) &&
      json_object_is_type(value, json_type_int)) {
    int64_t user = json_object_get_int64(value);
    lastUser_ = user > 0 && user <= 0xFFFFFFFFll ? static_cast<uint32_t>(user) : 0;
  }
}

bool HostProfile::WriteFirstRunSettings(HostModules& modules) {
  if (prepared_) return false;
  if (!modules.SetRoamBoolean(9, true) || !modules.SetRoamBoolean(10, true) ||
      !modules.SetRoamNumber(11, 1)) {
    throw ModuleError("cannot write the first-run settings through setting.dll");
  }
  prepared_ = true;
  Save();
  return true;
}

void HostProfile::RememberUser(uint32_t user) {
  if (user == 0 || user == lastUser_) return;
  lastUser_ = user;
  Save();
}

bool HostProfile::Save() const {
  std::filesystem::path file = ProfileFile();
  if (file.empty()) return false;
  JsonPtr document = JsonObject();
  JsonSet(document.get(), "firstRunSettings", JsonBool(prepared_));
  JsonSet(document.get(), "lastUser", JsonUint(lastUser_));
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << JsonText(document.get()) << "\n";
  return static_cast<bool>(out);
}
