// PLACEHOLDER: replaced by the owner of this kind.
#pragma once

#include "messages/msgbase.h"

class ShareMsg : public MsgBase {
 public:
  ~ShareMsg() override = default;
};
