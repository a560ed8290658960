#include "tests/ui/qt/local_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace tw::test {

LocalHttpServer::LocalHttpServer(std::map<std::string, std::string> pages, bool silent)
    : pages_(std::move(pages)), silent_(silent) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 16) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
      ::pipe(stopPipe_) != 0)
    throw std::runtime_error("the test's HTTP server cannot listen on 127.0.0.1");
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { serve(); });
}

LocalHttpServer::~LocalHttpServer() {
  const char stop = 's';
  if (::write(stopPipe_[1], &stop, 1) < 0) {
  }
  thread_.join();
  for (int fd : held_) ::close(fd);
  ::close(listener_);
  ::close(stopPipe_[0]);
  ::close(stopPipe_[1]);
}

std::string LocalHttpServer::origin() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::vector<std::string> LocalHttpServer::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void LocalHttpServer::serve() {
  for (;;) {
    pollfd fds[2] = {{listener_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents != 0) return;
    if (fds[0].revents == 0) continue;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client >= 0) answer(client);
  }
}

void LocalHttpServer::answer(int client) {
  std::string request;
  char buffer[4096];
  while (request.find("\r\n\r\n") == std::string::npos) {
    pollfd fd{client, POLLIN, 0};
    if (::poll(&fd, 1, 2000) <= 0) break;
    const ssize_t n = ::read(client, buffer, sizeof buffer);
    if (n <= 0) break;
    request.append(buffer, static_cast<size_t>(n));
  }
  const size_t start = request.find(' ') + 1;
  const std::string target = request.substr(start, request.find(' ', start) - start);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(target);
  }
  if (silent_) {
    held_.push_back(client);
    return;
  }
  const auto page = pages_.find(target);
  const std::string body = page == pages_.end() ? std::string("<html>not here</html>") : page->second;
  const std::string head = std::string(page == pages_.end() ? "HTTP/1.1 404 Not Found" : "HTTP/1.1 200 OK") +
                           "\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
                           "\r\nConnection: close\r\n\r\n";
  const std::string reply = head + body;
  size_t sent = 0;
  while (sent < reply.size()) {
    const ssize_t n = ::send(client, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  ::close(client);
}

}  // namespace tw::test
