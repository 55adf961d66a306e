#include "localdatabase/sqltext.h"

namespace halyx {
namespace {

// The storages send the same few texts at every open: these read them with
// plain ASCII tests, without the locale's tables.
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsNameChar(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || IsDigit(c) || c == '_' || c == '$' ||
         u >= 0x80;
}

void SkipBlanks(const char** p) {
  while (IsBlank(**p)) ++*p;
}

// Consumes the keyword (given in capitals) when it stands next at *p as a
// whole word, in any case.
bool Keyword(const char** p, const char* word) {
  SkipBlanks(p);
  const char* at = *p;
  for (; *word != '\0'; ++word, ++at) {
    const char c = (*at >= 'a' && *at <= 'z') ? static_cast<char>(*at - 32) : *at;
    if (c != *word) return false;
  }
  if (IsNameChar(*at)) return false;
  *p = at;
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
  if (IsDigit(**p)) return false;
  const char* start = *p;
  while (IsNameChar(**p)) ++*p;
  name->assign(start, static_cast<size_t>(*p - start));
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
