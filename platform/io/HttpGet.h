#pragma once
// One plain HTTP GET, the stand-in for the internet session, connection and request objects of the
// downloads. Nothing here throws or shows a message: every failure (no network, an unknown or dead
// host, a refused connection, a timeout, a status other than 200, a body cut short or over the
// caller's limit) is a false return.
#include <cstddef>
#include <string>

struct SHttpGetRequest {
  std::string url; // "http://host[:port]/path"; other schemes are refused
  std::string userAgent;
  size_t maxBodyBytes = 0;      // a longer body fails the request, it is never cut
  long connectTimeoutMs = 2000; // name lookup and connect together
  long totalTimeoutMs = 30000;
};

struct SHttpGetResult {
  long status = 0;  // the last response's status code; 0 when none came
  std::string body; // the whole body of a status-200 response
};

// True for status 200 with the whole body, which fits the limit. Follows at most a few redirects.
bool HttpGet(const SHttpGetRequest& request, SHttpGetResult& result);
