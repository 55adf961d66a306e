// What the service needs to know about an SQL text before running it.
#pragma once

#include <string>

namespace halyx {

// True when sql is one ALTER TABLE <table> ADD [COLUMN] <column> statement on
// a table of the main database, with the names in *table and *column
// (unquoted). Anything else, or a text it cannot read with certainty, is
// false.
bool ParseAddColumn(const char* sql, std::string* table, std::string* column);

// True when sql is one UPDATE, INSERT, DELETE or SELECT statement, which
// cannot change any table's columns; false when in doubt.
bool ChangesNoSchema(const char* sql);

}  // namespace halyx
