// The yardstick of the start-up benchmark: an empty Qt Widgets window of the
// tuner's size, shown the same way and reporting through the same probe.
// With --text it shows one line of text, which costs a text-drawing program
// the reading of the host's font configuration that the empty window never
// needs.

#include <cstring>

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "ui/qt/shown_probe.h"

int main(int argc, char** argv) {
  const bool report = tw::qt::ShownProbe::takeOption(argc, argv);
  const bool text = argc > 1 && std::strcmp(argv[argc - 1], "--text") == 0;
  QApplication app(argc, argv);
  QWidget window;
  if (text) (new QLabel(QStringLiteral("Welcome to Tunewell!"), &window))->move(10, 10);
  window.setWindowTitle(QStringLiteral("Empty"));
  window.resize(458, 437);
  tw::qt::ShownProbe probe;
  if (report) probe.watch(&window);
  window.show();
  return app.exec();
}
