// Who is signed in. The state lives in this module, so it outlasts any user
// of the module that is unloaded and loaded again in the same process.

#include "halyx/statusservice.h"

#include "common/entryomission.h"
#include "platform/win32.h"

namespace {

// The first user comes from HALYX_USER, read at the first question or sign-in
// of the process: a decimal number that fits 32 bits, anything else meaning
// nobody.
uint32_t UserFromEnvironment() {
  WCHAR text[16] = {};
  const DWORD length = GetEnvironmentVariableW(W32_TEXT("HALYX_USER"), text, 16);
  if (length == 0 || length >= 16) {
    return 0;
  }
  uint64_t value = 0;
  for (DWORD i = 0; i < length; ++i) {
    if (text[i] < '0' || text[i] > '9') {
      return 0;
    }
    value = value * 10 + static_cast<uint64_t>(text[i] - '0');
    if (value > 0xFFFFFFFFull) {
      return 0;
    }
  }
  return static_cast<uint32_t>(value);
}

struct SignedInUser {
  bool known = false;
  uint32_t number = 0;
};

SignedInUser& User() {
  static SignedInUser user;
  if (!user.known) {
    user.number = UserFromEnvironment();
    user.known = true;
  }
  return user;
}

uint32_t HALYX_CDECL CurrentUser() { return User().number; }

halyx::EntryOmission<32>& Omitted() {
  static halyx::EntryOmission<32> omitted;
  return omitted;
}

}  // namespace

extern "C" {

bool GetHalyxStatus(StatusTable* table) {
  if (!table) {
    return false;
  }
  *table = StatusTable{};
  table->currentUser = &CurrentUser;
  Omitted().Apply(table);
  return true;
}

void HalyxSignIn(uint32_t userNumber) { User().number = userNumber; }

void HalyxSignOut() { User().number = 0; }

bool HalyxStatusOmitEntry(uint32_t entry, bool omit) { return Omitted().Set(entry, omit); }

}  // extern "C"
