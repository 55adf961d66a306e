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

  uint32_t GetUin() const { return uin; }
  void SetUin(uint32_t value) { uin = value; }
  uint32_t GetAppId() const { return appId; }
  void SetAppId(uint32_t value) { appId = value; }

  // Each getter replaces the content of out. Setters take their text by
  // value, so that a temporary is moved in rather than copied.
  void GetBuffer(std::string& out) const { out = buffer; }
  void SetBuffer(std::string value) { buffer = std::move(value); }
  void GetPicURL(std::string& out) const { out = picURL; }
  void SetPicURL(std::string value) { picURL = std::move(value); }
  void GetTitle(std::string& out) const { out = title; }
  void SetTitle(std::string value) { title = std::move(value); }
  void GetAppDesc(std::string& out) const { out = appDesc; }
  void SetAppDesc(std::string value) { appDesc = std::move(value); }
  // SetText for a temporary: the text is taken over.
  void TakeText(std::string&& value) { text = std::move(value); }

  // The texts without a copy, for code that only reads them.
  const std::string& BufferRef() const { return buffer; }
  const std::string& PicURLRef() const { return picURL; }
  const std::string& TitleRef() const { return title; }
  const std::string& AppDescRef() const { return appDesc; }

 private:
  uint32_t uin;        // the user who shared the item
  uint32_t appId;
  std::string buffer;  // the application's payload, percent-encoded
  std::string picURL;
  std::string title;
  std::string appDesc;
};
