#include "HttpGet.h"

#include "LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

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

// A port on 127.0.0.1 that nobody listens on.
int ClosedPort()
{
  int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(s, reinterpret_cast<sockaddr*>(&address), length);
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  close(s);
  return ntohs(address.sin_port);
}
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
  refused.url = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/plain";
  refused.maxBodyBytes = 1000;
  EXPECT_FALSE(HttpGet(refused, result));
  refused.url = "file:///etc/passwd";
  EXPECT_FALSE(HttpGet(refused, result)) << "plain HTTP only";
}
