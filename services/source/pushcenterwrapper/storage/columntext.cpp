#include "storage/columntext.h"

#include <cstring>

void SetColumnText(Buffer& column, const std::string& text, bool emptyAsNothing) {
  if (text.empty() && emptyAsNothing) {
    column.CopyFrom(nullptr, 0);
  } else {
    column.CopyFrom(text.c_str(), static_cast<uint32_t>(text.size() + 1));
  }
}

std::string ColumnToText(const Buffer& column) {
  const char* bytes = reinterpret_cast<const char*>(column.GetNativeBuf());
  if (bytes == nullptr) return std::string();
  const void* end = std::memchr(bytes, 0, column.GetSize());
  const size_t length =
      end != nullptr ? static_cast<size_t>(static_cast<const char*>(end) - bytes) : column.GetSize();
  return std::string(bytes, length);
}
