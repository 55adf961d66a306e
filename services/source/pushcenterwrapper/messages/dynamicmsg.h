// DynamicMsg: a short notice that an installed application pushes to the user.
//
// Lives in the DynamicMsgGroup of its application, which owns and deletes it.
// newFlag is never stored: a message read back from the database starts at 0.
#pragma once

#include <cstdint>
#include <string>

#include "messages/msgbase.h"

class DynamicMsg : public MsgBase {
 public:
  DynamicMsg();
  ~DynamicMsg() override;

  // Setters take their text by value, so that a temporary is moved in rather
  // than copied.
  void SetTitle(std::string value);
  void SetButtonText(std::string value);
  // The application's own payload, already percent-encoded.
  void SetBuffer(std::string value);
  int32_t GetVoiceIndex() const;
  void SetVoiceIndex(int32_t value);
  uint16_t GetNewFlag() const;
  void SetNewFlag(uint16_t value);

  // The fields, read in place.
  const std::string& TitleRef() const { return title_; }
  const std::string& ButtonTextRef() const { return buttonText_; }
  const std::string& BufferRef() const { return buffer_; }

 private:
  std::string title_;
  std::string buttonText_;
  int32_t voiceIndex_;
  std::string buffer_;
  uint16_t newFlag_;
};
