// PLACEHOLDER: replaced by the owner of this kind.
#include "centers/dynamicmsgcenter.h"

DynamicMsgCenter::DynamicMsgCenter() : MsgCenter(1) {}
DynamicMsgCenter::~DynamicMsgCenter() = default;
