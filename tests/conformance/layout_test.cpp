// The records that the listing exports hand out, at the sizes and offsets a
// host reads them with, written out here as numbers rather than taken from the
// declarations, and proved wherever the suites are built (both pointer sizes,
// both systems). A group element is 20 bytes where a pointer is 4 (the shipped
// DLL's data model), 24 where it is 8; its message count is at 12 and its
// records' pointer at 16 on both. What the library puts in each field is
// checked by name in the pushhost scenarios and the suites that list.
#include <cstddef>

#include "pushcenterwrapper.h"

#define PCW_AT(type, field, offset) static_assert(offsetof(type, field) == (offset), #type " " #field)

constexpr size_t kElement = sizeof(void*) == 4 ? 20 : 24;
static_assert(sizeof(DynamicMsgGroupInfo) == kElement && sizeof(ShareMsgGroupInfo) == kElement &&
                  sizeof(MyShareMsgGroupInfo) == kElement,
              "group elements");
PCW_AT(DynamicMsgGroupInfo, appId, 4);
PCW_AT(DynamicMsgGroupInfo, msgCount, 12);
PCW_AT(DynamicMsgGroupInfo, msgs, 16);
PCW_AT(ShareMsgGroupInfo, kind, 0);
PCW_AT(ShareMsgGroupInfo, shareType, 4);
PCW_AT(ShareMsgGroupInfo, appId, 8);
PCW_AT(ShareMsgGroupInfo, msgCount, 12);
PCW_AT(ShareMsgGroupInfo, msgs, 16);
PCW_AT(MyShareMsgGroupInfo, kind, 0);
PCW_AT(MyShareMsgGroupInfo, shareType, 4);
PCW_AT(MyShareMsgGroupInfo, appId, 8);
PCW_AT(MyShareMsgGroupInfo, msgCount, 12);
PCW_AT(MyShareMsgGroupInfo, msgs, 16);

static_assert(sizeof(DynamicMsgInfo) == 1532, "DynamicMsgInfo");
PCW_AT(DynamicMsgInfo, msgId, 0);
PCW_AT(DynamicMsgInfo, title, 12);
PCW_AT(DynamicMsgInfo, voiceIndex, 924);
PCW_AT(DynamicMsgInfo, newFlag, 1528);
static_assert(sizeof(ShareMsgInfo) == 2660, "ShareMsgInfo");
PCW_AT(ShareMsgInfo, msgId, 0);
PCW_AT(ShareMsgInfo, appId, 16);
PCW_AT(ShareMsgInfo, text, 20);
PCW_AT(ShareMsgInfo, appDesc, 2060);
static_assert(sizeof(MyShareMsgInfo) == 2648, "MyShareMsgInfo");
PCW_AT(MyShareMsgInfo, shareTime, 0);
PCW_AT(MyShareMsgInfo, uin, 4);
PCW_AT(MyShareMsgInfo, text, 8);
PCW_AT(MyShareMsgInfo, title, 1808);
PCW_AT(MyShareMsgInfo, appDesc, 2048);
static_assert(sizeof(SystemMsgInfo) == 2740, "SystemMsgInfo, a plain array");
PCW_AT(SystemMsgInfo, msgId, 0);
PCW_AT(SystemMsgInfo, title, 16);
PCW_AT(SystemMsgInfo, appId, 2128);
PCW_AT(SystemMsgInfo, btnType, 2736);
