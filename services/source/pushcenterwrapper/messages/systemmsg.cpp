#include "messages/systemmsg.h"

SystemMsg::SystemMsg() : appId_(0), subType_(1), btnType_(1) {}

SystemMsg::~SystemMsg() = default;
