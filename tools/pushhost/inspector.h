// What a user's three message databases hold, table by table, read the way the
// library reads them: through localdatabase.dll's table of functions, never by
// opening the files directly. User numbers stored encoded are decoded through
// coreserviceengine.dll.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "hostmodules.h"

class Inspector {
 public:
  explicit Inspector(HostModules& modules) : modules_(modules) {}

  // False with *error set when the user's folder cannot be named (no user,
  // no documents folder); a missing database file is reported in the output.
  bool Print(std::ostream& out, uint32_t userNumber, std::string* error);

 private:
  struct Column {
    const char* name;
    char type;  // 'i' unsigned, 'd' a time, 's' signed, 'n' number, 't' text, 'b' bytes,
                // 'u' encoded user number
  };
  void PrintTable(std::ostream& out, uint32_t db, const char* table, const Column* columns,
                  size_t count);
  std::string ReadCell(uint32_t table, const Column& column);

  HostModules& modules_;
};
