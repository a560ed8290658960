#include "ui/forms/web_browser.h"

namespace tw::forms {

bool WebBrowser::navigate(const std::string& url) {
  bool cancel = false;
  BeforeNavigate2.raise(url, cancel);
  if (cancel) return false;
  pendingURL_ = url;
  changed(Prop::Navigation);
  return true;
}

void WebBrowser::navigationCompleted(const std::string& urlIn) {
  // The front end may pass pendingURL() itself; copy it before clearing.
  const std::string url = urlIn;
  pendingURL_.clear();
  if (locationURL_ != url) {
    locationURL_ = url;
    changed(Prop::LocationURL);
  }
  NavigateComplete2.raise(url);
}

bool WebBrowser::navigationFailed(const std::string& urlIn, int statusCode) {
  const std::string url = urlIn;
  pendingURL_.clear();
  bool cancel = false;
  NavigateError.raise(url, std::string(), statusCode, cancel);
  return cancel;
}

bool WebBrowser::userNavigate(const std::string& url) {
  if (!takesInput()) return false;
  return navigate(url);
}

}  // namespace tw::forms
