#include "UpdateServer.h"

#include "CStringPrinting.h"

#include <gtest/gtest.h>

TEST(UpdateServer, EnvironmentBeforeProfileBeforeDefault)
{
  EXPECT_EQ(UpdateServerBaseUrl(L"updates.example.org", "http://127.0.0.1:8080/"), L"http://127.0.0.1:8080");
  EXPECT_EQ(UpdateServerBaseUrl(L"updates.example.org", ""), L"http://updates.example.org");
  EXPECT_EQ(UpdateServerBaseUrl(L"", nullptr), L"http://update.hvxpro.invalid");
  EXPECT_EQ(UpdateServerUrl(L"http://127.0.0.1:8080", "/HVXPro/a.csv"), "http://127.0.0.1:8080/HVXPro/a.csv");
  EXPECT_EQ(OnlineHelpUrl(L"http://h:81"), L"http://h:81/HVXPro/Help/");
}

TEST(UpdateServer, HostDecidesWhetherToAsk)
{
  EXPECT_EQ(UpdateServerHost(L"http://127.0.0.1:8080"), L"127.0.0.1");
  EXPECT_EQ(UpdateServerHost(L"http://[::1]:8080/x"), L"::1");
  EXPECT_TRUE(IsReservedInvalidHost(UpdateServerHost(L"http://update.hvxpro.invalid")));
  EXPECT_TRUE(IsReservedInvalidHost(L"UPDATE.INVALID."));
  EXPECT_FALSE(IsReservedInvalidHost(L"invalid.example.org"));
  EXPECT_TRUE(IsLoopbackHost(L"127.0.0.1"));
  EXPECT_TRUE(IsLoopbackHost(L"localhost"));
  EXPECT_FALSE(IsLoopbackHost(L"10.0.0.1"));
}
