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

#include "messages/msgbase.h"

class SystemMsg : public MsgBase {
 public:
  SystemMsg();
  ~SystemMsg() override;

  // String getters replace the content of out.
  void GetTitle(std::string& out) const { out = title; }
  void SetTitle(const std::string& value) { title = value; }
  void GetPictureUrl(std::string& out) const { out = pictureUrl; }
  void SetPictureUrl(const std::string& value) { pictureUrl = value; }
  void GetJumpUrl(std::string& out) const { out = jumpUrl; }
  void SetJumpUrl(const std::string& value) { jumpUrl = value; }
  void GetButtonText(std::string& out) const { out = buttonText; }
  void SetButtonText(const std::string& value) { buttonText = value; }
  uint32_t GetAppId() const { return appId; }
  void SetAppId(uint32_t value) { appId = value; }
  // The application's data, kept percent-encoded as it was decoded.
  void GetBuffer(std::string& out) const { out = buffer; }
  void SetBuffer(const std::string& value) { buffer = value; }
  int32_t GetSubType() const { return subType; }
  void SetSubType(int32_t value) { subType = value; }
  int32_t GetBtnType() const { return btnType; }
  void SetBtnType(int32_t value) { btnType = value; }

  // Read-only views for code that copies the fields out without a string copy.
  const std::string& TitleRef() const { return title; }
  const std::string& PictureUrlRef() const { return pictureUrl; }
  const std::string& JumpUrlRef() const { return jumpUrl; }
  const std::string& ButtonTextRef() const { return buttonText; }
  const std::string& BufferRef() const { return buffer; }

 private:
  std::string title;
  std::string pictureUrl;
  std::string jumpUrl;
  std::string buttonText;
  uint32_t appId;
  std::string buffer;
  int32_t subType;
  int32_t btnType;
};
