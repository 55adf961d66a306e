#include "messages/msgbase.h"

MsgBase::MsgBase() : msgId(0), openType(1), pushTime(0), readState(false), hasRow(false) {}
MsgBase::~MsgBase() = default;

uint32_t MsgBase::GetMsgId() { return msgId; }
void MsgBase::SetMsgId(uint32_t value) { msgId = value; }
int32_t MsgBase::GetOpenType() { return openType; }
void MsgBase::SetOpenType(int32_t value) { openType = value; }
uint32_t MsgBase::GetPushTime() { return pushTime; }
void MsgBase::SetPushTime(uint32_t value) { pushTime = value; }
void MsgBase::GetText(std::string& out) { out = text; }
void MsgBase::SetText(const std::string& value) { text = value; }
bool MsgBase::GetReadState() { return readState; }
void MsgBase::SetReadState(bool read) { readState = read; }
