#include "localdatabase/sqltext.h"

#include <sqlite3.h>

#include <cctype>
#include <cstring>

namespace halyx {
namespace {

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' ||
         static_cast<unsigned char>(c) >= 0x80;
}

void SkipBlanks(const char** p) {
  while (IsBlank(**p)) ++*p;
}

// Consumes the keyword when it stands next at *p as a whole word.
bool Keyword(const char** p, const char* word) {
  SkipBlanks(p);
  const size_t length = std::strlen(word);
  if (sqlite3_strnicmp(*p, word, static_cast<int>(length)) != 0 || IsNameChar((*p)[length])) {
    return false;
  }
  *p += length;
  return true;
}

// A bare name, or one in double quotes (a doubled quote stands for one).
bool Name(const char** p, std::string* name) {
  SkipBlanks(p);
  name->clear();
  if (**p == '"') {
    for (const char* q = *p + 1; *q != '\0'; ++q) {
      if (*q == '"') {
        if (q[1] != '"') {
          *p = q + 1;
          return !name->empty();
        }
        ++q;
      }
      *name += *q;
    }
    return false;
  }
  if (std::isdigit(static_cast<unsigned char>(**p))) return false;
  while (IsNameChar(**p)) *name += *(*p)++;
  return !name->empty();
}

}  // namespace

bool ParseAddColumn(const char* sql, std::string* table, std::string* column) {
  const char* p = sql;
  if (!Keyword(&p, "ALTER") || !Keyword(&p, "TABLE") || !Name(&p, table)) return false;
  SkipBlanks(&p);
  if (*p == '.') return false;  // a table of another schema
  if (!Keyword(&p, "ADD")) return false;
  const char* beforeColumn = p;
  if (!Keyword(&p, "COLUMN")) p = beforeColumn;
  return Name(&p, column);
}

bool ChangesNoSchema(const char* sql) {
  const char* p = sql;
  const bool data = Keyword(&p, "UPDATE") || Keyword(&p, "INSERT") || Keyword(&p, "DELETE") ||
                    Keyword(&p, "SELECT");
  if (!data) return false;
  // One statement only: a second one could be anything.
  bool quoted = false;
  char quote = '\0';
  for (; *p != '\0'; ++p) {
    if (quoted) {
      quoted = *p != quote;
    } else if (*p == '\'' || *p == '"' || *p == '`') {
      quoted = true;
      quote = *p;
    } else if (*p == ';') {
      for (++p; *p != '\0'; ++p) {
        if (!IsBlank(*p)) return false;
      }
      return true;
    } else if (*p == '-' && p[1] == '-') {
      return false;  // comments: not worth reading
    } else if (*p == '/' && p[1] == '*') {
      return false;
    }
  }
  return !quoted;
}

}  // namespace halyx
