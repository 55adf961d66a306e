#include "assertion.h"

const char kJsonParserSource[] = "services\\source\\pushcenterwrapper\\jsonparser";

namespace {
AssertionObserver observer = nullptr;
}

void ReportAssertion(const char* expression, const char* source, int line) {
  if (observer != nullptr) observer(expression, source, line);
}

AssertionObserver SetAssertionObserver(AssertionObserver next) {
  AssertionObserver previous = observer;
  observer = next;
  return previous;
}
