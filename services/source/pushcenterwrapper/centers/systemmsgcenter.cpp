// PLACEHOLDER: replaced by the owner of this kind.
#include "centers/systemmsgcenter.h"

SystemMsgCenter::SystemMsgCenter() : MsgCenter(3) {}
SystemMsgCenter::~SystemMsgCenter() = default;
