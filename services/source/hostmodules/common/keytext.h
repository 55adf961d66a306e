// The key of a value in a module's settings file, put together in place from
// its parts, as in KeyText("app.", 7, ".", 6): a read looks its key up at
// every call, and a key built as a std::string costs more than the lookup. A
// key longer than the array (a long text key of a control function) goes to
// the heap.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace halyx {

class KeyText {
 public:
  template <class... Parts>
  explicit KeyText(const Parts&... parts) {
    (Append(parts), ...);
  }

  std::string_view view() const {
    return large_.empty() ? std::string_view(small_, size_) : std::string_view(large_);
  }
  std::string str() const { return std::string(view()); }

 private:
  void Append(std::string_view text) {
    if (large_.empty() && size_ + text.size() <= sizeof(small_)) {
      std::memcpy(small_ + size_, text.data(), text.size());
      size_ += text.size();
    } else {
      if (large_.empty()) large_.assign(small_, size_);
      large_.append(text.data(), text.size());
    }
  }

  void Append(const char* text) { Append(std::string_view(text)); }

  void Append(uint32_t number) {
    char digits[10];
    size_t count = 0;
    do {
      digits[sizeof(digits) - ++count] = static_cast<char>('0' + number % 10);
      number /= 10;
    } while (number != 0);
    Append(std::string_view(digits + sizeof(digits) - count, count));
  }

  char small_[40];
  size_t size_ = 0;
  std::string large_;  // the whole key once it outgrew small_
};

}  // namespace halyx
