#include "modules/halyx_pushcenter_wrapper.h"

#include "modules/serviceentry.h"

void ReportRead(int32_t kind) {
  if (auto report = ServiceEntry<halyx_pushcenter_wrapper>(&PushCenterTable::reportRead)) {
    report(kind, 0, 0xFFFFFFFFu, 0, 0, 0);
  }
}
