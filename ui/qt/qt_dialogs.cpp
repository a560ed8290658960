#include "ui/qt/qt_dialogs.h"

#include <cstdio>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QStringList>

namespace tw::qt {

QtDialogs::QtDialogs(QWidget* parent) : parent_(parent) {}

void QtDialogs::answerUnattended(const std::string& program) {
  boxRunner_ = [program](QMessageBox& box) -> QAbstractButton* {
    std::fprintf(stderr, "%s: MsgBox \"%s\": \"%s\"\n", program.c_str(), qPrintable(box.windowTitle()),
                 qPrintable(box.text()));
    return box.defaultButton();
  };
  fileRunner_ = [](QFileDialog&) -> std::optional<QString> { return std::nullopt; };
}

QMessageBox::Icon QtDialogs::iconFor(int style) {
  switch (style & 0x70) {
    case MsgBoxStyle::Critical: return QMessageBox::Critical;
    case MsgBoxStyle::Question: return QMessageBox::Question;
    case MsgBoxStyle::Exclamation: return QMessageBox::Warning;
    case MsgBoxStyle::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButtons QtDialogs::buttonsFor(int style) {
  switch (style & 0x7) {
    case MsgBoxStyle::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgBoxStyle::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MsgBoxStyle::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgBoxStyle::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MsgBoxStyle::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    default: return QMessageBox::Ok;
  }
}

namespace {

// The buttons of a box in the order the platform places them.
std::vector<QMessageBox::StandardButton> orderedButtons(int style) {
  switch (style & 0x7) {
    case MsgBoxStyle::OkCancel: return {QMessageBox::Ok, QMessageBox::Cancel};
    case MsgBoxStyle::AbortRetryIgnore: return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
    case MsgBoxStyle::YesNoCancel: return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case MsgBoxStyle::YesNo: return {QMessageBox::Yes, QMessageBox::No};
    case MsgBoxStyle::RetryCancel: return {QMessageBox::Retry, QMessageBox::Cancel};
    default: return {QMessageBox::Ok};
  }
}

}  // namespace

QMessageBox::StandardButton QtDialogs::defaultButtonFor(int style) {
  const auto buttons = orderedButtons(style);
  // A default button the box does not have falls back to the first.
  std::size_t index = (style & MsgBoxStyle::DefaultButton3) ? 2 : (style & MsgBoxStyle::DefaultButton2) ? 1 : 0;
  if (index >= buttons.size()) index = 0;
  return buttons[index];
}

int QtDialogs::answerOf(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Ok: return MsgBoxResult::Ok;
    case QMessageBox::Cancel: return MsgBoxResult::Cancel;
    case QMessageBox::Abort: return MsgBoxResult::Abort;
    case QMessageBox::Retry: return MsgBoxResult::Retry;
    case QMessageBox::Ignore: return MsgBoxResult::Ignore;
    case QMessageBox::Yes: return MsgBoxResult::Yes;
    case QMessageBox::No: return MsgBoxResult::No;
    default: return 0;
  }
}

int QtDialogs::msgBox(const std::string& text, int style, const std::string& title) {
  QWidget* parent = parent_ ? parent_.data() : QApplication::activeWindow();
  QMessageBox box(iconFor(style), QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::NoButton, parent);
  box.setTextFormat(Qt::PlainText);
  for (QMessageBox::StandardButton button : orderedButtons(style)) box.addButton(button);
  box.setDefaultButton(defaultButtonFor(style));
  // Escape (and the close box) answer Cancel where there is one and OK on a
  // box with OK alone; the other boxes need a real answer.
  const QMessageBox::StandardButtons buttons = buttonsFor(style);
  if (buttons.testFlag(QMessageBox::Cancel)) {
    box.setEscapeButton(QMessageBox::Cancel);
  } else if (buttons == QMessageBox::Ok) {
    box.setEscapeButton(QMessageBox::Ok);
  }

  QAbstractButton* clicked = nullptr;
  if (boxRunner_) {
    clicked = boxRunner_(box);
  } else {
    box.exec();
    clicked = box.clickedButton();
  }
  if (clicked != nullptr) {
    if (const int answer = answerOf(box.standardButton(clicked)); answer != 0) return answer;
  }
  if (buttons.testFlag(QMessageBox::Cancel)) return MsgBoxResult::Cancel;
  return answerOf(defaultButtonFor(style));
}

QString QtDialogs::nameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i].trimmed();
    const QString patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
    // Qt reads the patterns from the parentheses of the name.
    if (!name.contains(QLatin1Char('('))) name += QStringLiteral(" (") + patterns + QLatin1Char(')');
    filters << name;
  }
  return filters.join(QStringLiteral(";;"));
}

std::optional<std::string> QtDialogs::openFile(const OpenFileRequest& request) {
  QWidget* parent = parent_ ? parent_.data() : QApplication::activeWindow();
  QString folder = QString::fromStdString(request.initialDir);
  if (toHost_ && !request.initialDir.empty()) folder = QString::fromStdString(toHost_(request.initialDir));
  QFileDialog dialog(parent, QString::fromStdString(request.title), folder, nameFilters(request.filter));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);

  std::optional<QString> chosen;
  if (fileRunner_) {
    chosen = fileRunner_(dialog);
  } else if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    chosen = dialog.selectedFiles().first();
  }
  if (!chosen) return std::nullopt;
  const std::string host = chosen->toStdString();
  return toWindows_ ? toWindows_(host) : host;
}

}  // namespace tw::qt
