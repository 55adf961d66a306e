// AppUpdateMsgCenter: the center of application-update notices. It keeps no
// messages and no storage, only one state value whose meaning belongs to
// whoever sets it; every other slot keeps the inert default.
#pragma once

#include <cstdint>

#include "centers/msgcenter.h"

class AppUpdateMsgCenter : public MsgCenter {
 public:
  AppUpdateMsgCenter();
  ~AppUpdateMsgCenter() override;

  uint32_t GetAppUpdateState() override;
  // Stores the state and tells the host, on every call, even when the value
  // does not change.
  void SetAppUpdateState(uint32_t state);

 private:
  uint32_t appUpdateState_ = 0;
};
