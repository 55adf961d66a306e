// PLACEHOLDER: replaced by the owner of this kind.
#pragma once

#include "centers/msgcenter.h"

class DynamicMsgCenter : public MsgCenter {
 public:
  DynamicMsgCenter();
  ~DynamicMsgCenter() override;
};
