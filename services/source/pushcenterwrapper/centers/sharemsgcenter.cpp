// PLACEHOLDER: replaced by the owner of this kind.
#include "centers/sharemsgcenter.h"

ShareMsgCenter::ShareMsgCenter() : MsgCenter(2) {}
ShareMsgCenter::~ShareMsgCenter() = default;
