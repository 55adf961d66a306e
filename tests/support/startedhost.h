// The common start of a conformance test: the built library loaded and
// started by a host whose user is signed in and wants every kind of message.
#pragma once

#include <gtest/gtest.h>

#include "support/libraryhost.h"

class StartedHost : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.Loaded()) << "not bound: " << host.Missing();
    host.SignIn(5001);
    ASSERT_TRUE(host.Start());
    host.WantEverything();
  }

  libraryhost::LibraryHost host;
};
