#pragma once
// The embedded web browser.  The model does not fetch pages: Navigate
// raises BeforeNavigate2 (whose handler may cancel), then records the
// address as the pending navigation and announces it (Prop::Navigation);
// the front end loads it and reports the outcome with navigationCompleted
// or navigationFailed, which raise NavigateComplete2 or NavigateError.
// A link the user follows inside the page goes through userNavigate.

#include <string>

#include "ui/forms/control.h"

namespace tw::forms {

class WebBrowser : public Control {
 public:
  WebBrowser() = default;
  const char* typeName() const noexcept override { return "WebBrowser"; }

  // False when a BeforeNavigate2 handler cancelled.
  bool navigate(const std::string& url);
  bool navigate2(const std::string& url) { return navigate(url); }

  // The page shown now, and the one being loaded ("" when none).
  const std::string& locationURL() const noexcept { return locationURL_; }
  const std::string& pendingURL() const noexcept { return pendingURL_; }
  bool busy() const noexcept { return !pendingURL_.empty(); }

  // The front end's reports.
  void navigationCompleted(const std::string& url);
  // True when a NavigateError handler cancelled, so that the front end
  // does not show its own error page.
  bool navigationFailed(const std::string& url, int statusCode);
  // A link the user clicked: BeforeNavigate2, then the navigation unless a
  // handler cancelled it.  False when it was cancelled or not taken.
  bool userNavigate(const std::string& url);

  Event<const std::string&, bool&> BeforeNavigate2;   // (URL, Cancel)
  Event<const std::string&> NavigateComplete2;        // (URL)
  Event<const std::string&, const std::string&, int, bool&> NavigateError;  // (URL, Frame, StatusCode, Cancel)

 private:
  std::string locationURL_;
  std::string pendingURL_;
};

}  // namespace tw::forms
