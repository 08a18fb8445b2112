#include "LoopbackHttpServer.h"

#include <httplib.h>

#include <stdexcept>

LoopbackHttpServer::LoopbackHttpServer() : m_server(std::make_unique<httplib::Server>())
{
  m_server->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    SRoute route;
    {
      std::lock_guard guard(m_lock);
      m_requests.push_back({request.path, request.get_header_value("User-Agent")});
      auto found = m_routes.find(httplib::detail::decode_url(request.path, false));
      if (found == m_routes.end()) {
        response.status = 404;
        return;
      }
      route = found->second;
    }
    auto body = std::make_shared<std::string>(std::move(route.body));
    switch (route.variant) {
    case EHttpVariant::Held: {
      std::unique_lock lock(m_lock);
      m_releasedChanged.wait(lock, [this] { return m_released; });
      response.set_content(*body, "application/octet-stream");
      break;
    }
    case EHttpVariant::Drip:
      response.set_chunked_content_provider(
          "application/octet-stream", [body](size_t offset, httplib::DataSink& sink) {
            if (offset >= body->size()) {
              sink.done();
              return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            return sink.is_writable() && sink.write(body->data() + offset, 1);
          });
      break;
    case EHttpVariant::Slow:
      std::this_thread::sleep_for(std::chrono::seconds(1));
      [[fallthrough]];
    case EHttpVariant::Normal:
      response.set_content(*body, "application/octet-stream");
      break;
    case EHttpVariant::NotFound:
      response.status = 404;
      response.set_content("<html><body>Not Found</body></html>", "text/html");
      break;
    case EHttpVariant::Truncated:
      response.set_content_provider(body->size(), "application/octet-stream",
                                    [body](size_t offset, size_t, httplib::DataSink& sink) {
                                      if (offset >= body->size() / 2)
                                        return false; // closes the connection
                                      sink.write(body->data(), body->size() / 2);
                                      return true;
                                    });
      break;
    case EHttpVariant::Chunked:
      response.set_chunked_content_provider(
          "application/octet-stream", [body](size_t offset, httplib::DataSink& sink) {
            if (offset >= body->size()) {
              sink.done();
              return true;
            }
            sink.write(body->data() + offset, std::min<size_t>(700, body->size() - offset));
            return true;
          });
      break;
    }
  });
  m_port = m_server->bind_to_any_port("127.0.0.1");
  if (m_port <= 0)
    throw std::runtime_error("the loopback HTTP server found no port");
  m_thread = std::thread([this] { m_server->listen_after_bind(); });
  while (!m_server->is_running())
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackHttpServer::~LoopbackHttpServer()
{
  Release();
  m_server->stop();
  if (m_thread.joinable())
    m_thread.join();
}

void LoopbackHttpServer::Serve(const std::string& path, std::string body, EHttpVariant variant)
{
  std::lock_guard guard(m_lock);
  m_routes[httplib::detail::decode_url(path, false)] = {std::move(body), variant};
}

void LoopbackHttpServer::Release()
{
  {
    std::lock_guard guard(m_lock);
    m_released = true;
  }
  m_releasedChanged.notify_all();
}

std::string LoopbackHttpServer::BaseUrl() const
{
  return "http://127.0.0.1:" + std::to_string(m_port);
}

std::vector<SHttpRequestSeen> LoopbackHttpServer::Requests() const
{
  std::lock_guard guard(m_lock);
  return m_requests;
}
