// What every fuzz target shares: a host environment set up once per process
// (a private data folder, the bin folder beside the target, a signed-in user,
// every kind of message wanted, a few installed applications), and the
// reading of push records from fuzz input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "halyx/pushcenter.h"
#include "pushcenterwrapper.h"

namespace fuzzhost {

// The applications that records name: the first two are installed and want
// pushes, the third is installed without wanting them, the fourth is not
// installed (its dynamic records are parked).
extern const uint32_t kApps[4];

// Sets the process up for the library; call from LLVMFuzzerInitialize.
void Prepare(const char* argv0);

// Starts the library, opens every storage once, and has the process end as
// a host does, with PushWrapperUnInit. libFuzzer leaves through exit(), whose
// handlers run in the reverse order of their registration: the storages are
// opened first so that the database module's tables are made before the
// handler is registered, and are therefore still there when it runs.
void StartLibrary();

// Reads records from text of the form
//   <kind><app><msgId><pushTime><payload>\n ...
// where each header field is one byte (kind modulo 6, app modulo 4) and the
// payload is UTF-8 JSON, widened to the record's UTF-16 units. A payload that
// fills the record gets no terminator.
std::vector<PushRecord> ReadRecords(const uint8_t* data, size_t size, size_t maxRecords);

// The same record layout from one header and a payload.
PushRecord MakeRecord(uint8_t kind, uint8_t app, uint8_t msgId, uint8_t pushTime,
                      const uint8_t* payload, size_t length);

// Reports what went wrong, prefixed with the target's name, and stops the run
// as a finding.
[[noreturn]] void Fail(const char* what);

// Reads every text field of a record the library handed out to its
// terminator, which must lie in the field.
void CheckTexts(const DynamicMsgInfo& msg);
void CheckTexts(const ShareMsgInfo& msg);
void CheckTexts(const SystemMsgInfo& msg);
void CheckTexts(const MyShareMsgInfo& msg);

// The unread total must be the sum of the kinds' figures.
void CheckUnreadTotal();

}  // namespace fuzzhost
