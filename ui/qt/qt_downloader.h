#pragma once
// The internet transfer control's downloads on Qt Network: the caller waits
// in a local event loop that repaints the windows but takes no input, so
// that nothing of the window runs while the page is on its way, and the
// loop ends when the page has come or the time limit has passed.

#include "ui/forms/internet_transfer.h"

namespace tw::qt {

class QtDownloader : public forms::Downloader {
 public:
  forms::Download get(const std::string& url, std::chrono::milliseconds limit) override;
};

}  // namespace tw::qt
