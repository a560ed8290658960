#pragma once
// The internet transfer control (Inet): fetches an address while its caller
// waits, as OpenURL with the byte-array result does.  It is not drawn; the
// front end gives it a Downloader, and without one every fetch fails.
//
// Unlike the classic control, a fetch has a time limit, so that a server
// that never answers cannot hold the window for ever, and an answer that is
// not a page (an HTTP error status) is a failure rather than its error page.

#include <chrono>
#include <string>

namespace tw::forms {

// What a downloader tells of one fetch.
struct Download {
  enum class Outcome { Done, TimedOut, Failed };
  Outcome outcome = Outcome::Failed;
  int status = 0;     // the HTTP status, 0 when there was none
  std::string error;  // why it failed, in the network layer's words
  std::string body;   // the bytes, when Done
};

class Downloader {
 public:
  virtual ~Downloader() = default;
  // Fetches url, giving up after `limit`; returns when it is over.
  virtual Download get(const std::string& url, std::chrono::milliseconds limit) = 0;
};

// The control's error numbers.
inline constexpr int kInetTimedOut = 35761;
inline constexpr int kInetCannotConnect = 35754;
inline constexpr int kInetBadAnswer = 35765;

class InternetTransfer {
 public:
  enum class Protocol { Default = 0, HTTP = 4 };

  // The classic control waits 60 seconds; a window frozen that long looks
  // hung, and a help page that has not come in 15 seconds is not coming.
  static constexpr std::chrono::milliseconds kDefaultTimeout{15000};

  void setDownloader(Downloader* downloader) { downloader_ = downloader; }
  Protocol protocol() const noexcept { return protocol_; }
  void setProtocol(Protocol p) { protocol_ = p; }
  const std::string& url() const noexcept { return url_; }
  void setURL(std::string url) { url_ = std::move(url); }
  std::chrono::milliseconds requestTimeout() const noexcept { return timeout_; }
  void setRequestTimeout(std::chrono::milliseconds limit) { timeout_ = limit; }

  // The bytes at `url`.  Raises Request timed out (35761) when the limit
  // passed, Unable to connect to remote host (35754) when it could not be
  // fetched, and 35765 with the status when the server answered with an
  // error.
  std::string openURL(const std::string& url);

 private:
  Downloader* downloader_ = nullptr;
  Protocol protocol_ = Protocol::Default;
  std::string url_;
  std::chrono::milliseconds timeout_ = kDefaultTimeout;
};

}  // namespace tw::forms
