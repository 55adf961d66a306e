#include "halyx/buffer.h"

#include <cstring>
#include <new>

Buffer::Buffer() : data_(nullptr), size_(0) {}

Buffer::Buffer(const Buffer& other) : data_(nullptr), size_(0) {
  CopyFrom(other.data_, other.size_);
}

Buffer& Buffer::operator=(const Buffer& other) {
  if (this != &other) {
    CopyFrom(other.data_, other.size_);
  }
  return *this;
}

Buffer::~Buffer() { delete[] data_; }

void Buffer::CopyFrom(const void* data, uint32_t size) {
  uint8_t* copy = nullptr;
  if (data && size > 0) {
    // Out of memory leaves the buffer empty rather than throwing across the
    // module boundary.
    copy = new (std::nothrow) uint8_t[size];
    if (copy) {
      std::memcpy(copy, data, size);
    }
  }
  delete[] data_;
  data_ = copy;
  size_ = copy ? size : 0;
}

void Buffer::Attach(uint8_t* arrayNewBytes, uint32_t size) {
  if (arrayNewBytes != data_) {
    delete[] data_;
  }
  // An empty block is released at once: the buffer never holds bytes it
  // cannot report.
  if (arrayNewBytes && size == 0) {
    delete[] arrayNewBytes;
    arrayNewBytes = nullptr;
  }
  data_ = arrayNewBytes;
  size_ = arrayNewBytes ? size : 0;
}

bool Buffer::IsEmpty() const { return size_ == 0; }

uint8_t* Buffer::GetNativeBuf() const { return data_; }

uint32_t Buffer::GetSize() const { return size_; }
