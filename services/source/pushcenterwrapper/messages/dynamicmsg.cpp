#include "messages/dynamicmsg.h"

DynamicMsg::DynamicMsg() : voiceIndex(0), newFlag(0) {}
DynamicMsg::~DynamicMsg() = default;

void DynamicMsg::GetTitle(std::string& out) const { out = title; }
void DynamicMsg::SetTitle(const std::string& value) { title = value; }
void DynamicMsg::GetButtonText(std::string& out) const { out = buttonText; }
void DynamicMsg::SetButtonText(const std::string& value) { buttonText = value; }
void DynamicMsg::GetBuffer(std::string& out) const { out = buffer; }
void DynamicMsg::SetBuffer(const std::string& value) { buffer = value; }
int32_t DynamicMsg::GetVoiceIndex() const { return voiceIndex; }
void DynamicMsg::SetVoiceIndex(int32_t value) { voiceIndex = value; }
uint16_t DynamicMsg::GetNewFlag() const { return newFlag; }
void DynamicMsg::SetNewFlag(uint16_t value) { newFlag = value; }
