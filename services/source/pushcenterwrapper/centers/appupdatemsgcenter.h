// PLACEHOLDER: replaced by the owner of this kind.
#pragma once

#include "centers/msgcenter.h"

class AppUpdateMsgCenter : public MsgCenter {
 public:
  AppUpdateMsgCenter();
  ~AppUpdateMsgCenter() override;
};
