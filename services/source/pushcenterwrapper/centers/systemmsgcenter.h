// PLACEHOLDER: replaced by the owner of this kind.
#pragma once

#include "centers/msgcenter.h"

class SystemMsgCenter : public MsgCenter {
 public:
  SystemMsgCenter();
  ~SystemMsgCenter() override;
};
