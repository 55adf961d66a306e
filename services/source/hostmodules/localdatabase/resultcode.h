// The one place where SQLite's result codes become the numbers that the
// database service reports in err.
#pragma once

#include <cstdint>

namespace halyx {

// 0 for success (SQLITE_OK, SQLITE_ROW and SQLITE_DONE alike), otherwise the
// primary SQLite result code, so that callers see stable numbers whatever
// extended code SQLite chose.
uint32_t ToErr(int sqliteCode);

}  // namespace halyx
