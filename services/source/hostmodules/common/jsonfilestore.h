// Small key/value store of a module, kept as one JSON file in the data root.
//
// Values live in memory, keyed by the data root they came from and the time
// the file was last written: every call first asks for the documents folder
// and the file's time again and, only when either changed (another user's folder, a
// file that was removed or rewritten by another process), drops what it holds
// and loads the file again. File times may be as coarse as a second, so a
// rewrite within the second of the last one can go unnoticed. A file that is missing or not
// valid JSON reads as empty. Every change rewrites the whole file through a
// temporary file renamed over it, so the file on disk is always either the old
// or the new content, never half of one.
//
// Several processes may share a data root, and several threads a module: a
// change holds this store's lock and the lock file "<file>.lock" while it
// reads the file again, changes it and writes it back, so no update of
// another thread or process is lost.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "common/threadlock.h"

namespace halyx {

class JsonFileStore {
 public:
  explicit JsonFileStore(const char* fileName);

  JsonFileStore(const JsonFileStore&) = delete;
  JsonFileStore& operator=(const JsonFileStore&) = delete;

  // 0 when the key was never set.
  uint32_t GetNumber(const std::string& key);
  // False when the key was never set; *value is then left alone.
  bool GetText(const std::string& key, std::string* value);

  // False when the data root is unknown or the file cannot be written; the
  // value in memory then stays what it was.
  bool SetNumber(const std::string& key, uint32_t value);
  bool SetText(const std::string& key, const std::string& value);

 private:
  using Numbers = std::map<std::string, uint32_t>;
  using Texts = std::map<std::string, std::string>;

  void Follow();
  void Load();
  void Read();
  std::filesystem::path LockFile() const;
  std::filesystem::file_time_type FileStamp() const;
  bool Update(const std::function<void(Numbers&, Texts&)>& edit);
  bool Save(const Numbers& numbers, const Texts& texts) const;

  ThreadLock lock_;

  std::string fileName_;
  bool loaded_ = false;
  // The documents folder as the shell gave it: the data root is built from it
  // only when it changes, as building a path costs more than reading values.
  std::string documents_;  // its UTF-16 units as bytes
  std::filesystem::path root_;  // the data root whose values are in memory
  std::filesystem::path file_;  // the file in it; empty while root_ is
  std::filesystem::file_time_type stamp_;  // the file's time when it was read; min when missing
  Numbers numbers_;
  Texts texts_;
};

}  // namespace halyx
