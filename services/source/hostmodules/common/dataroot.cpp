#include "common/dataroot.h"

#include <string>

#include "platform/win32.h"

namespace halyx {

std::filesystem::path CurrentDataRoot() {
  WCHAR documents[MAX_PATH + 1] = {};
  if (!SHGetSpecialFolderPathW(nullptr, documents, CSIDL_PERSONAL, FALSE) || documents[0] == 0) {
    return {};
  }
  // The path converts from UTF-16 to the native encoding, which throws on text
  // that has no such form; such a folder counts as not found.
  try {
    const std::filesystem::path root{std::basic_string<WCHAR>(documents)};
    return root / "Corvane Files" / "Halyx";
  } catch (...) {
    return {};
  }
}

}  // namespace halyx
