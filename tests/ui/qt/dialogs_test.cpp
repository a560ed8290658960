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
  struct Seen {
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
    QString title, text;
  } seen{};
  QMessageBox::StandardButton press = QMessageBox::Cancel;
  dialogs.setBoxRunner([&](QMessageBox& box) -> QAbstractButton* {
    seen = {box.icon(), box.standardButtons(), box.standardButton(box.defaultButton()), box.windowTitle(), box.text()};
    return box.button(press);
  });

  EXPECT_EQ(dialogs.msgBox("Remove this configuration?", 33, "Remove Settings"), MsgBoxResult::Cancel);
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(seen.defaultButton, QMessageBox::Ok);
  EXPECT_EQ(seen.title, "Remove Settings");
  EXPECT_EQ(seen.text, "Remove this configuration?");

  press = QMessageBox::No;
  EXPECT_EQ(dialogs.msgBox("Restart now?", MsgBoxStyle::YesNo | MsgBoxStyle::Exclamation |
                                               MsgBoxStyle::DefaultButton2, "Restart"),
            MsgBoxResult::No);
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_EQ(seen.defaultButton, QMessageBox::No);

  press = QMessageBox::Ok;
  EXPECT_EQ(dialogs.msgBox("5 Invalid procedure call in Form1.Picsize", 16, "Error"), MsgBoxResult::Ok);
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, QMessageBox::Ok);

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
