#pragma once
// The base of the online tests: a real HTTP server on the loopback address, a
// private folder, and time-outs short enough that a stalled transfer ends
// within seconds.

#include "online/InternetTimeouts.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace onlinetest {

class LoopbackTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_server.Address().empty());
        online::SetInternetTimeouts({5000, 1});
    }
    void TearDown() override { online::SetInternetTimeouts({}); }

    testsupport::LocalHttpServer m_server;
    testsupport::TempFolder m_temp;
};

} // namespace onlinetest
