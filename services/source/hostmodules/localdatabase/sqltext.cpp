#include "localdatabase/sqltext.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace halyx {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Where the quoted text that starts at p ends (past its closing mark), or
// null when p starts none.
const char* QuotedEnd(const char* p) {
  const char c = *p;
  if (c != '\'' && c != '"' && c != '`' && c != '[') {
    return nullptr;
  }
  const char* end = std::strchr(p + 1, c == '[' ? ']' : c);
  return end ? end + 1 : p + std::strlen(p);
}

// True when a minus after this character starts a number rather than
// subtracting from an operand.
bool StartsOperand(char previous) {
  return previous == '\0' || std::strchr("=<>!(,", previous) != nullptr;
}

}  // namespace

std::string Quoted(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) {
    quoted += c;
    if (c == '"') {
      quoted += '"';
    }
  }
  return quoted + "\"";
}

std::string UnsignedCondition(const char* condition) {
  // Without a minus there is nothing to rewrite.
  if (std::strchr(condition, '-') == nullptr) {
    return std::string(condition);
  }
  std::string out;
  char previous = '\0';  // last character that was not blank, outside quotes
  for (const char* p = condition; *p != '\0';) {
    const char c = *p;
    if (const char* stop = QuotedEnd(p)) {
      out.append(p, stop);
      previous = c == '[' ? ']' : c;
      p = stop;
      continue;
    }
    if (c == '-' && StartsOperand(previous)) {
      const char* digits = p + 1;
      while (*digits == ' ') {
        ++digits;
      }
      const char* end = digits;
      while (IsDigit(*end)) {
        ++end;
      }
      const bool wholeNumber = end > digits && !std::isalnum(static_cast<unsigned char>(*end)) &&
                               *end != '.' && end - digits <= 10;
      if (wholeNumber) {
        const uint64_t magnitude = std::strtoull(std::string(digits, end).c_str(), nullptr, 10);
        if (magnitude <= 0x80000000ull) {
          out += std::to_string((0x100000000ull - magnitude) & 0xFFFFFFFFull);
          previous = '0';
          p = end;
          continue;
        }
      }
    }
    out += c;
    if (!std::isspace(static_cast<unsigned char>(c))) {
      previous = c;
    }
    ++p;
  }
  return out;
}

}  // namespace halyx
