// PLACEHOLDER: replaced by the owner of this kind.
#pragma once

class DynamicMsgGroup {
 public:
  void Clear(bool deleteMsgs) { (void)deleteMsgs; }
};
