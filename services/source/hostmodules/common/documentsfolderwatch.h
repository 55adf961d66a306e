// Tells a module's settings reads, cheaply, whether the documents folder (and
// so the data root) may have moved since the last time they looked: they ask
// at every read, and building the folder's path costs more than reading a
// value.
//
// On POSIX systems the folder is a function of the environment alone (the
// system layer takes XDG_DOCUMENTS_DIR, else HOME). The environment is an
// array of pointers to "NAME=value" texts, and setting or removing a variable
// changes the array. So while the array holds the very pointers it held at the
// last look, and the two values found then still read as they did (a text
// may be rewritten in place), the folder is the one it was; only otherwise is
// the environment searched again. No path is built and no text converted.
// On Windows the shell is asked and its answer compared with the last one.
#pragma once

#include <string>
#include <vector>

namespace halyx {

class DocumentsFolderWatch {
 public:
  // True at the first call, after Forget(), and whenever what decides the
  // folder differs from what it was at the previous call.
  bool Moved();
  void Forget() { known_ = false; }

 private:
  bool known_ = false;
#if defined(_WIN32)
  std::string folder_;  // the shell's answer, its UTF-16 units as bytes
#else
  bool SameEntries() const;
  bool SameValues(const char* documents, const char* home) const;
  void Remember(const char* documents, const char* home);

  std::vector<const char*> entries_;  // environ as last seen, its null included
  // Where each variable's value was at the last look (null: not set), and
  // the value then.
  const char* documentsAt_ = nullptr;
  const char* homeAt_ = nullptr;
  std::string documents_;
  std::string home_;
#endif
};

}  // namespace halyx
