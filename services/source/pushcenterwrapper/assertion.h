// Programming errors inside the push intake (a null record or group) are
// reported here, then the operation returns. Nothing is written anywhere; a
// test may install an observer to see the reports.
#pragma once

typedef void (*AssertionObserver)(const char* expression, const char* source, int line);

extern const char kJsonParserSource[];  // services\source\pushcenterwrapper\jsonparser

void ReportAssertion(const char* expression, const char* source, int line);

// The intake's places that report a programming error, each with the line
// number its report carries. The numbers are reported values that observers
// of the reports know, not lines of this source: they stay when code moves.
enum class AssertionSite : int {
  kParseRecords = 59,
  kDecodeShareRecord = 224,
  kDecodeSystemRecord = 346,
  kUnreadCountRecord = 475,
  kQueueDynamicGroup = 503,
  kQueueShareGroup = 543,
};

// Reports the failed condition "false" at an intake site.
inline void ReportAssertion(AssertionSite site) {
  ReportAssertion("false", kJsonParserSource, static_cast<int>(site));
}
// Returns the observer that was installed before.
AssertionObserver SetAssertionObserver(AssertionObserver observer);
