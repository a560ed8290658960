// The window around a form: hover, closing, keys, timers, the browser and
// errors that escape a handler.

#include <filesystem>
#include <string>
#include <vector>

#include <QPushButton>
#include <QTextBrowser>
#include <QWindow>

#include "host/runtime/errors.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/qt/local_http_server.h"
#include "tests/ui/qt/qt_app.h"
#include "ui/forms/forms.h"
#include "ui/qt/event_guard.h"

namespace tw::qt {
namespace {

using Log = std::vector<std::string>;
using Window = test::FormTest;

TEST_F(Window, ThePointerRaisesMouseMoveOnTheControlUnderItOrItsNearestLiveContainer) {
  auto& frame = form.add<forms::Frame>("Frame11");
  frame.move(1500, 1500, 3000, 2250);
  auto& check = form.add<forms::CheckBox>("Check1", -1, &frame);
  check.move(150, 300, 2400, 300);
  auto& title = form.add<forms::Label>("Label27", 0, &frame);
  title.move(150, 900, 2400, 300);
  title.setEnabled(false);
  auto record = [this](const char* who) {
    return [this, who](int button, int, double x, double y) {
      log.push_back(std::string(who) + " " + std::to_string(button) + " " + std::to_string(static_cast<int>(x)) +
                    "," + std::to_string(static_cast<int>(y)));
    };
  };
  form.MouseMove.connect(record("Form1"));
  frame.MouseMove.connect(record("Frame11"));
  check.MouseMove.connect(record("Check1"));
  title.MouseMove.connect(record("Label27"));
  auto window = open();
  QWindow* handle = window->windowHandle();
  ASSERT_NE(handle, nullptr);

  // Pixels in the window; the model hears twips relative to the control.
  QTest::mouseMove(handle, QPoint(5, 5));
  QTest::mouseMove(handle, QPoint(100 + 10 + 4, 100 + 20 + 6));
  QTest::mouseMove(handle, QPoint(100 + 10 + 8, 100 + 60 + 5));  // over the disabled label
  QTest::mouseMove(handle, QPoint(100 + 150, 100 + 120));        // the frame's own background
  EXPECT_EQ(log, (Log{"Form1 0 75,75", "Check1 0 60,90", "Frame11 0 270,975", "Frame11 0 2250,1800"}));
}

TEST_F(Window, KeepingTheFormOnTopKeepsItsWindowOnTopAndShown) {
  auto window = open();
  form.setTopMost(true);
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window->isVisible());
  form.setTopMost(false);
  EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window->isVisible());
}

TEST_F(Window, TheCloseBoxAsksTheFormWhichMayRefuse) {
  bool keepOpen = true;
  form.QueryUnload.connect([&](bool& cancel, forms::UnloadMode mode) {
    log.push_back("QueryUnload " + std::to_string(static_cast<int>(mode)));
    cancel = keepOpen;
  });
  form.Unload.connect([&](bool&) { log.push_back("Unload"); });
  auto window = open();

  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(form.loaded());

  keepOpen = false;
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(form.loaded());
  EXPECT_EQ(log, (Log{"QueryUnload 0", "QueryUnload 0", "Unload"}));

  form.show();
  EXPECT_TRUE(window->isVisible()) << "loading the form again shows its window";
  form.unload();
  EXPECT_FALSE(window->isVisible()) << "unloading by code hides it";
}

TEST_F(Window, TimersTickFromTheEventLoopAndMayStopThemselves) {
  auto& timer = form.add<forms::Timer>("Timer1");
  timer.setInterval(10);
  int ticks = 0;
  timer.Tick.connect([&] {
    if (++ticks == 3) timer.setEnabled(false);
  });
  auto window = open();
  EXPECT_TRUE(environment.running(timer));
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks == 3; }, 2000));
  EXPECT_FALSE(environment.running(timer));
  QTest::qWait(50);
  EXPECT_EQ(ticks, 3);

  timer.setEnabled(true);
  timer.setInterval(20);
  EXPECT_EQ(environment.intervalOf(timer), 20);
  form.unload();
  EXPECT_FALSE(environment.running(timer)) << "an unloaded form's timers stop";
}

TEST_F(Window, TheBrowserLoadsLocalAndWebPagesAfterNavigateReturnsAndReportsMissingOnes) {
  test::LocalHttpServer server(std::map<std::string, std::string>{
      {"/Twhelp/Main.html", "<html><body><p>Online help</p></body></html>"}});
  test::TempDir dir;
  test::writeFile(dir / "Main.html", "<html><body><p>Main page</p><a href=\"Contents.html\">contents</a></body></html>");
  test::writeFile(dir / "Contents.html", "<html><body><p>Table of contents</p></body></html>");
  auto& web = form.add<forms::WebBrowser>("Web");
  web.move(150, 150, 5000, 3000);
  web.NavigateComplete2.connect([&](const std::string& url) { log.push_back("Complete " + url); });
  web.NavigateError.connect([&](const std::string& url, const std::string&, int status, bool&) {
    log.push_back("Error " + url + " " + std::to_string(status));
    web.navigate2("C:\\Help\\Contents.html");
  });
  web.BeforeNavigate2.connect([&](const std::string& url, bool&) { log.push_back("Before " + url); });
  FormWindow::Options options;
  const std::string root = dir.path().string();
  options.toHostPath = [root](const std::string& windows) { return root + "/" + windows.substr(windows.rfind('\\') + 1); };
  options.toWindowsPath = [](const std::string& host) { return "C:\\Help\\" + host.substr(host.rfind('/') + 1); };
  auto window = open(std::move(options));
  auto* browser = window->widgetAs<QTextBrowser>("Web");
  ASSERT_NE(browser, nullptr);

  web.navigate("C:\\Help\\Main.html");
  EXPECT_EQ(log, (Log{"Before C:\\Help\\Main.html"})) << "nothing completes inside Navigate";
  ASSERT_TRUE(QTest::qWaitFor([&] { return !web.busy(); }, 2000));
  EXPECT_EQ(web.locationURL(), "C:\\Help\\Main.html");
  EXPECT_TRUE(browser->toPlainText().contains("Main page"));

  const std::string page = server.origin() + "/Twhelp/Main.html";
  web.navigate(page);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !web.busy(); }, 5000));
  EXPECT_EQ(log.back(), "Complete " + page);
  EXPECT_TRUE(browser->toPlainText().contains("Online help"));

  for (const std::string& missing : {std::string("C:\\Help\\Missing.html"), server.origin() + "/Twhelp/Gone.html"}) {
    log.clear();
    web.navigate(missing);
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.size() >= 4; }, 5000));
    EXPECT_EQ(log, (Log{"Before " + missing, "Error " + missing + " 404", "Before C:\\Help\\Contents.html",
                        "Complete C:\\Help\\Contents.html"}));
    EXPECT_TRUE(browser->toPlainText().contains("Table of contents")) << "the handler's page, not an error page";
  }

  // A link on the page is followed as a Windows path.
  log.clear();
  browser->anchorClicked(QUrl(QStringLiteral("Main.html")));
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.size() >= 2; }, 2000));
  EXPECT_EQ(log, (Log{"Before C:\\Help\\Main.html", "Complete C:\\Help\\Main.html"}));
}

TEST_F(Window, AnErrorEscapingAHandlerIsReportedAndTheWindowGoesOn) {
  auto& button = form.add<forms::CommandButton>("Command3", 1);
  button.move(150, 150, 1500, 375);
  button.Click.connect([] { throw RuntimeError(380, "Invalid property value"); });
  std::vector<std::string> reported;
  setUnhandledErrorHandler([&](const std::string& message) { reported.push_back(message); });
  auto window = open();
  QTest::mouseClick(window->widgetAs<QPushButton>("Command3", 1), Qt::LeftButton);
  setUnhandledErrorHandler(nullptr);
  EXPECT_EQ(reported, (std::vector<std::string>{"Run-time error '380':\n\nInvalid property value"}));
  EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace tw::qt
