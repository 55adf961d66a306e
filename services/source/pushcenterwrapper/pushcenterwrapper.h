// The interface that a host sees: 37 exported functions and the fixed-layout
// records they exchange.
//
// Every export uses the caller-cleans convention. Arrays that the listing
// functions hand out belong to this library: the host reads them and gives
// each back to its matching free function, never to its own allocator.
// Layouts are proved below for the 32-bit Windows build, where a pointer is
// 4 bytes; on 64-bit builds a group element is 24 bytes.
//
// Threads. Any thread may call any export at any time: the host's own thread,
// and the threads of the push center service and of the application-install
// module, which call into the library when a push arrives or an application
// is installed. Every entry takes one library-wide recursive lock for its
// whole run, so calls from different threads run one after the other.
// A command callback is called with that lock held, on the thread whose call
// caused the change (often the push center service's, not the host's). It may
// call any export on that same thread, but it must not wait for another
// thread that is itself calling into the library (a blocking hand-off to the
// host's user-interface thread, say): that thread waits for the lock that the
// callback holds, and neither ever returns. A callback that needs another
// thread posts the work there and returns. Arrays that the listing functions
// hand out belong to the caller alone: they may be read and freed on any
// thread while other calls run. PushWrapperUnInit removes the library's
// callbacks from both modules; free the library only after it has returned
// and the host's own threads have left every export.
#pragma once

#include <cstddef>
#include <cstdint>

#include "halyx/hostapi.h"

#if defined(PCW_BUILDING_LIBRARY) && !defined(_WIN32)
#define PCW_API HALYX_EXPORT
#else
#define PCW_API  // Windows names its exports in exports.def
#endif

// Kinds of center.
enum : int32_t {
  kDynamicKind = 1,
  kShareKind = 2,
  kSystemKind = 3,
  kMyShareKind = 4,
  kAppUpdateKind = 5,
};

// Kind bits and event bits of a PushCommand.
enum : uint32_t {
  kDynamicBit = 1,
  kShareBit = 2,
  kSystemBit = 4,
  kAppUpdateBit = 8,
  kMyShareBit = 16,

  kEventAdded = 1,
  kEventDeleted = 2,   // deleted or cleared
  kEventReadState = 4, // read state or unread count changed
};

// What a command callback receives. Valid only during the call.
struct PushCommand {
  uint32_t kindBit;
  uint32_t eventBit;
  uint32_t value1;
  uint32_t value2;
  uint32_t value3;
  uint32_t value4;
};
static_assert(sizeof(PushCommand) == 24, "PushCommand is 24 bytes");

typedef void(HALYX_CDECL* PushCommandCallback)(const PushCommand* command, uintptr_t userData);

// Texts in the records below are UTF-8, cut by bytes at the field size minus
// one and always zero-terminated; every byte after the terminator is zero.

struct DynamicMsgInfo {
  uint32_t msgId;
  int32_t openType;
  uint32_t pushTime;
  char title[240];
  char text[600];
  char buttonText[72];
  int32_t voiceIndex;
  char buffer[600];
  uint16_t newFlag;
  uint16_t padding;
};
static_assert(sizeof(DynamicMsgInfo) == 1532, "DynamicMsgInfo is 1532 bytes");
static_assert(offsetof(DynamicMsgInfo, voiceIndex) == 924, "DynamicMsgInfo layout");
static_assert(offsetof(DynamicMsgInfo, newFlag) == 1528, "DynamicMsgInfo layout");

// One application's messages; msgs runs from the oldest to the newest.
struct DynamicMsgGroupInfo {
  uint32_t valid;
  uint32_t appId;
  uint32_t msgCountOnServer;
  uint32_t msgCount;
  DynamicMsgInfo* msgs;  // msgCount records, or null
  ~DynamicMsgGroupInfo() { delete[] msgs; }
};

struct SystemMsgInfo {
  uint32_t msgId;
  uint32_t kind;
  int32_t openType;
  uint32_t pushTime;
  char title[240];
  char text[600];
  char pictureUrl[600];
  char jumpUrl[600];
  char buttonText[72];
  uint32_t appId;
  char buffer[600];
  int32_t subType;
  int32_t btnType;
};
static_assert(sizeof(SystemMsgInfo) == 2740, "SystemMsgInfo is 2740 bytes");
static_assert(offsetof(SystemMsgInfo, appId) == 2128, "SystemMsgInfo layout");
static_assert(offsetof(SystemMsgInfo, btnType) == 2736, "SystemMsgInfo layout");

struct ShareMsgInfo {
  uint32_t msgId;
  int32_t openType;
  uint32_t pushTime;
  uint32_t uin;
  uint32_t appId;
  char text[600];
  char buffer[600];
  char picURL[600];
  char title[240];
  char appDesc[600];
};
static_assert(sizeof(ShareMsgInfo) == 2660, "ShareMsgInfo is 2660 bytes");
static_assert(offsetof(ShareMsgInfo, title) == 1820, "ShareMsgInfo layout");

// One group of received shares; msgs runs from the oldest to the newest.
struct ShareMsgGroupInfo {
  uint32_t kind;  // 2
  int32_t shareType;
  uint32_t appId;
  uint32_t msgCount;
  ShareMsgInfo* msgs;  // msgCount records, or null
  ~ShareMsgGroupInfo() { delete[] msgs; }
};

struct MyShareMsgInfo {
  uint32_t shareTime;
  uint32_t uin;
  char text[600];
  char buffer[600];
  char picURL[600];
  char title[240];
  char appDesc[600];
};
static_assert(sizeof(MyShareMsgInfo) == 2648, "MyShareMsgInfo is 2648 bytes");
static_assert(offsetof(MyShareMsgInfo, title) == 1808, "MyShareMsgInfo layout");

// One group of the user's own shares, the same layout as ShareMsgGroupInfo with
// kind 4; also what a host passes to AddMyShareMsg (kind is not read there).
// msgs runs from the newest to the oldest.
struct MyShareMsgGroupInfo {
  uint32_t kind;  // 4
  int32_t shareType;
  uint32_t appId;
  uint32_t msgCount;
  MyShareMsgInfo* msgs;
  ~MyShareMsgGroupInfo() { delete[] msgs; }
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(DynamicMsgGroupInfo) == 20, "group elements are 20 bytes");
static_assert(sizeof(ShareMsgGroupInfo) == 20, "group elements are 20 bytes");
static_assert(sizeof(MyShareMsgGroupInfo) == 20, "group elements are 20 bytes");
static_assert(offsetof(DynamicMsgGroupInfo, msgs) == 16, "group element layout");
static_assert(offsetof(ShareMsgGroupInfo, msgs) == 16, "group element layout");
#endif

extern "C" {
PCW_API bool HALYX_CDECL PushWrapperInit();
PCW_API bool HALYX_CDECL PushWrapperUnInit();

PCW_API uint32_t HALYX_CDECL PushUpdateReadStateByType(int32_t kind);
PCW_API uint32_t HALYX_CDECL PushGetMsgCountByType(int32_t kind);
PCW_API uint32_t HALYX_CDECL PushGetUnreadCountByType(int32_t kind);
PCW_API bool HALYX_CDECL PushClearMsg(int32_t kind);
PCW_API uint32_t HALYX_CDECL PushGetAllUnreadMsgCount();
PCW_API uint32_t HALYX_CDECL PushGetAllUnreadDynamicMsgCount();
PCW_API uint32_t HALYX_CDECL PushGetAllUnreadShareMsgNum();
PCW_API uint32_t HALYX_CDECL PushGetNewSystemMsgNum();

PCW_API uint32_t HALYX_CDECL PushGetDynamicMsg(uint32_t maxGroups, uint32_t maxMsgs,
                                               DynamicMsgGroupInfo** out, bool onlyUnread);
PCW_API uint32_t HALYX_CDECL PushGetDynamicMsgForApp(uint32_t appId, uint32_t maxMsgs,
                                                     DynamicMsgGroupInfo** out, bool onlyUnread);
PCW_API uint32_t HALYX_CDECL PushGetUnreadDynamicMsgCountForApp(uint32_t appId);
PCW_API bool HALYX_CDECL PushResetUnreadDynamicMsgCount(uint32_t appId, uint32_t count,
                                                        uint32_t originator);
PCW_API uint32_t HALYX_CDECL PushUpdateDynamicMsgReadState(uint32_t appId, uint32_t originator,
                                                           bool reportRead);
PCW_API uint32_t HALYX_CDECL PushDeleteDynamicMsg(uint32_t appId, uint32_t originator);
PCW_API bool HALYX_CDECL PushShieldDynamicMsgForApp(uint32_t appId, uint32_t unused);
PCW_API void HALYX_CDECL PushFreeDynamicMsgGroupList(DynamicMsgGroupInfo* groups);

PCW_API uint32_t HALYX_CDECL PushGetShareMsg(uint32_t groupLimit, uint32_t msgLimit,
                                             ShareMsgGroupInfo** out, bool unreadOnly);
PCW_API uint32_t HALYX_CDECL PushGetShareMsgForApp(uint32_t appId, int32_t shareType,
                                                   uint32_t msgLimit, ShareMsgGroupInfo** out,
                                                   bool unreadOnly);
PCW_API uint32_t HALYX_CDECL PushUpdateShareMsgReadState(uint32_t appId, int32_t shareType,
                                                         uint32_t unused, uint32_t latestPushTime);
PCW_API uint32_t HALYX_CDECL PushDeleteShareMsg(uint32_t appId, uint32_t latestPushTime);
PCW_API void HALYX_CDECL PushFreeShareMsgGroupList(ShareMsgGroupInfo* groups);

PCW_API uint32_t HALYX_CDECL GetAllMyShareMsgNum();
PCW_API uint32_t HALYX_CDECL GetMyShareMsg(uint32_t groupLimit, uint32_t msgLimit,
                                           MyShareMsgGroupInfo** out);
PCW_API bool HALYX_CDECL AddMyShareMsg(const MyShareMsgGroupInfo* group);
PCW_API uint32_t HALYX_CDECL GetMyShareMsgForApp(uint32_t appId, int32_t shareType,
                                                 uint32_t msgLimit, MyShareMsgGroupInfo** out);
PCW_API const char* HALYX_CDECL getAppDesc();
PCW_API uint32_t HALYX_CDECL PushDeleteMyShareMsg(uint32_t appId, uint32_t extra);
PCW_API void HALYX_CDECL FreeMyLocalShareMsgGroupList(MyShareMsgGroupInfo* groups);

PCW_API uint32_t HALYX_CDECL PushGetSystemMsg(uint32_t wanted, SystemMsgInfo** out, bool newOnly);
PCW_API uint32_t HALYX_CDECL PushUpdateSystemMsgReadState(uint32_t msgId, uint32_t readState);
PCW_API uint32_t HALYX_CDECL PushDeleteSystemMsg(uint32_t msgId, uint32_t pushTime);
PCW_API void HALYX_CDECL PushFreeSystemMsgList(SystemMsgInfo* msgs);

PCW_API bool HALYX_CDECL AddPushCommandCallback(PushCommandCallback callback, uintptr_t userData,
                                                uint32_t ownerId, uint32_t kindMask,
                                                uint32_t eventMask);
PCW_API bool HALYX_CDECL RemovePushCommandCallback(PushCommandCallback callback);
}

// Exported with C++ linkage: on Windows as ?PushIsShieldDynamicMsg@@YA_NK@Z,
// on Linux as _Z22PushIsShieldDynamicMsgj.
PCW_API bool HALYX_CDECL PushIsShieldDynamicMsg(uint32_t appId);
