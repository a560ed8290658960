// Message boxes and the open-file dialog made from the platform's style bits.

#include <filesystem>

#include <QAbstractButton>
#include <QFileDialog>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "tests/ui/qt/qt_app.h"
#include "ui/qt/qt_dialogs.h"

namespace tw::qt {
namespace {

struct Dialogs : ::testing::Test {
  QApplication& app = test::qtApp();
  QtDialogs dialogs;
};

TEST_F(Dialogs, StyleBitsChooseIconButtonsAndDefaultAndTheAnswerIsThePressedButton) {
  using Box = QMessageBox;
  const struct {
    int style;
    Box::Icon icon;
    Box::StandardButtons buttons;
    Box::StandardButton defaultButton, press;
    int answer;
  } rows[] = {
      {33, Box::Question, Box::Ok | Box::Cancel, Box::Ok, Box::Cancel, MsgBoxResult::Cancel},
      {MsgBoxStyle::YesNo | MsgBoxStyle::Exclamation | MsgBoxStyle::DefaultButton2, Box::Warning, Box::Yes | Box::No,
       Box::No, Box::No, MsgBoxResult::No},
      {16, Box::Critical, Box::Ok, Box::Ok, Box::Ok, MsgBoxResult::Ok},
  };
  for (const auto& row : rows) {
    dialogs.setBoxRunner([&](Box& box) -> QAbstractButton* {
      EXPECT_EQ(box.icon(), row.icon);
      EXPECT_EQ(box.standardButtons(), row.buttons);
      EXPECT_EQ(box.standardButton(box.defaultButton()), row.defaultButton);
      EXPECT_EQ(box.windowTitle(), "Remove Settings");
      EXPECT_EQ(box.text(), "Remove this configuration?");
      return box.button(row.press);
    });
    EXPECT_EQ(dialogs.msgBox("Remove this configuration?", row.style, "Remove Settings"), row.answer) << row.style;
  }

  // A box closed without a button answers Cancel where it has one.
  dialogs.setBoxRunner([](QMessageBox&) -> QAbstractButton* { return nullptr; });
  EXPECT_EQ(dialogs.msgBox("?", MsgBoxStyle::YesNoCancel, "t"), MsgBoxResult::Cancel);
  EXPECT_EQ(dialogs.msgBox("?", MsgBoxStyle::YesNo | MsgBoxStyle::DefaultButton2, "t"), MsgBoxResult::No);
}

TEST_F(Dialogs, ARealBoxRunsModallyUntilAButtonIsPressed) {
  QTimer::singleShot(0, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Retry)->click();
  });
  EXPECT_EQ(dialogs.msgBox("Disk not ready", MsgBoxStyle::RetryCancel, "Tunewell Error"), MsgBoxResult::Retry);
}

TEST_F(Dialogs, TheOpenFileDialogTakesTheFilterAndFolderAndAnswersWithAWindowsPath) {
  EXPECT_EQ(QtDialogs::nameFilters("Programs (*.exe)|*.exe|All files|*.*"), "Programs (*.exe);;All files (*.*)");
  EXPECT_EQ(QtDialogs::nameFilters("Pictures|*.bmp;*.ico"), "Pictures (*.bmp *.ico)");

  test::TempDir machine;
  std::filesystem::create_directory(machine / "WINDOWS");
  const std::string root = machine.path().string();
  dialogs.setPathTranslation([root](const std::string& windows) { return root + "/" + windows.substr(3); },
                             [root](const std::string& host) { return "C:\\" + host.substr(root.size() + 1); });
  QString folder;
  QStringList filters;
  dialogs.setFileRunner([&](QFileDialog& dialog) -> std::optional<QString> {
    folder = dialog.directory().absolutePath();
    filters = dialog.nameFilters();
    return QString::fromStdString(root + "/TOOLS.EXE");
  });
  const auto chosen = dialogs.openFile({"Add Tool", "Programs (*.exe)|*.exe", "C:\\WINDOWS"});
  EXPECT_EQ(chosen, std::optional<std::string>("C:\\TOOLS.EXE"));
  EXPECT_EQ(filters, QStringList{"Programs (*.exe)"});
  EXPECT_EQ(folder.toStdString(), (machine / "WINDOWS").string());

  dialogs.setFileRunner([](QFileDialog&) -> std::optional<QString> { return std::nullopt; });
  EXPECT_EQ(dialogs.openFile({"Add Tool", "", ""}), std::nullopt) << "cancelled";
}

}  // namespace
}  // namespace tw::qt
