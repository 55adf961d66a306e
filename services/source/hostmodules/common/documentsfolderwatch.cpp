#include "common/documentsfolderwatch.h"

#include <cstring>

#if defined(_WIN32)
#include "platform/win32.h"
#else
extern char** environ;  // declared by the program, as POSIX has it
#endif

namespace halyx {

#if defined(_WIN32)

bool DocumentsFolderWatch::Moved() {
  WCHAR folder[MAX_PATH + 1];
  size_t length = 0;
  if (SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PERSONAL, FALSE)) {
    while (length < MAX_PATH && folder[length] != 0) ++length;
  }
  const char* bytes = reinterpret_cast<const char*>(folder);
  const size_t size = length * sizeof(WCHAR);
  if (known_ && folder_.compare(0, std::string::npos, bytes, size) == 0) {
    return false;
  }
  folder_.assign(bytes, size);
  known_ = true;
  return true;
}

#else

namespace {

// Records the value of a variable named by prefix ("NAME=") in its slot,
// unless an earlier entry already did: the first entry of a name is the one
// that counts, as for getenv.
void Take(const char* entry, const char* prefix, size_t length, const char** slot) {
  if (*slot == nullptr && std::strncmp(entry, prefix, length) == 0) {
    *slot = entry + length;
  }
}

bool Same(const char* was, const std::string& wasText, const char* now) {
  return now == nullptr ? was == nullptr : was != nullptr && std::strcmp(wasText.c_str(), now) == 0;
}

}  // namespace

bool DocumentsFolderWatch::SameEntries() const {
  char** now = environ;
  if (now == nullptr || entries_.empty()) {
    return false;
  }
  // Stops at the first pointer that differs, so at the latest at the current
  // array's null: nothing past its end is read.
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (now[i] != entries_[i]) return false;
  }
  return true;
}

bool DocumentsFolderWatch::SameValues(const char* documents, const char* home) const {
  return Same(documentsAt_, documents_, documents) && Same(homeAt_, home_, home);
}

void DocumentsFolderWatch::Remember(const char* documents, const char* home) {
  entries_.clear();
  for (char** entry = environ; entry != nullptr; ++entry) {
    entries_.push_back(*entry);
    if (*entry == nullptr) break;
  }
  documentsAt_ = documents;
  homeAt_ = home;
  documents_.assign(documents != nullptr ? documents : "");
  home_.assign(home != nullptr ? home : "");
}

bool DocumentsFolderWatch::Moved() {
  if (known_ && SameEntries() && SameValues(documentsAt_, homeAt_)) {
    return false;
  }
  static const char kDocuments[] = "XDG_DOCUMENTS_DIR=";
  static const char kHome[] = "HOME=";
  const char* documents = nullptr;
  const char* home = nullptr;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    // The first letter sorts out nearly every entry without a call.
    const char first = **entry;
    if (first == 'X') {
      Take(*entry, kDocuments, sizeof(kDocuments) - 1, &documents);
    } else if (first == 'H') {
      Take(*entry, kHome, sizeof(kHome) - 1, &home);
    }
  }
  const bool moved = !known_ || !SameValues(documents, home);
  Remember(documents, home);
  known_ = true;
  return moved;
}

#endif

}  // namespace halyx
