#include "localdatabase/resultcode.h"

#include <sqlite3.h>

namespace halyx {

uint32_t ToErr(int sqliteCode) {
  const int primary = sqliteCode & 0xFF;
  if (primary == SQLITE_OK || primary == SQLITE_ROW || primary == SQLITE_DONE) {
    return 0;
  }
  return static_cast<uint32_t>(primary);
}

}  // namespace halyx
