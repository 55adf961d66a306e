// PLACEHOLDER: replaced by the owner of this kind.
#pragma once

class ShareMsgGroup {
 public:
  void Clear(bool deleteMsgs) { (void)deleteMsgs; }
};
