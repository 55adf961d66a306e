#include "centers/appupdatemsgcenter.h"

#include "pushcommandregistry.h"

AppUpdateMsgCenter::AppUpdateMsgCenter() : MsgCenter(kAppUpdateKind) {}
AppUpdateMsgCenter::~AppUpdateMsgCenter() = default;

uint32_t AppUpdateMsgCenter::GetAppUpdateState() { return appUpdateState_; }

void AppUpdateMsgCenter::SetAppUpdateState(uint32_t state) {
  appUpdateState_ = state;
  NotifyPushCommand(kAppUpdateBit, kEventReadState, 0, 0, 1, 0, 0);
}
