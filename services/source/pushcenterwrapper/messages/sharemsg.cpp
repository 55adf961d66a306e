#include "messages/sharemsg.h"

ShareMsg::ShareMsg() : uin(0), appId(0) {}
ShareMsg::~ShareMsg() = default;
