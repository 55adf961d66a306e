// PLACEHOLDER: replaced by the owner of this kind.
#include "centers/mysharemsgcenter.h"

MyShareMsgCenter::MyShareMsgCenter() : MsgCenter(4) {}
MyShareMsgCenter::~MyShareMsgCenter() = default;
