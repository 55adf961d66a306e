// RowWriter: sets the fields of the row that AddRow has just begun, one column
// after the other, for every storage's table.
//
// After the first refusal the remaining fields are skipped and the row counts
// as failed; the row is still posted with what was set.
#pragma once

#include <cstdint>

#include "halyx/buffer.h"

class RowWriter {
 public:
  explicit RowWriter(uint32_t table) : table_(table) {}

  void Int(const char* column, uint32_t value);
  void Int(const char* column, int32_t value) { Int(column, static_cast<uint32_t>(value)); }
  // A column that the table declares as a plain number rather than an integer.
  void Number(const char* column, int32_t value);
  void Bytes(const char* column, const Buffer& value);
  // A column of text, written up to its terminating zero.
  void Text(const char* column, const char* value);
  bool Ok() const { return ok_; }

 private:
  uint32_t table_;
  bool ok_ = true;
};
