// SystemMsg: a notice of the service itself (a title, a text, optionally a
// picture, a link, a button and data for a target application).
//
// Created with new by the push intake or by the system center when it reads
// its database back; owned from then on by whoever holds it (the batch queue,
// then the center) and deleted through MsgBase's virtual destructor. The
// setters store what they are given: range corrections belong to the payload
// decoding and to the storage load, not to the record.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "messages/msgbase.h"

class SystemMsg : public MsgBase {
 public:
  SystemMsg();
  ~SystemMsg() override;

  // Setters take their text by value, so that a temporary is moved in rather
  // than copied.
  void SetTitle(std::string value) { title_ = std::move(value); }
  void SetPictureUrl(std::string value) { pictureUrl_ = std::move(value); }
  void SetJumpUrl(std::string value) { jumpUrl_ = std::move(value); }
  void SetButtonText(std::string value) { buttonText_ = std::move(value); }
  uint32_t GetAppId() const { return appId_; }
  void SetAppId(uint32_t value) { appId_ = value; }
  // The application's data, kept percent-encoded as it was decoded.
  void SetBuffer(std::string value) { buffer_ = std::move(value); }
  int32_t GetSubType() const { return subType_; }
  void SetSubType(int32_t value) { subType_ = value; }
  int32_t GetBtnType() const { return btnType_; }
  void SetBtnType(int32_t value) { btnType_ = value; }

  // Read-only views for code that copies the fields out without a string copy.
  const std::string& TitleRef() const { return title_; }
  const std::string& PictureUrlRef() const { return pictureUrl_; }
  const std::string& JumpUrlRef() const { return jumpUrl_; }
  const std::string& ButtonTextRef() const { return buttonText_; }
  const std::string& BufferRef() const { return buffer_; }

 private:
  std::string title_;
  std::string pictureUrl_;
  std::string jumpUrl_;
  std::string buttonText_;
  uint32_t appId_;
  std::string buffer_;
  int32_t subType_;
  int32_t btnType_;
};
