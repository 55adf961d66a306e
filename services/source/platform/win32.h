// The Windows kernel and shell subset that library and module code may call.
//
// On Windows this is <windows.h> and <shlobj.h> and nothing else. Elsewhere it
// declares the same names with Windows' exact widths and return conventions;
// win32_posix.cpp implements them on top of POSIX. No other file of the
// project branches on the platform to reach the operating system.
#pragma once

#if defined(_WIN32)

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shlobj.h>

// Wide text literal: L"..." here, u"..." on POSIX, so that code outside this
// header never spells a wchar_t literal.
#define W32_TEXT(s) L##s

#else  // POSIX

#include <cstdint>

typedef uint32_t DWORD;
typedef int32_t BOOL;
typedef uint32_t UINT;
typedef char16_t WCHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* HMODULE;
typedef void* HWND;
typedef void (*FARPROC)();

static_assert(sizeof(DWORD) == 4, "DWORD is 32 bits on every target");
static_assert(sizeof(BOOL) == 4, "BOOL is 32 bits on every target");
static_assert(sizeof(WCHAR) == 2, "WCHAR is a UTF-16 code unit");

#define W32_TEXT(s) u##s

#define WINAPI
#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define CP_UTF8 65001u
#define CSIDL_PERSONAL 0x0005
#define CSIDL_FLAG_CREATE 0x8000
#define MB_ERR_INVALID_CHARS 0x00000008u
#define WC_ERR_INVALID_CHARS 0x00000080u

#define INVALID_FILE_ATTRIBUTES (static_cast<DWORD>(0xFFFFFFFFu))
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_GEN_FAILURE 31L
#define ERROR_FILE_EXISTS 80L
#define ERROR_DISK_FULL 112L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_PROC_NOT_FOUND 127L
#define ERROR_BAD_PATHNAME 161L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_BAD_EXE_FORMAT 193L
#define ERROR_ENVVAR_NOT_FOUND 203L
#define ERROR_FILENAME_EXCED_RANGE 206L
#define ERROR_INVALID_FLAGS 1004L
#define ERROR_NO_UNICODE_TRANSLATION 1113L

struct SECURITY_ATTRIBUTES;

DWORD GetLastError();
void SetLastError(DWORD error);

// dlopen(RTLD_NOW) of the path with '\' turned into '/'; null on failure.
HMODULE LoadLibraryW(LPCWSTR fileName);
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
BOOL FreeLibrary(HMODULE module);

// Copies the variable, converted to UTF-16, with its terminator when it fits
// and returns its length without the terminator; when it does not fit,
// returns the size needed including the terminator. 0 when it is not set.
DWORD GetEnvironmentVariableW(LPCWSTR name, LPWSTR buffer, DWORD size);

// Code page CP_UTF8 only. A length of -1 includes the terminator in the count;
// a room of 0 asks for the size. Invalid input becomes U+FFFD (one per
// maximal invalid subsequence), or fails with ERROR_NO_UNICODE_TRANSLATION
// under MB_ERR_INVALID_CHARS / WC_ERR_INVALID_CHARS. A room that is too small
// fails with ERROR_INSUFFICIENT_BUFFER; nothing is written past the room.
// For CP_UTF8, defaultChar and usedDefault must be null.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength,
                        LPWSTR target, int targetRoom);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength,
                        LPSTR target, int targetRoom, LPCSTR defaultChar, BOOL* usedDefault);

// FILE_ATTRIBUTE_DIRECTORY or FILE_ATTRIBUTE_NORMAL; INVALID_FILE_ATTRIBUTES
// with ERROR_FILE_NOT_FOUND (or ERROR_PATH_NOT_FOUND when a parent is missing).
DWORD GetFileAttributesW(LPCWSTR fileName);

// CSIDL_PERSONAL only: $XDG_DOCUMENTS_DIR, else $HOME/Documents, written with
// its terminator into path, which must hold MAX_PATH units. With create set,
// the folder and its missing parents are made.
BOOL SHGetSpecialFolderPathW(HWND owner, LPWSTR path, int csidl, BOOL create);

// Creates the folder and every missing parent. Returns (and sets as the last
// error) ERROR_SUCCESS, ERROR_ALREADY_EXISTS when the folder is already there,
// ERROR_BAD_PATHNAME for a relative path, else the failing step's error.
int SHCreateDirectoryExW(HWND owner, LPCWSTR path, const SECURITY_ATTRIBUTES* attributes);

// A recursive lock, as Windows' critical section is: the thread that holds it
// may enter it again and leaves it as often as it entered. The storage is
// opaque here so that no system header reaches the code that includes this
// one; win32_posix_lock.cpp keeps a recursive pthread mutex in it. A section
// is initialised once before use and deleted once after its last use.
struct CRITICAL_SECTION {
  alignas(16) unsigned char opaque[64];
};
typedef CRITICAL_SECTION* LPCRITICAL_SECTION;

void InitializeCriticalSection(LPCRITICAL_SECTION section);
void EnterCriticalSection(LPCRITICAL_SECTION section);
void LeaveCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);

// Lets another ready thread run on this core; nonzero when one did.
BOOL SwitchToThread();
// Suspends the calling thread for at least that many milliseconds.
void Sleep(DWORD milliseconds);

#endif  // _WIN32

// What GetProcAddress returned, as the entry point's real type. FARPROC's own
// type differs between systems and mingw warns on a direct cast; the detour
// through void (*)() is the conversion every compiler takes without a warning.
template <typename Function>
Function ProcAs(FARPROC proc) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}
