// What pushhost, as the desktop client, keeps of a profile beside the
// modules' files: whether it has written the client's first-run settings,
// and the user who signed in last, so that a later `inspect` knows whose
// databases to read. Kept in "pushhost.json" in the data root.
#pragma once

#include <cstdint>

class HostModules;

class HostProfile {
 public:
  // Reads the file of the current data root; a missing or damaged file reads
  // as a profile that pushhost has not seen.
  HostProfile();

  // A profile that pushhost has not prepared gets what the client writes on
  // its first run: system and share messages wanted (roaming booleans 9 and
  // 10) and dynamic messages from every application (roaming number 11 = 1).
  // The setting module reads false and 0 for what was never set, so without
  // them every push is refused. True when they were written now.
  bool WriteFirstRunSettings(HostModules& modules);

  uint32_t LastUser() const { return lastUser_; }
  void RememberUser(uint32_t user);

 private:
  bool Save() const;

  bool prepared_ = false;
  uint32_t lastUser_ = 0;
};
