// MyShareItem: one share that the user sent, as the host reported it.
#pragma once

#include <cstdint>
#include <string>

class MyShareItem {
 public:
  uint32_t GetUin() const { return uin_; }
  void SetUin(uint32_t value) { uin_ = value; }
  // Orders the items of a group, greatest first.
  uint32_t GetShareTime() const { return shareTime_; }
  void SetShareTime(uint32_t value) { shareTime_ = value; }

  void SetBuffer(const std::string& value) { buffer_ = value; }
  void SetPicURL(const std::string& value) { picURL_ = value; }
  void SetTitle(const std::string& value) { title_ = value; }
  // Also decides whether two type-2 groups are one.
  void SetAppDesc(const std::string& value) { appDesc_ = value; }
  void SetText(const std::string& value) { text_ = value; }

  const std::string& BufferRef() const { return buffer_; }
  const std::string& PicURLRef() const { return picURL_; }
  const std::string& TitleRef() const { return title_; }
  const std::string& AppDescRef() const { return appDesc_; }
  const std::string& TextRef() const { return text_; }

 private:
  uint32_t uin_ = 0;
  std::string buffer_;
  std::string picURL_;
  std::string title_;
  std::string appDesc_;
  uint32_t shareTime_ = 0;
  std::string text_;
};
