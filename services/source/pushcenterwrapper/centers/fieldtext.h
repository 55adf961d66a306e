// Texts in the fixed-size fields of the records that cross to the host.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

// Writes at most N - 1 bytes of text and a terminating zero; the bytes after
// the terminator keep what the zero-filled allocation put there. The cut is
// by bytes, so it may split a UTF-8 sequence.
template <size_t N>
void CopyToField(char (&field)[N], const std::string& text) {
  const size_t length = text.size() < N - 1 ? text.size() : N - 1;
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

// A field that the host filled, which may lack a terminator: the bytes before
// the first zero, never more than N - 1 of them.
template <size_t N>
std::string ReadField(const char (&field)[N]) {
  const void* end = std::memchr(field, 0, N - 1);
  return std::string(field, end != nullptr ? static_cast<const char*>(end) - field : N - 1);
}
