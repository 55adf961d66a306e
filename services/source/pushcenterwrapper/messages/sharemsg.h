// ShareMsg: an item that another user shared with this user.
//
// Lives in a ShareMsgGroup from its decoding until the group drops it at its
// cap, the center deletes the group, or the center goes away.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "messages/msgbase.h"

class ShareMsg : public MsgBase {
 public:
  ShareMsg();
  ~ShareMsg() override;

  uint32_t GetUin() const { return uin_; }
  void SetUin(uint32_t value) { uin_ = value; }
  uint32_t GetAppId() const { return appId_; }
  void SetAppId(uint32_t value) { appId_ = value; }

  // Setters take their text by value, so that a temporary is moved in rather
  // than copied.
  void SetBuffer(std::string value) { buffer_ = std::move(value); }
  void SetPicURL(std::string value) { picURL_ = std::move(value); }
  void SetTitle(std::string value) { title_ = std::move(value); }
  void SetAppDesc(std::string value) { appDesc_ = std::move(value); }

  // The texts without a copy, for code that only reads them.
  const std::string& BufferRef() const { return buffer_; }
  const std::string& PicURLRef() const { return picURL_; }
  const std::string& TitleRef() const { return title_; }
  const std::string& AppDescRef() const { return appDesc_; }

 private:
  uint32_t uin_;        // the user who shared the item
  uint32_t appId_;
  std::string buffer_;  // the application's payload, percent-encoded
  std::string picURL_;
  std::string title_;
  std::string appDesc_;
};
