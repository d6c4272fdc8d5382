// A real HTTP server for tests, on 127.0.0.1 at a free port, serving from
// its own thread until the end of the test. Add handlers to server() before
// the first request; stall() helps a handler wait until the test lets it go.
#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace trawlix::testing {

class TestHttpServer {
 public:
  TestHttpServer() {
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~TestHttpServer() {
    released_ = true;
    server_.stop();
    thread_.join();
  }
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  httplib::Server& server() { return server_; }
  int port() const { return port_; }
  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

  // Blocks a handler until the test ends (or a minute has passed), as a
  // server does that stops sending.
  void stall() {
    auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!released_ && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

 private:
  httplib::Server server_;
  int port_ = -1;
  std::thread thread_;
  std::atomic<bool> released_{false};
};

}  // namespace trawlix::testing
