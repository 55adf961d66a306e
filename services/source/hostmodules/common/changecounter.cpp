#include "common/changecounter.h"

#if defined(_WIN32)
#include "platform/win32.h"
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace halyx {
namespace {

// The count sits past the lock file's first byte, the one FileLock locks:
// Windows refuses other handles' access to a locked byte.
const size_t kOffset = 8;
const size_t kSize = kOffset + sizeof(uint32_t);

}  // namespace

ChangeCounter::~ChangeCounter() { Unmap(); }

// Loads and adds go to memory that other processes change: atomic, so that a
// reader sees a count no older than the file it then reads.
uint32_t ChangeCounter::Value() const {
  return count_ ? __atomic_load_n(count_, __ATOMIC_ACQUIRE) : 0;
}

void ChangeCounter::Add() {
  if (count_) __atomic_fetch_add(count_, 1u, __ATOMIC_ACQ_REL);
}

#if defined(_WIN32)

namespace {

bool Identity(HANDLE file, BY_HANDLE_FILE_INFORMATION* info) {
  return GetFileInformationByHandle(file, info) != 0;
}

}  // namespace

bool ChangeCounter::Map(const std::filesystem::path& file) {
  Unmap();
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return false;
  }
  // A mapping longer than the file lengthens it with zeros, never shortens it.
  HANDLE mapping = CreateFileMappingW(handle, nullptr, PAGE_READWRITE, 0, kSize, nullptr);
  void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, kSize)
                       : nullptr;
  if (mapping) CloseHandle(mapping);  // the view keeps what it needs
  if (!view) {
    CloseHandle(handle);
    return false;
  }
  handle_ = handle;
  view_ = view;
  count_ = reinterpret_cast<uint32_t*>(static_cast<char*>(view) + kOffset);
  return true;
}

void ChangeCounter::Unmap() {
  if (!view_) return;
  UnmapViewOfFile(view_);
  CloseHandle(handle_);
  view_ = nullptr;
  handle_ = nullptr;
  count_ = nullptr;
}

bool ChangeCounter::Names(const std::filesystem::path& file) const {
  if (!view_) return false;
  HANDLE other = CreateFileW(file.c_str(), FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (other == INVALID_HANDLE_VALUE) {
    return false;
  }
  BY_HANDLE_FILE_INFORMATION mine = {};
  BY_HANDLE_FILE_INFORMATION theirs = {};
  const bool same = Identity(handle_, &mine) && Identity(other, &theirs) &&
                    mine.dwVolumeSerialNumber == theirs.dwVolumeSerialNumber &&
                    mine.nFileIndexHigh == theirs.nFileIndexHigh &&
                    mine.nFileIndexLow == theirs.nFileIndexLow;
  CloseHandle(other);
  return same;
}

#else

bool ChangeCounter::Map(const std::filesystem::path& file) {
  Unmap();
  const int descriptor = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    return false;
  }
  // Lengthened only while shorter: processes that race here all write the
  // same length, so none cuts a count another one has already added to.
  struct stat info;
  void* view = MAP_FAILED;
  if (fstat(descriptor, &info) == 0 &&
      (info.st_size >= static_cast<off_t>(kSize) || ftruncate(descriptor, kSize) == 0)) {
    view = mmap(nullptr, kSize, PROT_READ | PROT_WRITE, MAP_SHARED, descriptor, 0);
  }
  close(descriptor);  // the mapping keeps the file
  if (view == MAP_FAILED) {
    return false;
  }
  view_ = view;
  device_ = static_cast<uint64_t>(info.st_dev);
  inode_ = static_cast<uint64_t>(info.st_ino);
  count_ = reinterpret_cast<uint32_t*>(static_cast<char*>(view) + kOffset);
  return true;
}

void ChangeCounter::Unmap() {
  if (!view_) return;
  munmap(view_, kSize);
  view_ = nullptr;
  count_ = nullptr;
}

bool ChangeCounter::Names(const std::filesystem::path& file) const {
  struct stat info;
  return view_ && stat(file.c_str(), &info) == 0 && static_cast<uint64_t>(info.st_dev) == device_ &&
         static_cast<uint64_t>(info.st_ino) == inode_;
}

#endif

}  // namespace halyx
