#pragma once
// A window that draws a form: one widget per control, built from the form's
// controls when the window is made and kept in step with them from then on.
// The window follows the form's Caption, Visible, WindowState and TopMost;
// its close box asks the form to unload (QueryUnload and Unload may refuse);
// Enter and Escape press the form's default and cancel buttons; the pointer
// moving over any part of the window raises MouseMove on the control under
// it (or, as the platform does, on the nearest container that takes input).
//
// The form's Width and Height are its client area: the window adds its own
// frame around them.  The form must outlive the window.
//
// The widgets of a container that is hidden when the window is made (the
// frames of the tabs not in front), and all the widgets of a form that is
// hidden then, are made when it is first shown, or when widgetFor() asks for
// one of them: a window opens with what it shows.

#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <QWidget>

#include "ui/forms/form.h"
#include "ui/qt/binding.h"

namespace tw::qt {

class PictureStore;

class FormWindow : public QWidget {
  Q_OBJECT

 public:
  struct Options {
    // A window without a frame or a caption (the splash window).
    bool frameless = false;
    // Windows path <-> host path, for the pages a browser loads.
    std::function<std::string(const std::string&)> toHostPath;
    std::function<std::string(const std::string&)> toWindowsPath;
  };

  FormWindow(forms::Form& form, const PictureStore* pictures, Options options, QWidget* parent = nullptr);
  FormWindow(forms::Form& form, const PictureStore* pictures, QWidget* parent = nullptr)
      : FormWindow(form, pictures, Options{}, parent) {}
  ~FormWindow() override;

  forms::Form& form() const noexcept { return form_; }

  // The widget that draws a control; null for controls without one.
  QWidget* widgetFor(const forms::Control& control) const;
  template <class W>
  W* widgetAs(std::string_view name, int index = -1) const {
    const forms::Control* control = form_.find(name, index);
    return control != nullptr ? qobject_cast<W*>(widgetFor(*control)) : nullptr;
  }
  // The control a widget (or any widget inside it) draws: the form itself
  // for the window's own background.
  forms::Control* controlAt(const QWidget* widget) const;

  // The client area's size in pixels, as the form's design gives it.
  QSize clientSize() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // Makes the widgets of `controls` (in the form's order); the children of a
  // hidden container wait in pending_ until it shows.
  void build(const std::vector<forms::Control*>& controls);
  void buildPending(const forms::Control* container);
  void ensureBuilt();
  void syncForm(forms::Prop prop);
  void deliverMouseMove(QWidget* target, const QPointF& globalPosition, Qt::MouseButtons buttons,
                        Qt::KeyboardModifiers modifiers);

  forms::Form& form_;
  BindContext context_;
  Options options_;
  std::vector<std::unique_ptr<Binding>> bindings_;
  std::unordered_map<const forms::Control*, Binding*> byControl_;
  std::unordered_map<const QWidget*, forms::Control*> byWidget_;
  struct Pending {
    std::vector<forms::Control*> controls;
    int token = 0;  // the container's PropertyChanged connection
  };
  std::unordered_map<const forms::Control*, Pending> pending_;
  // Which container each waiting control waits for.
  std::unordered_map<const forms::Control*, const forms::Control*> waitsFor_;
  int token_ = 0;
  bool built_ = false;
  bool placed_ = false;
  bool closingFromModel_ = false;
  // The last pointer move handled, so that the copies Qt hands to each
  // parent of the widget under the pointer are handled once.
  qint64 lastMoveStamp_ = -1;
  QPointF lastMoveAt_;
};

}  // namespace tw::qt
