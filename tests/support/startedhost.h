// A conformance test's start: the library started, a user who wants every kind.
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
