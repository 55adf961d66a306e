// statusservice.dll and coreserviceengine.dll: who is signed in, and the
// encoding of stored user numbers.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "halyx/coreserviceengine.h"
#include "halyx/statusservice.h"
#include "modules/loadedmodule.h"

namespace {

struct Identity {
  Identity() : status("statusservice.dll"), engine("coreserviceengine.dll") {
    auto getStatus = status.Get<StatusEntry>("GetHalyxStatus");
    auto getEngine = engine.Get<EngineEntry>("GetHalyxEngine");
    signIn = status.Get<decltype(signIn)>("HalyxSignIn");
    signOut = status.Get<decltype(signOut)>("HalyxSignOut");
    ready = getStatus && getEngine && signIn && signOut && getStatus(&statusTable) &&
            getEngine(&engineTable);
  }
  LoadedModule status;
  LoadedModule engine;
  StatusTable statusTable{};  // which entries a module offers shows in the fault sessions
  EngineTable engineTable{};
  void(HALYX_CDECL* signIn)(uint32_t) = nullptr;
  void(HALYX_CDECL* signOut)() = nullptr;
  bool ready = false;
};

TEST(UserIdentity, StatusAndEngineAgreeAndTheFirstUserComesFromHalyxUser) {
  testenv::SetVariable("HALYX_USER", "4294967295");
  {
    Identity id;
    ASSERT_TRUE(id.ready);
    auto users = [&id] { return std::vector<uint32_t>{id.statusTable.currentUser(), id.engineTable.getCurrentUserId()}; };
    EXPECT_EQ(users(), (std::vector<uint32_t>{4294967295u, 4294967295u}));
    id.signIn(42);
    EXPECT_EQ(users(), (std::vector<uint32_t>{42, 42}));
    id.signOut();
    EXPECT_EQ(users(), (std::vector<uint32_t>{0, 0}));
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
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  delete[] data;
  return bytes;
}

// The decoded text, or "<refused>" (with the outputs cleared).
std::string Decoded(const EngineTable& engine, const std::string& bytes) {
  char* text = reinterpret_cast<char*>(1);
  uint32_t length = 99;
  if (!engine.decodeUin(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()),
                        &text, &length)) {
    return text == nullptr && length == 0 ? "<refused>" : "<refused, outputs left>";
  }
  const std::string plain = text ? std::string(text, length) : std::string();
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
  std::vector<std::string> refused = {"123456", "", bytes.substr(0, bytes.size() - 1), bytes + '7'};
  for (size_t i = 0; i < bytes.size(); ++i) {  // each byte damaged in turn
    refused.push_back(bytes);
    refused.back()[i] = static_cast<char>(refused.back()[i] ^ 0x10);
  }
  for (const std::string& damaged : refused) EXPECT_EQ(Decoded(engine, damaged), "<refused>") << damaged;
  char* text = nullptr;
  uint32_t length = 0;
  EXPECT_FALSE(engine.decodeUin(nullptr, 4, &text, &length));
  EXPECT_FALSE(engine.encodeUin("1", 1, nullptr, nullptr));
}

}  // namespace
