// PLACEHOLDER: replaced by the owner of this kind.
#pragma once

#include "centers/msgcenter.h"

class MyShareMsgCenter : public MsgCenter {
 public:
  MyShareMsgCenter();
  ~MyShareMsgCenter() override;
};
