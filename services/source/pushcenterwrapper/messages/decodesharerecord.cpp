// PLACEHOLDER: replaced by the owner of this kind. Until then the intake skips
// records of this kind.
#include "jsonparser.h"

bool JsonParser::DecodeShareRecord(const PushRecord*) { return false; }
