#include "HttpGet.h"

#include <curl/curl.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <thread>

namespace {
struct SBodySink {
  std::string* body;
  size_t limit;
  bool overLimit = false;
};

size_t Collect(char* data, size_t size, size_t count, void* user)
{
  auto* sink = static_cast<SBodySink*>(user);
  const size_t bytes = size * count;
  if (sink->body->size() + bytes > sink->limit) {
    sink->overLimit = true;
    return 0; // aborts the transfer
  }
  sink->body->append(data, bytes);
  return bytes;
}

// A loopback server is never reached through a proxy, whatever the environment names.
std::string NoProxyList()
{
  std::string list = "localhost,127.0.0.1,::1";
  for (const char* name : {"no_proxy", "NO_PROXY"})
    if (const char* value = std::getenv(name); value && *value)
      return list + "," + value;
  return list;
}
} // namespace

bool HttpGet(const SHttpGetRequest& request, SHttpGetResult& result)
{
  result = {};
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
  if (!curl)
    return false;
  SBodySink sink{&result.body, request.maxBodyBytes};
  const std::string noProxy = NoProxyList();
  CURL* h = curl.get();
  curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http");
  curl_easy_setopt(h, CURLOPT_USERAGENT, request.userAgent.c_str());
  curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 3L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, request.connectTimeoutMs);
  curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, request.totalTimeoutMs);
  // The timeouts must not raise signals in a program with threads.
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_NOPROXY, noProxy.c_str());
  if (request.lowSpeedBytesPerSecond > 0 && request.lowSpeedTimeSeconds > 0) {
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, request.lowSpeedBytesPerSecond);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, request.lowSpeedTimeSeconds);
  }
  if (request.maxBodyBytes > 0)
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(request.maxBodyBytes));
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &Collect);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);

  const CURLcode code = curl_easy_perform(h);
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &result.status);
  result.timedOut = code == CURLE_OPERATION_TIMEDOUT;
  const bool ok = code == CURLE_OK && result.status == 200 && !sink.overLimit;
  if (!ok)
    result.body.clear();
  return ok;
}

bool HttpGetAside(const SHttpGetRequest& request, SHttpGetResult& result,
                  const std::function<void()>& whileWaiting, long waitStepMs)
{
  // The transfer owns copies of what it uses: nothing of the caller's is touched from its thread.
  std::packaged_task<std::pair<bool, SHttpGetResult>()> task([request] {
    SHttpGetResult own;
    const bool ok = HttpGet(request, own);
    return std::make_pair(ok, std::move(own));
  });
  std::future<std::pair<bool, SHttpGetResult>> done = task.get_future();
  std::thread transfer(std::move(task));
  do {
    if (whileWaiting)
      whileWaiting();
  } while (done.wait_for(std::chrono::milliseconds(waitStepMs)) != std::future_status::ready);
  transfer.join();
  auto [ok, got] = done.get();
  result = std::move(got);
  return ok;
}
