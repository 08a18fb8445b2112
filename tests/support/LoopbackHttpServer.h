#pragma once
// An update server for tests: HTTP on 127.0.0.1 at a port the system picks, in a thread of its own,
// serving bodies that a test puts under paths, each in one of a few ways that a real server or
// network can fail.
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

enum class EHttpVariant {
  Normal,    // status 200, the body with its length
  NotFound,  // status 404 with a small page
  Truncated, // the length of the whole body announced, half of it sent, the connection closed
  Chunked,   // the body in chunked transfer coding, in pieces
  Slow,      // the body after a delay of a second
  Drip,      // the body in chunked coding, one byte every 50 ms: a server that stalls
  Held,      // the body once the test calls Release (or the server stops)
};

struct SHttpRequestSeen {
  std::string path; // decoded
  std::string userAgent;
};

class LoopbackHttpServer {
public:
  LoopbackHttpServer();
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  // The path as the program asks for it ("%20" and all).
  void Serve(const std::string& path, std::string body, EHttpVariant variant = EHttpVariant::Normal);
  std::string BaseUrl() const; // "http://127.0.0.1:<port>"
  int Port() const { return m_port; }
  std::vector<SHttpRequestSeen> Requests() const;
  // Lets the Held responses go, those waiting and those to come.
  void Release();

private:
  struct SRoute {
    std::string body;
    EHttpVariant variant;
  };

  std::unique_ptr<httplib::Server> m_server;
  int m_port = 0;
  std::thread m_thread;
  mutable std::mutex m_lock;
  std::condition_variable m_releasedChanged;
  bool m_released = false;
  std::map<std::string, SRoute> m_routes;
  std::vector<SHttpRequestSeen> m_requests;
};
