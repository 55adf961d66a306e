// base.dll: Buffer, the byte buffer in which the host product's modules pass
// byte columns to each other.
//
// A Buffer owns its bytes. They are allocated and released inside base.dll,
// except for Attach, which takes over an array that the caller allocated with
// the array form of new.
#pragma once

#include "halyx/hostapi.h"

#if defined(HALYX_BUILDING_BASE)
#define HALYX_BASE_API HALYX_EXPORT
#else
#define HALYX_BASE_API HALYX_IMPORT
#endif

class HALYX_BASE_API Buffer {
 public:
  Buffer();
  Buffer(const Buffer& other);
  Buffer& operator=(const Buffer& other);
  ~Buffer();

  // Replaces the content with a copy of size bytes at data (null or 0: empty).
  void CopyFrom(const void* data, uint32_t size);
  // Replaces the content with bytes, which must come from new[]; the buffer
  // releases them with delete[].
  void Attach(uint8_t* arrayNewBytes, uint32_t size);
  bool IsEmpty() const;
  // The bytes, or null when empty. Valid until the buffer changes.
  uint8_t* GetNativeBuf() const;
  uint32_t GetSize() const;

 private:
  uint8_t* data_;
  uint32_t size_;
};
