// PLACEHOLDER: replaced by the owner of this kind.
#pragma once

#include "centers/msgcenter.h"

class ShareMsgCenter : public MsgCenter {
 public:
  ShareMsgCenter();
  ~ShareMsgCenter() override;
};
