#pragma once
// A tiny HTTP server on 127.0.0.1 for the tests of the online help: it
// serves fixed pages from a thread of its own (404 for any other path), or,
// when silent, takes connections and never answers, as a dead server does.

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tw::test {

class LocalHttpServer {
 public:
  // pages: request target ("/Twhelp/Main.html") -> body.
  explicit LocalHttpServer(std::map<std::string, std::string> pages, bool silent = false);
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:<port>"
  std::string origin() const;
  // The request targets received so far, in order.
  std::vector<std::string> requests() const;

 private:
  void serve();
  void answer(int client);

  std::map<std::string, std::string> pages_;
  bool silent_;
  int listener_ = -1;
  int stopPipe_[2] = {-1, -1};
  int port_ = 0;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::vector<int> held_;  // a silent server's open connections
  std::thread thread_;
};

}  // namespace tw::test
