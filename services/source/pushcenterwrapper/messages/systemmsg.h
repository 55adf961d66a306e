// PLACEHOLDER: replaced by the owner of this kind.
#pragma once

#include "messages/msgbase.h"

class SystemMsg : public MsgBase {
 public:
  ~SystemMsg() override = default;
};
