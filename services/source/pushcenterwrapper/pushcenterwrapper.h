/**
 * @file pushcenterwrapper.h
 * @brief The interface of pushcenterwrapper.dll: 37 exported functions and the
 * fixed-layout records they exchange.
 *
 * This is the one header a host includes; the library is built from the same
 * header, so the declarations and the binary cannot drift apart. It is C (C99
 * and later) and C++ (C++11 and later), for MSVC, mingw-w64, GCC and Clang.
 *
 * - Calling convention: every export is `__cdecl` (the caller removes the
 *   arguments); #PCW_CALL spells it.
 * - Names: 36 exports carry their plain names with C linkage. One,
 *   PushIsShieldDynamicMsg(), is a C++ function exported under its decorated
 *   name; see its entry for how each compiler reaches it.
 * - Arrays that the listing functions hand out belong to the library: read
 *   them, then give each back to its matching free function
 *   (PushFreeDynamicMsgGroupList(), PushFreeShareMsgGroupList(),
 *   FreeMyLocalShareMsgGroupList(), PushFreeSystemMsgList()), never to the
 *   host's own allocator. Each free function accepts null.
 * - A listing that finds nothing answers 0 and leaves the host's pointer as it
 *   was (the per-application listings set it to null), so a host initialises
 *   it to null and frees only what it was given.
 * - Counts and limits are unsigned 32-bit; a limit of 0 means "no limit".
 * - Texts in the records are UTF-8, cut by bytes at the field size minus one and
 *   always zero-terminated; every byte after the terminator is zero.
 * - Layouts are checked at compile time below: the record sizes on every
 *   build, the group elements' 20 bytes wherever a pointer is 4 bytes (the
 *   shipped 32-bit DLL); on 64-bit builds a group element is 24 bytes.
 *
 * Life cycle: load the library (link its import library, or load it by path),
 * call PushWrapperInit(), register callbacks with AddPushCommandCallback(),
 * query and mark messages, then RemovePushCommandCallback() and
 * PushWrapperUnInit() before unloading it.
 *
 * Threads: any thread may call any export at any time: the host's own
 * thread, and the threads of the push center service and of the
 * application-install module, which call into the library when a push arrives
 * or an application is installed. Every entry takes one library-wide
 * recursive lock for its whole run, so calls from different threads run one
 * after the other. A command callback is called with that lock held, on the
 * thread whose call caused the change (often the push center service's, not
 * the host's). It may call any export on that same thread, but it must not
 * wait for another thread that is itself calling into the library (a blocking
 * hand-off to the host's user-interface thread, say): that thread waits for
 * the lock that the callback holds, and neither ever returns. A callback that
 * needs another thread posts the work there and returns. Arrays that the
 * listing functions hand out belong to the caller alone: they may be read and
 * freed on any thread while other calls run. PushWrapperUnInit() removes the
 * library's callbacks from both modules; free the library only after it has
 * returned and the host's own threads have left every export.
 */
#ifndef PUSHCENTERWRAPPER_H
#define PUSHCENTERWRAPPER_H

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

/** The exports' calling convention: `__cdecl` on Windows, the default elsewhere. */
#if defined(_WIN32)
#define PCW_CALL __cdecl
#else
#define PCW_CALL
#endif

/** How the exports are declared: imported from the DLL on Windows. */
#if defined(PCW_BUILDING_LIBRARY)
#if defined(_WIN32)
#define PCW_API /* cmake/exports.txt names the exports */
#else
#define PCW_API __attribute__((visibility("default")))
#endif
#elif defined(_WIN32)
#define PCW_API __declspec(dllimport)
#else
#define PCW_API
#endif

/** Typed constants in C++ (of the type of the fields they are compared
 *  with), plain enumerations in C. */
#if defined(__cplusplus)
#define PCW_ENUM(type) enum : type
#else
#define PCW_ENUM(type) enum
#endif

/** A layout check at compile time, in C99 as well as in C11 and C++11. */
#if defined(__cplusplus)
#define PCW_CHECK(condition, name) static_assert(condition, #name)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define PCW_CHECK(condition, name) _Static_assert(condition, #name)
#else
#define PCW_CHECK(condition, name) typedef char pcw_check_##name[(condition) ? 1 : -1]
#endif

/** Kinds of message, the `kind` argument of the ...ByType exports. Any other
 *  value names no kind: counts answer 0, PushClearMsg() answers true. */
PCW_ENUM(int32_t){
  kDynamicKind = 1,   /**< application (dynamic) messages */
  kShareKind = 2,     /**< shares received from others */
  kSystemKind = 3,    /**< system notices */
  kMyShareKind = 4,   /**< the user's own shares */
  kAppUpdateKind = 5  /**< application updates (no messages of its own) */
};

/** Kind bits and event bits of a PushCommand, and of the masks given to
 *  AddPushCommandCallback(). */
PCW_ENUM(uint32_t){
  kDynamicBit = 1,   /**< application (dynamic) messages */
  kShareBit = 2,     /**< shares received */
  kSystemBit = 4,    /**< system notices */
  kAppUpdateBit = 8, /**< application updates */
  kMyShareBit = 16,  /**< the user's own shares */

  kEventAdded = 1,     /**< messages added */
  kEventDeleted = 2,   /**< messages deleted or cleared */
  kEventReadState = 4  /**< a read state or an unread count changed */
};

/** What a command callback receives: one change in one kind. Valid only during
 *  the call; the callback copies what it keeps. */
typedef struct PushCommand {
  uint32_t kindBit;  /**< one kind bit (kDynamicBit ... kMyShareBit) */
  uint32_t eventBit; /**< one event bit (kEventAdded, kEventDeleted, kEventReadState) */
  uint32_t value1;   /**< the application or message concerned, or 0 for a change of the whole kind */
  uint32_t value2;   /**< second value of the change (1 when the change names no message) */
  uint32_t value3;   /**< third value of the change, or 0 */
  uint32_t value4;   /**< fourth value of the change, or 0 */
} PushCommand;
PCW_CHECK(sizeof(PushCommand) == 24, PushCommand_is_24_bytes);

/** A command callback: @p command describes the change, @p userData is what
 *  the host registered with AddPushCommandCallback(). */
typedef void(PCW_CALL* PushCommandCallback)(const PushCommand* command, uintptr_t userData);

/** One application (dynamic) message. */
typedef struct DynamicMsgInfo {
  uint32_t msgId;         /**< the message id the server gave */
  int32_t openType;       /**< how the host opens it, as the payload says */
  uint32_t pushTime;      /**< seconds since 1970 (UTC) */
  char title[240];        /**< title */
  char text[600];         /**< text */
  char buttonText[72];    /**< the button's label */
  int32_t voiceIndex;     /**< the sound to play, as the payload says */
  char buffer[600];       /**< the application's own data */
  uint16_t newFlag;       /**< 1 while the message is unread */
  uint16_t padding;       /**< 0 */
} DynamicMsgInfo;
PCW_CHECK(sizeof(DynamicMsgInfo) == 1532, DynamicMsgInfo_is_1532_bytes);
PCW_CHECK(offsetof(DynamicMsgInfo, voiceIndex) == 924, DynamicMsgInfo_voiceIndex);
PCW_CHECK(offsetof(DynamicMsgInfo, newFlag) == 1528, DynamicMsgInfo_newFlag);

/** One application's messages, an element of the array that
 *  PushGetDynamicMsg() hands out; msgs runs from the oldest to the newest. */
typedef struct DynamicMsgGroupInfo {
  uint32_t valid;            /**< 1 */
  uint32_t appId;            /**< the application */
  uint32_t msgCountOnServer; /**< the application's unread count as the server gave it */
  uint32_t msgCount;         /**< the number of records in msgs */
  DynamicMsgInfo* msgs;      /**< msgCount records, or null; part of the group list */
#if defined(__cplusplus) && defined(PCW_BUILDING_LIBRARY)
  // Inside the library a group list is one array allocation whose elements
  // release their records, so that its free function needs no count.
  ~DynamicMsgGroupInfo() { delete[] msgs; }
#endif
} DynamicMsgGroupInfo;

/** One system notice, an element of the array that PushGetSystemMsg() hands out. */
typedef struct SystemMsgInfo {
  uint32_t msgId;       /**< the message id */
  uint32_t kind;        /**< the notice's kind, as the server gave it */
  int32_t openType;     /**< how the host opens it */
  uint32_t pushTime;    /**< seconds since 1970 (UTC) */
  char title[240];      /**< title */
  char text[600];       /**< text */
  char pictureUrl[600]; /**< address of a picture */
  char jumpUrl[600];    /**< address to open */
  char buttonText[72];  /**< the button's label */
  uint32_t appId;       /**< the application it concerns, or 0 */
  char buffer[600];     /**< further data of the notice */
  int32_t subType;      /**< sub-type, as the server gave it */
  int32_t btnType;      /**< button type, as the server gave it */
} SystemMsgInfo;
PCW_CHECK(sizeof(SystemMsgInfo) == 2740, SystemMsgInfo_is_2740_bytes);
PCW_CHECK(offsetof(SystemMsgInfo, appId) == 2128, SystemMsgInfo_appId);
PCW_CHECK(offsetof(SystemMsgInfo, btnType) == 2736, SystemMsgInfo_btnType);

/** One share received from another user. */
typedef struct ShareMsgInfo {
  uint32_t msgId;     /**< the message id */
  int32_t openType;   /**< how the host opens it */
  uint32_t pushTime;  /**< seconds since 1970 (UTC) */
  uint32_t uin;       /**< the user who shared */
  uint32_t appId;     /**< the application shared */
  char text[600];     /**< text */
  char buffer[600];   /**< the application's own data */
  char picURL[600];   /**< address of a picture */
  char title[240];    /**< title */
  char appDesc[600];  /**< description of the application */
} ShareMsgInfo;
PCW_CHECK(sizeof(ShareMsgInfo) == 2660, ShareMsgInfo_is_2660_bytes);
PCW_CHECK(offsetof(ShareMsgInfo, title) == 1820, ShareMsgInfo_title);

/** One group of received shares (one application and share type), an element
 *  of the array that PushGetShareMsg() hands out; msgs runs from the oldest
 *  to the newest. */
typedef struct ShareMsgGroupInfo {
  uint32_t kind;       /**< 2 (kShareKind) */
  int32_t shareType;   /**< the share type */
  uint32_t appId;      /**< the application */
  uint32_t msgCount;   /**< the number of records in msgs */
  ShareMsgInfo* msgs;  /**< msgCount records, or null; part of the group list */
#if defined(__cplusplus) && defined(PCW_BUILDING_LIBRARY)
  ~ShareMsgGroupInfo() { delete[] msgs; }
#endif
} ShareMsgGroupInfo;

/** One of the user's own shares. */
typedef struct MyShareMsgInfo {
  uint32_t shareTime; /**< seconds since 1970 (UTC); orders the shares */
  uint32_t uin;       /**< the number the host gave with it */
  char text[600];     /**< text */
  char buffer[600];   /**< the application's own data */
  char picURL[600];   /**< address of a picture */
  char title[240];    /**< title */
  char appDesc[600];  /**< description of the application; share type 2 groups by it */
} MyShareMsgInfo;
PCW_CHECK(sizeof(MyShareMsgInfo) == 2648, MyShareMsgInfo_is_2648_bytes);
PCW_CHECK(offsetof(MyShareMsgInfo, title) == 1808, MyShareMsgInfo_title);

/** One group of the user's own shares, an element of the array that
 *  GetMyShareMsg() hands out (msgs from the newest to the oldest), and what a
 *  host passes to AddMyShareMsg() (kind is not read there). */
typedef struct MyShareMsgGroupInfo {
  uint32_t kind;         /**< 4 (kMyShareKind) */
  int32_t shareType;     /**< the share type */
  uint32_t appId;        /**< the application */
  uint32_t msgCount;     /**< the number of records in msgs */
  MyShareMsgInfo* msgs;  /**< msgCount records, or null */
#if defined(__cplusplus) && defined(PCW_BUILDING_LIBRARY)
  ~MyShareMsgGroupInfo() { delete[] msgs; }
#endif
} MyShareMsgGroupInfo;

#if UINTPTR_MAX == 0xFFFFFFFFu
PCW_CHECK(sizeof(DynamicMsgGroupInfo) == 20, DynamicMsgGroupInfo_is_20_bytes);
PCW_CHECK(sizeof(ShareMsgGroupInfo) == 20, ShareMsgGroupInfo_is_20_bytes);
PCW_CHECK(sizeof(MyShareMsgGroupInfo) == 20, MyShareMsgGroupInfo_is_20_bytes);
PCW_CHECK(offsetof(DynamicMsgGroupInfo, msgs) == 16, DynamicMsgGroupInfo_msgs);
PCW_CHECK(offsetof(ShareMsgGroupInfo, msgs) == 16, ShareMsgGroupInfo_msgs);
PCW_CHECK(offsetof(MyShareMsgGroupInfo, msgs) == 16, MyShareMsgGroupInfo_msgs);
#endif

#ifdef __cplusplus
extern "C" {
#endif

/** @name Start-up and shut-down
 *  @{ */

/** Starts the library: the callback registry and the intake of pushes from
 *  the push center service. Call once after loading the library, with the
 *  user signed in. @return true, always (what could not be made is missing). */
PCW_API bool PCW_CALL PushWrapperInit(void);

/** Shuts the library down: stops the intake, drops every callback
 *  registration and every message held in memory (stored messages stay).
 *  Call once before unloading the library. @return true, always. */
PCW_API bool PCW_CALL PushWrapperUnInit(void);

/** @}
 *  @name Any kind
 *  The kind is one of kDynamicKind ... kAppUpdateKind; any other kind has no
 *  center: these answer 0, and PushClearMsg() answers true.
 *  @{ */

/** Marks every message of @p kind read. @return the unread figure before the
 *  call (dynamic), the number of messages turned read (system) or of groups
 *  that were unread (shares); 0 when nothing was unread. */
PCW_API uint32_t PCW_CALL PushUpdateReadStateByType(int32_t kind);
/** @return the number of messages (dynamic, system) or groups (shares) of
 *  @p kind held. */
PCW_API uint32_t PCW_CALL PushGetMsgCountByType(int32_t kind);
/** @return the unread count of @p kind, as the matching count function below answers it. */
PCW_API uint32_t PCW_CALL PushGetUnreadCountByType(int32_t kind);
/** Deletes every message of @p kind, in memory and on disk.
 *  @return false when the clear was cut short (or for kAppUpdateKind);
 *  true otherwise, and for a kind that does not exist. */
PCW_API bool PCW_CALL PushClearMsg(int32_t kind);
/** @return the sum of the dynamic, share and system unread counts (not the
 *  user's own shares). */
PCW_API uint32_t PCW_CALL PushGetAllUnreadMsgCount(void);
/** @return the unread figure of the application messages. */
PCW_API uint32_t PCW_CALL PushGetAllUnreadDynamicMsgCount(void);
/** @return the number of share groups holding unread shares. */
PCW_API uint32_t PCW_CALL PushGetAllUnreadShareMsgNum(void);
/** @return the number of unread system notices. */
PCW_API uint32_t PCW_CALL PushGetNewSystemMsgNum(void);

/** @}
 *  @name Application (dynamic) messages
 *  @{ */

/** Lists the applications' messages, the newest application first.
 *  @param maxGroups at most this many applications; 0: no limit.
 *  @param maxMsgs at most this many messages per application, the newest; 0: no limit.
 *  @param out set to an array of the returned number of groups, which the host
 *         gives back to PushFreeDynamicMsgGroupList(); untouched when 0 is returned.
 *  @param onlyUnread only applications and messages that are unread.
 *  @return the number of groups in *out; 0 when there is nothing to list. */
PCW_API uint32_t PCW_CALL PushGetDynamicMsg(uint32_t maxGroups, uint32_t maxMsgs,
                                            DynamicMsgGroupInfo** out, bool onlyUnread);
/** Lists one application's messages as a single group.
 *  @param appId the application.
 *  @param maxMsgs at most this many messages, the newest; 0: no limit.
 *  @param out set to a one-element array for PushFreeDynamicMsgGroupList(); set
 *         to null when 0 is returned.
 *  @param onlyUnread only the unread messages.
 *  @return the number of messages in the group. */
PCW_API uint32_t PCW_CALL PushGetDynamicMsgForApp(uint32_t appId, uint32_t maxMsgs,
                                                  DynamicMsgGroupInfo** out, bool onlyUnread);
/** @return what @p appId contributes to the unread figure. */
PCW_API uint32_t PCW_CALL PushGetUnreadDynamicMsgCountForApp(uint32_t appId);
/** Sets the unread count that the server holds for an application.
 *  @param appId the application.
 *  @param count its unread count on the server.
 *  @param originator the caller's owner id: its own registration is not told;
 *         0 tells everyone.
 *  @return false when no messages of @p appId are held. */
PCW_API bool PCW_CALL PushResetUnreadDynamicMsgCount(uint32_t appId, uint32_t count,
                                                     uint32_t originator);
/** Marks an application's messages read, in memory and on disk.
 *  @param appId the application.
 *  @param originator the caller's owner id (see PushResetUnreadDynamicMsgCount()).
 *  @param reportRead also tell the push center service that they were read.
 *  @return the number of messages newly marked read; 0 when all were read. */
PCW_API uint32_t PCW_CALL PushUpdateDynamicMsgReadState(uint32_t appId, uint32_t originator,
                                                        bool reportRead);
/** Deletes an application's messages, in memory and on disk.
 *  @param appId the application.
 *  @param originator the caller's owner id (see PushResetUnreadDynamicMsgCount()).
 *  @return the number of messages deleted from memory (0 when they were only stored). */
PCW_API uint32_t PCW_CALL PushDeleteDynamicMsg(uint32_t appId, uint32_t originator);
/** Shields @p appId: its messages are no longer received. @p unused is not
 *  read. @return true. */
PCW_API bool PCW_CALL PushShieldDynamicMsgForApp(uint32_t appId, uint32_t unused);
/** Releases a group list from PushGetDynamicMsg() or
 *  PushGetDynamicMsgForApp(), with every record in it. Null is ignored. */
PCW_API void PCW_CALL PushFreeDynamicMsgGroupList(DynamicMsgGroupInfo* groups);

/** @}
 *  @name Shares received
 *  @{ */

/** Lists the share groups, the newest first.
 *  @param groupLimit at most this many groups; 0: no limit.
 *  @param msgLimit at most this many shares per group, the newest; 0: no limit.
 *  @param out set to an array for PushFreeShareMsgGroupList(); untouched when 0
 *         is returned.
 *  @param unreadOnly only groups and shares that are unread.
 *  @return the number of groups in *out. */
PCW_API uint32_t PCW_CALL PushGetShareMsg(uint32_t groupLimit, uint32_t msgLimit,
                                          ShareMsgGroupInfo** out, bool unreadOnly);
/** Lists one group of received shares as a single group.
 *  @param appId the application.
 *  @param shareType the share type.
 *  @param msgLimit at most this many shares, the newest; 0: no limit.
 *  @param out set to a one-element array for PushFreeShareMsgGroupList(); set
 *         to null when 0 is returned.
 *  @param unreadOnly only the unread shares.
 *  @return the number of shares in the group. */
PCW_API uint32_t PCW_CALL PushGetShareMsgForApp(uint32_t appId, int32_t shareType,
                                                uint32_t msgLimit, ShareMsgGroupInfo** out,
                                                bool unreadOnly);
/** Marks the shares of @p appId and @p shareType read up to @p latestPushTime.
 *  @p unused is not read. @return the number of shares newly marked read. */
PCW_API uint32_t PCW_CALL PushUpdateShareMsgReadState(uint32_t appId, int32_t shareType,
                                                      uint32_t unused, uint32_t latestPushTime);
/** Deletes the group of @p appId whose newest share has @p latestPushTime, in
 *  memory and on disk. @return the number of shares of the deleted group; 0
 *  when none matched. */
PCW_API uint32_t PCW_CALL PushDeleteShareMsg(uint32_t appId, uint32_t latestPushTime);
/** Releases a group list from PushGetShareMsg() or PushGetShareMsgForApp(),
 *  with every record in it. Null is ignored. */
PCW_API void PCW_CALL PushFreeShareMsgGroupList(ShareMsgGroupInfo* groups);

/** @}
 *  @name The user's own shares
 *  @{ */

/** @return the number of groups of the user's own shares. */
PCW_API uint32_t PCW_CALL GetAllMyShareMsgNum(void);
/** Lists the user's own share groups, the newest first.
 *  @param groupLimit at most this many groups; 0: no limit.
 *  @param msgLimit at most this many shares per group, the newest; 0: no limit.
 *  @param out set to an array for FreeMyLocalShareMsgGroupList(); untouched
 *         when 0 is returned.
 *  @return the number of groups in *out. */
PCW_API uint32_t PCW_CALL GetMyShareMsg(uint32_t groupLimit, uint32_t msgLimit,
                                        MyShareMsgGroupInfo** out);
/** Adds shares the user made: @p group names the application and share type
 *  and holds msgCount records. The library copies what it keeps; @p group
 *  stays the host's. @return false when they could not be kept. */
PCW_API bool PCW_CALL AddMyShareMsg(const MyShareMsgGroupInfo* group);
/** Lists one group of the user's own shares as a single group.
 *  @param appId the application.
 *  @param shareType the share type.
 *  @param msgLimit at most this many shares, the newest; 0: no limit.
 *  @param out set to a one-element array for FreeMyLocalShareMsgGroupList();
 *         set to null when 0 is returned.
 *  @return the number of shares in the group. */
PCW_API uint32_t PCW_CALL GetMyShareMsgForApp(uint32_t appId, int32_t shareType,
                                              uint32_t msgLimit, MyShareMsgGroupInfo** out);
/** @return the description of the application of the last share type 2 group
 *  that was merged, or an empty text: a zero-terminated text of at most 599
 *  bytes that the library owns (not freed by the host; valid until the next
 *  call into the library). Null when the library could not hold the
 *  user's own shares. */
PCW_API const char* PCW_CALL getAppDesc(void);
/** Deletes the user's own group of @p appId; @p extra is passed on in the
 *  notification. @return the number of shares of the deleted group. */
PCW_API uint32_t PCW_CALL PushDeleteMyShareMsg(uint32_t appId, uint32_t extra);
/** Releases a group list from GetMyShareMsg() or GetMyShareMsgForApp(), with
 *  every record in it. Null is ignored. */
PCW_API void PCW_CALL FreeMyLocalShareMsgGroupList(MyShareMsgGroupInfo* groups);

/** @}
 *  @name System notices
 *  @{ */

/** Lists the system notices, the newest first.
 *  @param wanted at most this many notices; 0: all of them.
 *  @param out set to an array for PushFreeSystemMsgList(); untouched when 0 is
 *         returned.
 *  @param newOnly only the unread notices.
 *  @return the number of records in *out. */
PCW_API uint32_t PCW_CALL PushGetSystemMsg(uint32_t wanted, SystemMsgInfo** out, bool newOnly);
/** Sets the read state of notice @p msgId: the low byte of @p readState, 0
 *  unread, any other value read. @return 1 when it changed, else 0. */
PCW_API uint32_t PCW_CALL PushUpdateSystemMsgReadState(uint32_t msgId, uint32_t readState);
/** Deletes notice @p msgId pushed at @p pushTime, in memory and on disk.
 *  @return 1 when a notice held in memory was removed, else 0. */
PCW_API uint32_t PCW_CALL PushDeleteSystemMsg(uint32_t msgId, uint32_t pushTime);
/** Releases an array from PushGetSystemMsg(). Null is ignored. */
PCW_API void PCW_CALL PushFreeSystemMsgList(SystemMsgInfo* msgs);

/** @}
 *  @name Command callbacks
 *  @{ */

/** Registers a command callback.
 *  @param callback the host's function, not null; one registration each.
 *  @param userData passed back to the callback unchanged.
 *  @param ownerId the host's owner id for this registration, or 0; a change
 *         that the same owner id caused is not reported to it.
 *  @param kindMask the kind bits wanted (kDynamicBit ... kMyShareBit).
 *  @param eventMask the event bits wanted (kEventAdded, kEventDeleted, kEventReadState).
 *  @return false before PushWrapperInit() or after PushWrapperUnInit(), for
 *          a null or already registered callback. */
PCW_API bool PCW_CALL AddPushCommandCallback(PushCommandCallback callback, uintptr_t userData,
                                             uint32_t ownerId, uint32_t kindMask,
                                             uint32_t eventMask);
/** Removes the registration of @p callback. @return false when it was not
 *  registered or the library is not started. */
PCW_API bool PCW_CALL RemovePushCommandCallback(PushCommandCallback callback);

/** @} */

#ifdef __cplusplus
}
#endif

/** @return true when the application @p appId is shielded (see
 *  PushShieldDynamicMsgForApp()).
 *
 *  This export has C++ linkage: on Windows its name is the decorated
 *  `?PushIsShieldDynamicMsg@@YA_NK@Z` (bool __cdecl (unsigned long)), on
 *  Linux `_Z22PushIsShieldDynamicMsgj`. MSVC's C++ produces that name from the
 *  declaration below; GCC and Clang, in C and in C++, bind the declaration to
 *  it by an assembler name (GCC for 64-bit Windows calls it but cannot take
 *  its address). A C host of MSVC finds it with GetProcAddress. */
#if defined(PCW_BUILDING_LIBRARY) || defined(PCW_DOXYGEN)
PCW_API bool PCW_CALL PushIsShieldDynamicMsg(uint32_t appId);
#elif defined(_MSC_VER) && defined(__cplusplus)
PCW_API bool PCW_CALL PushIsShieldDynamicMsg(unsigned long appId);
#elif defined(__GNUC__) && defined(_WIN32)
#define PCW_SYMBOL_TEXT_(name) #name
#define PCW_SYMBOL_TEXT(name) PCW_SYMBOL_TEXT_(name)
#if defined(__clang__)
PCW_API bool PCW_CALL PushIsShieldDynamicMsg(uint32_t appId) __asm__(
    PCW_SYMBOL_TEXT(__USER_LABEL_PREFIX__) "?PushIsShieldDynamicMsg@@YA_NK@Z");
#else
/* GCC's assembler takes a name with '?' and '@' only in quotes, and a quoted
   name cannot be given dllimport's prefix: the call goes through the import
   library's stub instead. On x86-64 GCC cannot take the address of such a
   name either; a host that needs the address uses GetProcAddress. */
bool PCW_CALL PushIsShieldDynamicMsg(uint32_t appId) __asm__(
    "\"" PCW_SYMBOL_TEXT(__USER_LABEL_PREFIX__) "?PushIsShieldDynamicMsg@@YA_NK@Z\"");
#endif
#elif defined(__GNUC__)
PCW_API bool PCW_CALL PushIsShieldDynamicMsg(uint32_t appId) __asm__("_Z22PushIsShieldDynamicMsgj");
#endif

#endif /* PUSHCENTERWRAPPER_H */
