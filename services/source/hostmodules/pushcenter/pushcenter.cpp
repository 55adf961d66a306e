// The push center service: keeps the batch and unread-count callbacks, hands
// them what a host delivers, and counts the read reports it receives. Any
// thread may call it: the callback lists keep their own lock, and the rest of
// the service is kept under one more, never held while a callback runs.

#include "halyx/pushcenter.h"

#include <map>

#include "common/callbacklist.h"
#include "common/criticalsection.h"
#include "common/entryomission.h"
#include "common/modulestate.h"

namespace {

struct Service {
  halyx::CallbackList<PushBatchCallback> batchCallbacks;
  halyx::CallbackList<AppUnreadCountsCallback> unreadCountCallbacks;
  halyx::CriticalSection lock;  // over the two below
  std::map<uint32_t, uint32_t> readReports;  // by kind, since the module was loaded
  halyx::EntryOmission<20> omitted;
};

// A library unloaded at the process's exit takes its callbacks back from its
// own teardown, which can come after this module's.
Service& TheService() { return halyx::ModuleState<Service>(); }

uint32_t HALYX_CDECL RegisterBatchCallback(PushBatchCallback callback, uint32_t) {
  return TheService().batchCallbacks.Add(callback) ? 1 : 0;
}

uint32_t HALYX_CDECL UnregisterBatchCallback(PushBatchCallback callback) {
  return TheService().batchCallbacks.Remove(callback) ? 1 : 0;
}

uint32_t HALYX_CDECL RegisterUnreadCountsCallback(AppUnreadCountsCallback callback, uint32_t) {
  return TheService().unreadCountCallbacks.Add(callback) ? 1 : 0;
}

uint32_t HALYX_CDECL UnregisterUnreadCountsCallback(AppUnreadCountsCallback callback) {
  return TheService().unreadCountCallbacks.Remove(callback) ? 1 : 0;
}

bool HALYX_CDECL ReportRead(uint32_t kind, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {
  Service& service = TheService();
  halyx::CriticalSection::Held held(service.lock);
  ++service.readReports[kind];
  return true;
}

}  // namespace

extern "C" {

bool PushCenter(PushCenterTable* table) {
  if (!table) {
    return false;
  }
  *table = PushCenterTable{};
  table->registerBatchCallback = &RegisterBatchCallback;
  table->unregisterBatchCallback = &UnregisterBatchCallback;
  table->registerUnreadCountsCallback = &RegisterUnreadCountsCallback;
  table->unregisterUnreadCountsCallback = &UnregisterUnreadCountsCallback;
  table->reportRead = &ReportRead;
  Service& service = TheService();
  halyx::CriticalSection::Held held(service.lock);
  service.omitted.Apply(table);
  return true;
}

uint32_t PushCenterDeliverBatch(const PushRecord* records, uint32_t count) {
  if (!records && count > 0) {
    return 0;
  }
  return TheService().batchCallbacks.Deliver(records, count);
}

uint32_t PushCenterDeliverUnreadCounts(const AppUnreadCount* counts, uint32_t count) {
  if (!counts && count > 0) {
    return 0;
  }
  return TheService().unreadCountCallbacks.Deliver(counts, count);
}

bool PushCenterOmitEntry(uint32_t entry, bool omit) {
  Service& service = TheService();
  halyx::CriticalSection::Held held(service.lock);
  return service.omitted.Set(entry, omit);
}

uint32_t PushCenterForgetCallbacks() {
  Service& service = TheService();
  return service.batchCallbacks.Clear() + service.unreadCountCallbacks.Clear();
}

uint32_t PushCenterReadReports(uint32_t kind) {
  Service& service = TheService();
  halyx::CriticalSection::Held held(service.lock);
  auto found = service.readReports.find(kind);
  return found == service.readReports.end() ? 0 : found->second;
}

}  // extern "C"
