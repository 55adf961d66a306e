#include "storage/rowwriter.h"

#include "modules/halyx_localdatabase_wrapper.h"

namespace {

template <class Setter, class Value>
bool Set(Setter LocalDatabaseTable::*entry, uint32_t table, const char* column, const Value& value) {
  auto set = LocalDb(entry);
  return set != nullptr && set(table, column, value);
}

}  // namespace

void RowWriter::Int(const char* column, uint32_t value) {
  ok_ = ok_ && Set(&LocalDatabaseTable::SetIntField, table_, column, value);
}

void RowWriter::Number(const char* column, int32_t value) {
  ok_ = ok_ && Set(&LocalDatabaseTable::SetNumberField, table_, column, static_cast<uint32_t>(value));
}

void RowWriter::Bytes(const char* column, const Buffer& value) {
  ok_ = ok_ && Set(&LocalDatabaseTable::SetBufferField, table_, column, value);
}

void RowWriter::Text(const char* column, const char* value) {
  ok_ = ok_ && Set(&LocalDatabaseTable::SetTextField, table_, column, value);
}
