#include "messages/dynamicmsg.h"

DynamicMsg::DynamicMsg() : voiceIndex_(0), newFlag_(0) {}
DynamicMsg::~DynamicMsg() = default;

void DynamicMsg::SetTitle(const std::string& value) { title_ = value; }
void DynamicMsg::SetButtonText(const std::string& value) { buttonText_ = value; }
void DynamicMsg::SetBuffer(const std::string& value) { buffer_ = value; }
int32_t DynamicMsg::GetVoiceIndex() const { return voiceIndex_; }
void DynamicMsg::SetVoiceIndex(int32_t value) { voiceIndex_ = value; }
uint16_t DynamicMsg::GetNewFlag() const { return newFlag_; }
void DynamicMsg::SetNewFlag(uint16_t value) { newFlag_ = value; }
