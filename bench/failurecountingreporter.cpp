#include "failurecountingreporter.h"

void FailureCountingReporter::ReportRuns(const std::vector<Run>& reports) {
  for (const Run& run : reports) {
    if (run.error_occurred) ++failures;
  }
  ConsoleReporter::ReportRuns(reports);
}
