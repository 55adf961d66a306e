// RowReader: reads the fields of the row that NextRow has just reached, one
// column after the other, for every storage's table.
//
// After the first failed read the remaining ones are skipped, and the row is
// not to be kept: the caller drops it, and with it whatever was read into it.
// Byte runs that the service hands out pass straight into their Buffer, so
// nothing read is lost on any path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "halyx/buffer.h"

class RowReader {
 public:
  explicit RowReader(uint32_t table) : table_(table) {}

  void Int(const char* column, uint32_t& value);
  void Int(const char* column, int32_t& value);
  // A column that the table declares as a plain number rather than an integer.
  void Number(const char* column, int32_t& value);
  void Bytes(const char* column, Buffer& value);
  // A byte column as a text: its bytes up to the first zero, never past its
  // size. The service's copy goes at once, so that rows read one after the
  // other reuse the same memory.
  void Bytes(const char* column, std::string& text);
  // A column of text into a fixed field: at most its size less one characters
  // and a terminating zero; a column without text leaves the field as it was.
  template <size_t N>
  void Text(const char* column, char (&field)[N]) {
    TextInto(column, field, N);
  }
  // A read that succeeded but gave a value the row cannot hold.
  void Refuse() { ok_ = false; }
  bool Ok() const { return ok_; }

 private:
  // The column's bytes as the service handed them out; null when the read
  // failed (ok_ is then false) or the column has none.
  std::unique_ptr<uint8_t[]> FetchBytes(const char* column, uint32_t& size);
  void TextInto(const char* column, char* field, size_t capacity);

  uint32_t table_;
  bool ok_ = true;
};
