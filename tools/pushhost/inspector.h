// What a user's three message databases hold, table by table, read the way the
// library reads them: through localdatabase.dll's table of functions, never by
// opening the files directly. User numbers stored encoded are decoded through
// coreserviceengine.dll.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "hostmodules.h"
#include "json.h"

class Inspector {
 public:
  explicit Inspector(HostModules& modules) : modules_(modules) {}

  // False with *error set when the user's folder cannot be named (no user,
  // no documents folder); a missing database file is reported in the output.
  // With json, the output is one line holding one JSON object: {"user",
  // "folder", "databases": [{"file", "problem" (null, or why it could not be
  // read), "tables": [{"name", "rows": [{column: value}] or null when the
  // table is missing}]}]}; numbers are numbers (times in seconds since 1970),
  // texts are strings, a field that cannot be read is null.
  bool Print(std::ostream& out, uint32_t userNumber, std::string* error, bool json = false);

 private:
  struct Column {
    const char* name;
    char type;  // 'i' unsigned, 'd' a time, 's' signed, 'n' number, 't' text, 'b' bytes,
                // 'u' encoded user number
  };
  // Prints the table, or with tables set adds it to that JSON array.
  void PrintTable(std::ostream& out, json_object* tables, uint32_t db, const char* table,
                  const Column* columns, size_t count);
  JsonPtr ReadCell(uint32_t table, const Column& column);
  static std::string CellText(const Column& column, json_object* value);

  HostModules& modules_;
};
