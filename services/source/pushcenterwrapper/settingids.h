// The host's settings that the library reads and writes through setting.dll.
#pragma once

#include <cstdint>

// Roaming booleans: whether the user wants system and share messages.
const uint32_t kSettingSystemWanted = 9;
const uint32_t kSettingShareWanted = 10;
// Roaming number: which dynamic messages the user wants.
const uint32_t kSettingDynamicPolicy = 11;
// Its values: none, or all but those of shielded applications; any other
// value takes every application's.
const uint32_t kPolicyNone = 0;
const uint32_t kPolicyAllButShielded = 2;
// Application roaming boolean: the application is shielded.
const uint32_t kAppSettingShielded = 6;
