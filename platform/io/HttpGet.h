#pragma once
// One plain HTTP GET, the stand-in for the internet session, connection and request objects of the
// downloads. Nothing here throws or shows a message: every failure (no network, an unknown or dead
// host, a refused connection, a timeout, a status other than 200, a body cut short or over the
// caller's limit) is a false return.
#include <cstddef>
#include <functional>
#include <string>

struct SHttpGetRequest {
  std::string url; // "http://host[:port]/path"; other schemes are refused
  std::string userAgent;
  size_t maxBodyBytes = 0;      // a longer body fails the request, it is never cut
  long connectTimeoutMs = 2000; // name lookup and connect together
  long totalTimeoutMs = 30000;
  // A transfer that moves fewer than lowSpeedBytesPerSecond for lowSpeedTimeSeconds on end has
  // stalled and is abandoned, long before the total timeout (0 bytes per second: never).
  long lowSpeedBytesPerSecond = 100;
  long lowSpeedTimeSeconds = 10;
};

struct SHttpGetResult {
  long status = 0;       // the last response's status code; 0 when none came
  std::string body;      // the whole body of a status-200 response
  bool timedOut = false; // given up for a timeout or the low-speed limit, not refused
};

// True for status 200 with the whole body, which fits the limit. Follows at most a few redirects.
bool HttpGet(const SHttpGetRequest& request, SHttpGetResult& result);

// HttpGet on a thread of its own, so that the caller's thread stays free: it calls whileWaiting
// every waitStepMs (and at least once) until the transfer has ended, then returns its result.
// whileWaiting may pump a window's events; it must not start another transfer that it then waits for.
bool HttpGetAside(const SHttpGetRequest& request, SHttpGetResult& result,
                  const std::function<void()>& whileWaiting, long waitStepMs = 20);
