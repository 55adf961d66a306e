#include "storage/rowreader.h"

#include <cstring>
#include <memory>

#include "modules/halyx_localdatabase_wrapper.h"

void RowReader::Int(const char* column, uint32_t& value) {
  auto get = LocalDb(&LocalDatabaseTable::GetIntField);
  ok_ = ok_ && get != nullptr && get(table_, column, &value);
}

void RowReader::Int(const char* column, int32_t& value) {
  uint32_t raw = 0;
  Int(column, raw);
  if (ok_) value = static_cast<int32_t>(raw);
}

void RowReader::Number(const char* column, int32_t& value) {
  auto get = LocalDb(&LocalDatabaseTable::GetNumberField);
  uint32_t raw = 0;
  ok_ = ok_ && get != nullptr && get(table_, column, &raw);
  if (ok_) value = static_cast<int32_t>(raw);
}

std::unique_ptr<uint8_t[]> RowReader::FetchBytes(const char* column, uint32_t& size) {
  auto get = LocalDb(&LocalDatabaseTable::GetBufferField);
  uint8_t* bytes = nullptr;
  size = 0;
  ok_ = get != nullptr && get(table_, column, &bytes, &size);
  // The service allocates with new[]; whatever it handed out is owned here.
  std::unique_ptr<uint8_t[]> owned(bytes);
  if (!ok_) owned.reset();
  return owned;
}

void RowReader::Bytes(const char* column, Buffer& value) {
  if (!ok_) return;
  uint32_t size = 0;
  std::unique_ptr<uint8_t[]> owned = FetchBytes(column, size);
  // The Buffer releases with delete[] too.
  if (owned != nullptr) value.Attach(owned.release(), size);
}

void RowReader::Bytes(const char* column, std::string& text) {
  if (!ok_) return;
  uint32_t size = 0;
  std::unique_ptr<uint8_t[]> owned = FetchBytes(column, size);
  if (owned == nullptr) return;
  const char* begin = reinterpret_cast<const char*>(owned.get());
  const void* end = std::memchr(begin, 0, size);
  // Built anew and moved in: the row's text starts empty.
  text = std::string(begin, end != nullptr ? static_cast<const char*>(end) - begin : size);
}

void RowReader::TextInto(const char* column, char* field, size_t capacity) {
  if (!ok_) return;
  auto get = LocalDb(&LocalDatabaseTable::GetTextField);
  char* raw = nullptr;
  ok_ = get != nullptr && get(table_, column, &raw);
  std::unique_ptr<char[]> text(raw);
  if (!ok_ || text == nullptr) return;
  const size_t length = strnlen(text.get(), capacity - 1);
  std::memcpy(field, text.get(), length);
  field[length] = '\0';
}
