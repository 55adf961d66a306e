#include "messages/msgbase.h"

MsgBase::MsgBase() : msgId_(0), openType_(1), pushTime_(0), readState_(false), hasRow_(false) {}
MsgBase::~MsgBase() = default;

uint32_t MsgBase::GetMsgId() { return msgId_; }
void MsgBase::SetMsgId(uint32_t value) { msgId_ = value; }
int32_t MsgBase::GetOpenType() { return openType_; }
void MsgBase::SetOpenType(int32_t value) { openType_ = value; }
uint32_t MsgBase::GetPushTime() { return pushTime_; }
void MsgBase::SetPushTime(uint32_t value) { pushTime_ = value; }
void MsgBase::GetText(std::string& out) { out = text_; }
void MsgBase::SetText(const std::string& value) { text_ = value; }
bool MsgBase::GetReadState() { return readState_; }
void MsgBase::SetReadState(bool read) { readState_ = read; }
