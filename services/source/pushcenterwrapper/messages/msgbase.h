// MsgBase: what every pushed message has, whatever its kind.
//
// Records are created with new (by the push intake, or by a center reading its
// database back) and passed around by pointer; the center that accepts one
// owns it and deletes it through the virtual destructor. The order of the
// virtual functions is the order of the slots.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

class MsgBase {
 public:
  MsgBase();
  MsgBase(const MsgBase&) = delete;
  MsgBase& operator=(const MsgBase&) = delete;

  virtual ~MsgBase();                             // 0
  virtual uint32_t GetMsgId();                    // 1
  virtual void SetMsgId(uint32_t msgId);          // 2
  virtual int32_t GetOpenType();                  // 3
  virtual void SetOpenType(int32_t openType);     // 4
  virtual uint32_t GetPushTime();                 // 5
  virtual void SetPushTime(uint32_t pushTime);    // 6
  // Replaces the content of out with the text.
  virtual void GetText(std::string& out);         // 7
  virtual void SetText(const std::string& text);  // 8
  virtual bool GetReadState();                    // 9
  virtual void SetReadState(bool read);           // 10

  // SetText for a temporary: the text is taken over.
  void TakeText(std::string&& text) { text_ = std::move(text); }

  // Whether both are the same push: the same id and push time. Read without
  // a virtual call, for the walks over every held message at each push.
  bool SamePush(const MsgBase& other) const { return msgId_ == other.msgId_ && pushTime_ == other.pushTime_; }

  // The text without a copy, for code that only reads it.
  const std::string& TextRef() const { return text_; }
  // Whether the message has its row in the database: read back from it, or
  // written when the host read it. A message with a row is never written
  // again, so that it stays one row however its read state goes.
  bool HasRow() const { return hasRow_; }
  void SetHasRow(bool value) { hasRow_ = value; }

 protected:
  uint32_t msgId_;
  int32_t openType_;
  uint32_t pushTime_;
  std::string text_;
  bool readState_;
  bool hasRow_;
};
