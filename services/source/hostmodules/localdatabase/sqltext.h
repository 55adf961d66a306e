// SQL texts as the database service writes and reads them.
#pragma once

#include <string>

namespace halyx {

// The name as an SQL identifier: in double quotes, a quote in it doubled.
std::string Quoted(const std::string& name);

// Integer columns hold unsigned 32-bit values (the form in which the setters
// take and the getters give them), so a negative literal that a condition
// compares with means its 32-bit two's complement: "shareType = -1" matches
// the row whose shareType was set to -1 through SetIntField, stored as
// 4294967295. Such literals are rewritten; text inside quotes, and a minus
// that stands between two operands, are left alone.
std::string UnsignedCondition(const char* condition);

}  // namespace halyx
