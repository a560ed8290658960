#include "ui/forms/internet_transfer.h"

#include "host/runtime/errors.h"

namespace tw::forms {

std::string InternetTransfer::openURL(const std::string& url) {
  if (downloader_ == nullptr) throw RuntimeError(kInetCannotConnect, "Unable to connect to remote host");
  Download d = downloader_->get(url, timeout_);
  switch (d.outcome) {
    case Download::Outcome::TimedOut:
      throw RuntimeError(kInetTimedOut, "Request timed out");
    case Download::Outcome::Failed:
      throw RuntimeError(kInetCannotConnect,
                         "Unable to connect to remote host" + (d.error.empty() ? std::string() : " (" + d.error + ")"));
    case Download::Outcome::Done:
      break;
  }
  if (d.status != 0 && (d.status < 200 || d.status > 299))
    throw RuntimeError(kInetBadAnswer, "The server answered with status " + std::to_string(d.status));
  return std::move(d.body);
}

}  // namespace tw::forms
