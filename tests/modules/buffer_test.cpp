// base.dll's Buffer, linked at build time as the library links it.

#include <gtest/gtest.h>

#include <string>

#include "halyx/buffer.h"

namespace {

std::string Content(const Buffer& b) {
  return b.IsEmpty() ? std::string() : std::string(reinterpret_cast<const char*>(b.GetNativeBuf()), b.GetSize());
}

TEST(BufferClass, CopiesOwnTheirBytesAndAttachTakesTheBlock) {
  Buffer original;
  EXPECT_TRUE(original.IsEmpty());
  EXPECT_EQ(original.GetNativeBuf(), nullptr);
  original.CopyFrom("a\0b", 3);
  Buffer copy(original);
  Buffer assigned;
  assigned = original;
  assigned = assigned;
  original.CopyFrom("xyz", 3);
  EXPECT_EQ(Content(copy), std::string("a\0b", 3));
  EXPECT_EQ(Content(assigned), std::string("a\0b", 3));
  EXPECT_NE(copy.GetNativeBuf(), original.GetNativeBuf());

  uint8_t* block = new uint8_t[2]{'h', 'i'};
  copy.Attach(block, 2);
  EXPECT_EQ(copy.GetNativeBuf(), block);
  EXPECT_EQ(Content(copy), "hi");
  copy.Attach(new uint8_t[1], 0);  // an empty block is released, not kept
  EXPECT_TRUE(copy.IsEmpty());
  EXPECT_EQ(copy.GetNativeBuf(), nullptr);
  copy.CopyFrom(nullptr, 5);
  EXPECT_EQ(copy.GetSize(), 0u);
}

}  // namespace
