#include "messages/systemmsg.h"

SystemMsg::SystemMsg() : appId(0), subType(1), btnType(1) {}

SystemMsg::~SystemMsg() = default;
