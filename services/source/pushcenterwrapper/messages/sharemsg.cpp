#include "messages/sharemsg.h"

ShareMsg::ShareMsg() : uin_(0), appId_(0) {}
ShareMsg::~ShareMsg() = default;
