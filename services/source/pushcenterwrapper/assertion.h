// Programming errors inside the push intake (a null record or group) are
// reported here, then the operation returns. Nothing is written anywhere; a
// test may install an observer to see the reports.
#pragma once

typedef void (*AssertionObserver)(const char* expression, const char* source, int line);

extern const char kJsonParserSource[];  // services\source\pushcenterwrapper\jsonparser

void ReportAssertion(const char* expression, const char* source, int line);
// Returns the observer that was installed before.
AssertionObserver SetAssertionObserver(AssertionObserver observer);
