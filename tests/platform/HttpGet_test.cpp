#include "HttpGet.h"

#include "LoopbackHttpServer.h"

#include <gtest/gtest.h>

namespace {
class HttpGetTest : public ::testing::Test {
protected:
  bool Get(const std::string& path, size_t limit = 1000)
  {
    SHttpGetRequest request;
    request.url = server.BaseUrl() + path;
    request.userAgent = "HVXPro Firmware Download";
    request.maxBodyBytes = limit;
    request.totalTimeoutMs = 300;
    return HttpGet(request, result);
  }

  LoopbackHttpServer server;
  SHttpGetResult result;
  const std::string body = std::string(600, 'x') + "end";
};

} // namespace

TEST_F(HttpGetTest, WholeBodyOfStatus200)
{
  server.Serve("/a%20b/plain", body);
  server.Serve("/chunked", body, EHttpVariant::Chunked);
  ASSERT_TRUE(Get("/a%20b/plain"));
  EXPECT_EQ(result.body, body);
  ASSERT_TRUE(Get("/chunked"));
  EXPECT_EQ(result.body, body) << "chunks joined";
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(server.Requests()[0].path, "/a b/plain");
  EXPECT_EQ(server.Requests()[0].userAgent, "HVXPro Firmware Download");
}

TEST_F(HttpGetTest, EveryFailureIsFalseWithoutBody)
{
  server.Serve("/plain", body);
  server.Serve("/missing", body, EHttpVariant::NotFound);
  server.Serve("/truncated", body, EHttpVariant::Truncated);
  server.Serve("/slow", body, EHttpVariant::Slow);
  server.Serve("/chunked", body, EHttpVariant::Chunked);

  EXPECT_FALSE(Get("/missing"));
  EXPECT_EQ(result.status, 404);
  EXPECT_FALSE(Get("/plain", body.size() - 1)) << "over the limit is a failure, not a cut";
  EXPECT_FALSE(Get("/chunked", body.size() - 1));
  EXPECT_FALSE(Get("/truncated")) << "connection closed before the announced length";
  EXPECT_FALSE(Get("/slow")) << "total timeout";
  EXPECT_TRUE(result.body.empty());

  SHttpGetRequest refused;
  refused.url = "http://127.0.0.1:1/plain"; // nobody listens there
  refused.maxBodyBytes = 1000;
  EXPECT_FALSE(HttpGet(refused, result));
  refused.url = "file:///etc/passwd";
  EXPECT_FALSE(HttpGet(refused, result)) << "plain HTTP only";
}

TEST_F(HttpGetTest, TransferUnderTheLowSpeedLimitIsAbandonedAsTimedOut)
{
  // The same limit lets a body that comes at once through, and gives up on one byte every 50 ms
  // (20 bytes a second) after a second of it, long before its 200 bytes or the total timeout.
  server.Serve("/plain", body);
  server.Serve("/drip", std::string(200, 'd'), EHttpVariant::Drip);
  SHttpGetRequest request;
  request.maxBodyBytes = 1000;
  request.totalTimeoutMs = 60'000;
  request.lowSpeedBytesPerSecond = 1000;
  request.lowSpeedTimeSeconds = 1;
  request.url = server.BaseUrl() + "/plain";
  EXPECT_TRUE(HttpGet(request, result));
  EXPECT_FALSE(result.timedOut);
  request.url = server.BaseUrl() + "/drip";
  EXPECT_FALSE(HttpGet(request, result));
  EXPECT_TRUE(result.timedOut);
  EXPECT_TRUE(result.body.empty());

  request.url = server.BaseUrl() + "/missing";
  EXPECT_FALSE(HttpGet(request, result));
  EXPECT_FALSE(result.timedOut) << "refused, not stalled";
}

TEST_F(HttpGetTest, AsideTheCallerKeepsBeingCalledUntilTheTransferEnds)
{
  // The body is held until the caller's own work lets it go: it cannot come before that work ran.
  server.Serve("/held", body, EHttpVariant::Held);
  SHttpGetRequest request;
  request.url = server.BaseUrl() + "/held";
  request.maxBodyBytes = 1000;
  int calls = 0;
  EXPECT_TRUE(HttpGetAside(request, result, [&] {
    if (++calls == 3)
      server.Release();
  }));
  EXPECT_EQ(result.body, body);
  EXPECT_GE(calls, 3);

  request.url = server.BaseUrl() + "/missing";
  EXPECT_FALSE(HttpGetAside(request, result, {}));
  EXPECT_EQ(result.status, 404);
}
