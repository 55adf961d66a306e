// The library's host-visible records as JSON objects whose members carry the
// records' field names. Texts are read only up to their field's size, so a
// record without a terminator is never overread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "json.h"
#include "pushcenterwrapper.h"

std::string FixedText(const char* field, size_t size);

JsonPtr DynamicGroupsJson(const DynamicMsgGroupInfo* groups, uint32_t count);
JsonPtr ShareGroupsJson(const ShareMsgGroupInfo* groups, uint32_t count);
JsonPtr MyShareGroupsJson(const MyShareMsgGroupInfo* groups, uint32_t count);
JsonPtr SystemMsgsJson(const SystemMsgInfo* msgs, uint32_t count);
