// Small key/value store of a module, kept as one JSON file in the data root.
//
// Values live in memory, keyed by the data root they came from. A read looks
// whether the documents folder may have moved (DocumentsFolderWatch: another
// user's folder is followed at once) and at the change count that every writer
// of any process adds to (ChangeCounter, in the file's lock file): a change
// made through the modules is seen at the next read, without a system call. A
// change made behind the modules' back (a file edited or removed by hand) is
// seen within kRecheckMilliseconds, when a read looks at the file's time again;
// Release() forgets everything at once. Where no count can be kept (a folder
// this process may not write), every read looks at the file's time, which may
// be as coarse as a second. A file that is missing or not valid JSON reads as
// empty. Every change rewrites the whole file through a temporary file renamed
// over it, so the file on disk is always either the old or the new content,
// never half of one.
//
// Several processes may share a data root, and several threads a module: a
// change holds this store's lock and the lock file "<file>.lock" while it
// reads the file again, changes it, writes it back and counts the change, so
// no update of another thread or process is lost.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "common/changecounter.h"
#include "common/documentsfolderwatch.h"
#include "common/threadlock.h"

namespace halyx {

class JsonFileStore {
 public:
  explicit JsonFileStore(const char* fileName);

  JsonFileStore(const JsonFileStore&) = delete;
  JsonFileStore& operator=(const JsonFileStore&) = delete;

  // 0 when the key was never set.
  uint32_t GetNumber(std::string_view key);
  // A copy of the text, zero-terminated, in an array of new[] that the caller
  // deletes; null when the key was never set or memory ran out.
  char* CopyText(std::string_view key);

  // False when the data root is unknown or the file cannot be written; the
  // value in memory then stays what it was.
  bool SetNumber(const std::string& key, uint32_t value);
  bool SetText(const std::string& key, const std::string& value);

  // Forgets the values in memory and lets go of every file held open, so
  // that the data root can be removed (Windows removes no open file); the
  // next call reads the file again.
  void Release();

  // The longest a change made by hand goes unseen.
  static const uint32_t kRecheckMilliseconds = 50;

 private:
  // Keys compare with any text (std::less<>), so that a read finds its key
  // without building a std::string.
  using Numbers = std::map<std::string, uint32_t, std::less<>>;
  using Texts = std::map<std::string, std::string, std::less<>>;

  void Follow();
  bool Current();
  void Load();
  void Read();
  std::filesystem::file_time_type FileStamp() const;
  bool Update(const std::function<void(Numbers&, Texts&)>& edit);
  bool Save(const Numbers& numbers, const Texts& texts) const;

  ThreadLock lock_;

  std::string fileName_;
  bool loaded_ = false;
  // The data root is built again only when the documents folder may have
  // moved, as building a path costs more than reading values.
  DocumentsFolderWatch documents_;
  std::filesystem::path root_;  // the data root whose values are in memory
  std::filesystem::path file_;  // the file in it; empty while root_ is
  std::filesystem::path lockFile_;  // "<file_>.lock"
  std::filesystem::file_time_type stamp_;  // the file's time when it was read; min when missing
  ChangeCounter counter_;  // the writers' count for file_, when it can be mapped
  uint32_t seenCount_ = 0;  // the count when the values were read
  uint32_t checkedAt_ = 0;  // CoarseMilliseconds() when the file's time was last looked at
  Numbers numbers_;
  Texts texts_;
};

}  // namespace halyx
