#pragma once
// Message boxes and the open-file dialog with Qt.  A box is made from the
// style bits (buttons, icon, default button) and then run by a runner: by
// default QMessageBox::exec(), which blocks until the user answers; tests
// and headless runs inject a runner that answers without blocking.

#include <functional>
#include <optional>
#include <string>

#include <QMessageBox>
#include <QPointer>

#include "host/dialogs/dialogs.h"

class QFileDialog;

namespace tw::qt {

class QtDialogs : public Dialogs {
 public:
  // Runs a prepared box and returns the button that answered it (null when
  // the box was closed without one).
  using BoxRunner = std::function<QAbstractButton*(QMessageBox& box)>;
  // Runs a prepared file dialog; the chosen host file, or nullopt.
  using FileRunner = std::function<std::optional<QString>(QFileDialog& dialog)>;
  using PathTranslator = std::function<std::string(const std::string&)>;

  explicit QtDialogs(QWidget* parent = nullptr);

  int msgBox(const std::string& text, int style, const std::string& title) override;
  std::optional<std::string> openFile(const OpenFileRequest& request) override;

  // The window the boxes belong to (the active window when none).
  void setParent(QWidget* parent) { parent_ = parent; }
  void setBoxRunner(BoxRunner runner) { boxRunner_ = std::move(runner); }
  void setFileRunner(FileRunner runner) { fileRunner_ = std::move(runner); }
  // For runs with nobody there to answer, where a box would wait for ever:
  // each box is written to standard error after "<program>: " and answered
  // with its default button, and each file dialog is cancelled.
  void answerUnattended(const std::string& program);
  // Windows path -> host path and back, for the file dialog's folder and
  // answer.
  void setPathTranslation(PathTranslator toHost, PathTranslator toWindows) {
    toHost_ = std::move(toHost);
    toWindows_ = std::move(toWindows);
  }

  // The parts of a box that the style bits choose.
  static QMessageBox::Icon iconFor(int style);
  static QMessageBox::StandardButtons buttonsFor(int style);
  static QMessageBox::StandardButton defaultButtonFor(int style);
  // The answer of a standard button (MsgBoxResult).
  static int answerOf(QMessageBox::StandardButton button);
  // "Programs (*.exe)|*.exe|All files|*.*" -> "Programs (*.exe);;All files (*.*)".
  static QString nameFilters(const std::string& filter);

 private:
  QPointer<QWidget> parent_;
  BoxRunner boxRunner_;
  FileRunner fileRunner_;
  PathTranslator toHost_;
  PathTranslator toWindows_;
};

}  // namespace tw::qt
