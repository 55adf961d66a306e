// PLACEHOLDER: replaced by the owner of this kind.
#include "centers/appupdatemsgcenter.h"

AppUpdateMsgCenter::AppUpdateMsgCenter() : MsgCenter(5) {}
AppUpdateMsgCenter::~AppUpdateMsgCenter() = default;
