// MyShareItem: one share that the user sent, as the host reported it.
#pragma once

#include <cstdint>
#include <string>

class MyShareItem {
 public:
  uint32_t GetUin() const { return uin; }
  void SetUin(uint32_t value) { uin = value; }
  // Orders the items of a group, greatest first.
  uint32_t GetShareTime() const { return shareTime; }
  void SetShareTime(uint32_t value) { shareTime = value; }

  // Each getter replaces the content of out.
  void GetBuffer(std::string& out) const { out = buffer; }
  void SetBuffer(const std::string& value) { buffer = value; }
  void GetPicURL(std::string& out) const { out = picURL; }
  void SetPicURL(const std::string& value) { picURL = value; }
  void GetTitle(std::string& out) const { out = title; }
  void SetTitle(const std::string& value) { title = value; }
  // Also decides whether two type-2 groups are one.
  void GetAppDesc(std::string& out) const { out = appDesc; }
  void SetAppDesc(const std::string& value) { appDesc = value; }
  void GetText(std::string& out) const { out = text; }
  void SetText(const std::string& value) { text = value; }

  const std::string& BufferRef() const { return buffer; }
  const std::string& PicURLRef() const { return picURL; }
  const std::string& TitleRef() const { return title; }
  const std::string& AppDescRef() const { return appDesc; }
  const std::string& TextRef() const { return text; }

 private:
  uint32_t uin = 0;
  std::string buffer;
  std::string picURL;
  std::string title;
  std::string appDesc;
  uint32_t shareTime = 0;
  std::string text;
};
