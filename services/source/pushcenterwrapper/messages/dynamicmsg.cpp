#include "messages/dynamicmsg.h"

#include <utility>

DynamicMsg::DynamicMsg() : voiceIndex_(0), newFlag_(0) {}
DynamicMsg::~DynamicMsg() = default;

void DynamicMsg::SetTitle(std::string value) { title_ = std::move(value); }
void DynamicMsg::SetButtonText(std::string value) { buttonText_ = std::move(value); }
void DynamicMsg::SetBuffer(std::string value) { buffer_ = std::move(value); }
int32_t DynamicMsg::GetVoiceIndex() const { return voiceIndex_; }
void DynamicMsg::SetVoiceIndex(int32_t value) { voiceIndex_ = value; }
uint16_t DynamicMsg::GetNewFlag() const { return newFlag_; }
void DynamicMsg::SetNewFlag(uint16_t value) { newFlag_ = value; }
