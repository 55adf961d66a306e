#include "common/jsonfilestore.h"

#include <json-c/json.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <new>
#include <system_error>

#include "common/coarseclock.h"
#include "common/dataroot.h"
#include "common/filelock.h"

namespace halyx {
namespace {

struct JsonPut {
  void operator()(json_object* object) const { json_object_put(object); }
};
using JsonOwner = std::unique_ptr<json_object, JsonPut>;

const char kNumbers[] = "numbers";
const char kTexts[] = "texts";

}  // namespace

JsonFileStore::JsonFileStore(const char* fileName) : fileName_(fileName) {}

void JsonFileStore::Follow() {
  const bool sameRoot = !documents_.Moved() && loaded_;
  if (sameRoot && Current()) {
    return;
  }
  if (!sameRoot) {
    root_ = CurrentDataRoot();
    file_ = root_.empty() ? std::filesystem::path() : root_ / fileName_;
    lockFile_ = file_;
    if (!file_.empty()) lockFile_ += ".lock";
    counter_.Unmap();  // another root's count, or none while root_ is empty
  }
  loaded_ = true;
  Load();
}

bool JsonFileStore::Current() {
  if (!counter_.mapped()) {
    // No count (no folder yet, or one this process may not write): the
    // file's time at every read. A file that appears loads again, and that
    // load maps the count once it can.
    return FileStamp() == stamp_;
  }
  if (counter_.Value() != seenCount_) {
    return false;
  }
  const uint32_t now = CoarseMilliseconds();
  if (now - checkedAt_ < kRecheckMilliseconds) {
    return true;
  }
  // Now and then the files themselves, for what no module counted: a file
  // edited or removed by hand, or a lock file removed and made anew by the
  // next writer, who counts in the new one.
  checkedAt_ = now;
  return counter_.Names(lockFile_) && FileStamp() == stamp_;
}

std::filesystem::file_time_type JsonFileStore::FileStamp() const {
  std::error_code error;
  if (file_.empty()) {
    return std::filesystem::file_time_type::min();
  }
  const auto stamp = std::filesystem::last_write_time(file_, error);
  return error ? std::filesystem::file_time_type::min() : stamp;
}

void JsonFileStore::Load() {
  numbers_.clear();
  texts_.clear();
  if (!root_.empty() && !(counter_.mapped() && counter_.Names(lockFile_))) {
    counter_.Map(lockFile_);
  }
  // The count first: a change made after it shows as a count not seen.
  seenCount_ = counter_.Value();
  checkedAt_ = CoarseMilliseconds();
  stamp_ = FileStamp();
  if (root_.empty() || stamp_ == std::filesystem::file_time_type::min()) {
    return;
  }
  // Windows cannot replace a file that is open for reading, so a reader waits
  // for a writer of another process as well; in a folder where the lock
  // cannot be taken, nothing is written either, and the file is read as is.
  FileLock lock(lockFile_);
  seenCount_ = counter_.Value();
  stamp_ = FileStamp();
  Read();
}

void JsonFileStore::Read() {
  numbers_.clear();
  texts_.clear();
  std::ifstream in(file_, std::ios::binary);
  if (!in) {
    return;
  }
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  JsonOwner document(json_tokener_parse(content.c_str()));
  if (!document || !json_object_is_type(document.get(), json_type_object)) {
    return;
  }
  json_object* numbers = nullptr;
  if (json_object_object_get_ex(document.get(), kNumbers, &numbers) &&
      json_object_is_type(numbers, json_type_object)) {
    json_object_object_foreach(numbers, key, value) {
      if (json_object_is_type(value, json_type_int)) {
        numbers_[key] = static_cast<uint32_t>(json_object_get_int64(value));
      }
    }
  }
  json_object* texts = nullptr;
  if (json_object_object_get_ex(document.get(), kTexts, &texts) &&
      json_object_is_type(texts, json_type_object)) {
    json_object_object_foreach(texts, key, value) {
      if (json_object_is_type(value, json_type_string)) {
        texts_[key] = std::string(json_object_get_string(value),
                                  static_cast<size_t>(json_object_get_string_len(value)));
      }
    }
  }
}

bool JsonFileStore::Save(const Numbers& numbers, const Texts& texts) const {
  if (root_.empty()) {
    return false;
  }
  JsonOwner document(json_object_new_object());
  json_object* numberObject = json_object_new_object();
  json_object* textObject = json_object_new_object();
  if (!document || !numberObject || !textObject) {
    json_object_put(numberObject);
    json_object_put(textObject);
    return false;
  }
  json_object_object_add(document.get(), kNumbers, numberObject);
  json_object_object_add(document.get(), kTexts, textObject);
  for (const auto& entry : numbers) {
    json_object_object_add(numberObject, entry.first.c_str(), json_object_new_int64(entry.second));
  }
  for (const auto& entry : texts) {
    json_object_object_add(
        textObject, entry.first.c_str(),
        json_object_new_string_len(entry.second.data(), static_cast<int>(entry.second.size())));
  }
  const char* text = json_object_to_json_string_ext(document.get(), JSON_C_TO_STRING_PRETTY);
  if (!text) {
    return false;
  }

  std::error_code error;
  const std::filesystem::path& target = file_;
  std::filesystem::path temporary = target;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) {
      out.close();
      std::filesystem::remove(temporary, error);
      return false;
    }
  }
  std::filesystem::rename(temporary, target, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  return true;
}

uint32_t JsonFileStore::GetNumber(std::string_view key) {
  ThreadLock::Hold hold(lock_);
  Follow();
  auto found = numbers_.find(key);
  return found == numbers_.end() ? 0 : found->second;
}

char* JsonFileStore::CopyText(std::string_view key) {
  ThreadLock::Hold hold(lock_);
  Follow();
  auto found = texts_.find(key);
  if (found == texts_.end()) {
    return nullptr;
  }
  const std::string& text = found->second;
  char* copy = new (std::nothrow) char[text.size() + 1];
  if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

bool JsonFileStore::SetNumber(const std::string& key, uint32_t value) {
  ThreadLock::Hold hold(lock_);
  return Update([&](Numbers& numbers, Texts&) { numbers[key] = value; });
}

bool JsonFileStore::SetText(const std::string& key, const std::string& value) {
  ThreadLock::Hold hold(lock_);
  return Update([&](Numbers&, Texts& texts) { texts[key] = value; });
}

void JsonFileStore::Release() {
  ThreadLock::Hold hold(lock_);
  counter_.Unmap();
  numbers_.clear();
  texts_.clear();
  documents_.Forget();
  loaded_ = false;
}

bool JsonFileStore::Update(const std::function<void(Numbers&, Texts&)>& edit) {
  Follow();
  if (root_.empty()) {
    return false;
  }
  std::error_code error;
  std::filesystem::create_directories(root_, error);
  if (error) {
    return false;
  }
  FileLock lock(lockFile_);
  // A change that no reader can count is not made: another process would
  // go on reading what it had.
  if (!lock.held() || (!counter_.mapped() && !counter_.Map(lockFile_))) {
    return false;
  }
  // Read again under the lock whatever the count says: a lock file made
  // anew by hand counts from 0 again, and its count may match ours.
  Read();
  Numbers numbers = numbers_;
  Texts texts = texts_;
  edit(numbers, texts);
  const bool saved = Save(numbers, texts);
  if (saved) {
    numbers_.swap(numbers);
    texts_.swap(texts);
    counter_.Add();
  }
  seenCount_ = counter_.Value();
  checkedAt_ = CoarseMilliseconds();
  stamp_ = FileStamp();
  return saved;
}

}  // namespace halyx
