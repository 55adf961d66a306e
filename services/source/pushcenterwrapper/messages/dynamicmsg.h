// PLACEHOLDER: replaced by the owner of this kind.
#pragma once

#include "messages/msgbase.h"

class DynamicMsg : public MsgBase {
 public:
  ~DynamicMsg() override = default;
};
