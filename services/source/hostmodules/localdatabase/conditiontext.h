// WHERE texts as the database service reads them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace halyx {

// Integer columns hold unsigned 32-bit values (the form in which the setters
// take and the getters give them), so a negative literal that a condition
// compares with means its 32-bit two's complement: "shareType = -1" matches
// the row whose shareType was set to -1 through SetIntField, stored as
// 4294967295. Such literals are rewritten; text inside quotes, and a minus
// that stands between two operands, are left alone.
std::string UnsignedCondition(const char* condition);

// The condition with each whole decimal integer literal outside quotes
// replaced by a parameter, the literals' values in *values in order: the same
// condition with other numbers then compiles to the same statement. A text
// that has parameters of its own is returned as it stands, with no values.
std::string ParameterisedCondition(const std::string& condition, std::vector<int64_t>* values);

}  // namespace halyx
