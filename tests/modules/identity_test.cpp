// statusservice.dll and coreserviceengine.dll: who is signed in, and the
// encoding of stored user numbers.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "halyx/coreserviceengine.h"
#include "halyx/statusservice.h"
#include "modules/loadedmodule.h"

namespace {

// The entry of index i of a table of function pointers.
template <typename Table>
bool EntrySet(const Table& table, int i) {
  return reinterpret_cast<const HalyxUnusedEntry*>(&table)[i] != nullptr;
}

struct Identity {
  Identity() : status("statusservice.dll"), engine("coreserviceengine.dll") {
    auto getStatus = status.Get<StatusEntry>("GetHalyxStatus");
    auto getEngine = engine.Get<EngineEntry>("GetHalyxEngine");
    signIn = status.Get<decltype(signIn)>("HalyxSignIn");
    signOut = status.Get<decltype(signOut)>("HalyxSignOut");
    std::memset(&statusTable, 0xAB, sizeof statusTable);
    std::memset(&engineTable, 0xAB, sizeof engineTable);
    ready = getStatus && getEngine && signIn && signOut && getStatus(&statusTable) &&
            getEngine(&engineTable);
  }
  LoadedModule status;
  LoadedModule engine;
  StatusTable statusTable;
  EngineTable engineTable;
  void(HALYX_CDECL* signIn)(uint32_t) = nullptr;
  void(HALYX_CDECL* signOut)() = nullptr;
  bool ready = false;
};

TEST(UserIdentity, StatusAndEngineAgreeAndTheFirstUserComesFromHalyxUser) {
  testenv::SetVariable("HALYX_USER", "4294967295");
  {
    Identity id;
    ASSERT_TRUE(id.ready);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(EntrySet(id.statusTable, i), i == 9) << i;
    for (int i = 0; i < 39; ++i) EXPECT_EQ(EntrySet(id.engineTable, i), i == 6 || i == 30 || i == 31) << i;
    EXPECT_EQ(id.statusTable.currentUser(), 4294967295u);
    EXPECT_EQ(id.engineTable.getCurrentUserId(), 4294967295u);
    id.signIn(42);
    EXPECT_EQ(id.statusTable.currentUser(), 42u);
    EXPECT_EQ(id.engineTable.getCurrentUserId(), 42u);
    id.signOut();
    EXPECT_EQ(id.statusTable.currentUser(), 0u);
    EXPECT_EQ(id.engineTable.getCurrentUserId(), 0u);
  }
  // Loaded afresh: what is not a 32-bit decimal number means nobody.
  for (const char* notANumber : {"12x", "4294967296", "-1", ""}) {
    testenv::SetVariable("HALYX_USER", notANumber);
    Identity id;
    ASSERT_TRUE(id.ready);
    EXPECT_EQ(id.engineTable.getCurrentUserId(), 0u) << notANumber;
  }
  testenv::SetVariable("HALYX_USER", nullptr);
}

std::string Encoded(const EngineTable& engine, const std::string& text) {
  uint8_t* data = nullptr;
  uint32_t size = 0;
  EXPECT_TRUE(engine.encodeUin(text.data(), static_cast<uint32_t>(text.size()), &data, &size));
  std::string bytes(reinterpret_cast<const char*>(data), size);
  delete[] data;
  return bytes;
}

// The decoded text, or "<refused>".
std::string Decoded(const EngineTable& engine, const std::string& bytes) {
  char* text = reinterpret_cast<char*>(1);
  uint32_t length = 99;
  const bool ok = engine.decodeUin(reinterpret_cast<const uint8_t*>(bytes.data()),
                                   static_cast<uint32_t>(bytes.size()), &text, &length);
  if (!ok) {
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(length, 0u);
    return "<refused>";
  }
  std::string plain = text ? std::string(text, length) : std::string();
  delete[] text;
  return plain;
}

TEST(UinEncoding, RoundTripsAndRefusesWhatItDidNotProduce) {
  Identity id;
  ASSERT_TRUE(id.ready);
  const EngineTable& engine = id.engineTable;
  for (const std::string text : {"4294967295", "0", "12x", "\xC3\xBC", ""}) {
    const std::string bytes = Encoded(engine, text);
    EXPECT_NE(bytes, text);
    EXPECT_EQ(Decoded(engine, bytes), text);
  }

  const std::string bytes = Encoded(engine, "123456");
  EXPECT_EQ(bytes.find("123456"), std::string::npos);
  EXPECT_EQ(Decoded(engine, "123456"), "<refused>");
  EXPECT_EQ(Decoded(engine, ""), "<refused>");
  EXPECT_EQ(Decoded(engine, bytes.substr(0, bytes.size() - 1)), "<refused>");
  EXPECT_EQ(Decoded(engine, bytes + '7'), "<refused>");
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::string damaged = bytes;
    damaged[i] = static_cast<char>(damaged[i] ^ 0x10);
    EXPECT_EQ(Decoded(engine, damaged), "<refused>") << "byte " << i;
  }
  char* text = nullptr;
  uint32_t length = 0;
  EXPECT_FALSE(engine.decodeUin(nullptr, 4, &text, &length));
  EXPECT_FALSE(engine.encodeUin("1", 1, nullptr, nullptr));
}

}  // namespace
