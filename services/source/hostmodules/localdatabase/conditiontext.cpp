#include "localdatabase/conditiontext.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace halyx {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Characters that continue a name or a number, so that digits beside them
// are not a literal of their own.
bool JoinsToken(char c) {
  return IsAsciiLetter(c) || IsDigit(c) || c == '_' || c == '$' || c == '.' ||
         static_cast<unsigned char>(c) >= 0x80;
}

// Characters that the loops below look at; a run of any others is copied as
// it stands. Every storage deletes with such texts at every eviction.
bool Plain(char c) {
  return c != '\0' && c != '\'' && c != '"' && c != '`' && c != '[' && c != '?' && c != ':' &&
         c != '@' && c != '$' && !IsDigit(c);
}

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

std::string ParameterisedCondition(const std::string& condition, std::vector<int64_t>* values) {
  values->clear();
  std::string out;
  out.reserve(condition.size());
  const char* text = condition.c_str();
  char previous = '\0';
  for (const char* p = text; *p != '\0';) {
    if (Plain(*p)) {
      const char* run = p;
      while (Plain(*p)) ++p;
      out.append(run, p);
      previous = p[-1];
      continue;
    }
    if (const char* stop = QuotedEnd(p)) {
      out.append(p, stop);
      previous = stop[-1];
      p = stop;
      continue;
    }
    if ((*p == '?' || *p == ':' || *p == '@' || *p == '$') && !JoinsToken(previous)) {
      values->clear();
      return condition;
    }
    if (IsDigit(*p) && !JoinsToken(previous)) {
      const char* end = p;
      while (IsDigit(*end)) {
        ++end;
      }
      // At most 18 digits always fit a 64-bit parameter.
      if (!JoinsToken(*end) && end - p <= 18) {
        int64_t value = 0;
        for (const char* digit = p; digit != end; ++digit) value = value * 10 + (*digit - '0');
        values->push_back(value);
        out += '?';
        previous = '?';
        p = end;
        continue;
      }
      out.append(p, end);
      previous = end[-1];
      p = end;
      continue;
    }
    out += *p;
    previous = *p;
    ++p;
  }
  return out;
}

}  // namespace halyx
