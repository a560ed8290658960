// The combo box: editable in the two edit styles, a plain list in the list
// style.  Picking an item is the model's userSelect (Click, also for the
// item already selected); each key typed goes to the model's KeyPress first,
// whose handlers may swallow or replace it, and the edit that follows is the
// model's userEditText (Change).

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "ui/forms/combo_box.h"
#include "ui/qt/binding.h"
#include "ui/qt/event_guard.h"

namespace tw::qt {

namespace {

// The key as the runtime's KeyAscii: an ANSI character, or 8 for backspace;
// 0 for keys that are not characters.
int keyAscii(const QKeyEvent& event) {
  if (event.key() == Qt::Key_Backspace) return 8;
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return 0;
  const QString text = event.text();
  if (text.size() != 1) return 0;
  const char16_t c = text[0].unicode();
  if (c < 32 || c > 255) return 0;
  return c;
}

class ComboBoxBinding : public Binding, public QObject {
 public:
  ComboBoxBinding(forms::ComboBox& model, QComboBox* box, const BindContext& context)
      : Binding(model, box, context), model_(model), box_(box) {
    box_->setInsertPolicy(QComboBox::NoInsert);
    box_->setMaxVisibleItems(8);
    QObject::connect(box_, &QComboBox::activated, box_, [this](int index) {
      guarded([this, index] { model_.userSelect(index); });
      showSelection();
    });
    box_->installEventFilter(this);
  }

 protected:
  void sync(forms::Prop prop) override {
    switch (prop) {
      case forms::Prop::Style: applyStyle(); break;
      case forms::Prop::List: {
        QSignalBlocker block(box_);
        box_->clear();
        for (const std::string& item : model_.items()) box_->addItem(QString::fromStdString(item));
        showSelection();
        break;
      }
      case forms::Prop::ListIndex:
      case forms::Prop::Text: showSelection(); break;
      default: Binding::sync(prop);
    }
  }
  void syncOwn() override {
    applyStyle();
    sync(forms::Prop::List);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const int ascii = keyAscii(*key);
    if (ascii == 0) return false;
    const bool editable = model_.style() != forms::ComboBox::Style::DropdownList;
    if (watched != (editable ? static_cast<QObject*>(box_->lineEdit()) : box_)) return false;

    int result = 0;
    guarded([&] { result = model_.userKeyPress(ascii); });
    if (!editable) {
      // The model selected by the initial letter (with Click).
      showSelection();
      return true;
    }
    if (result == 0) return true;  // a handler swallowed the key
    if (result != ascii && box_->lineEdit() != nullptr) {
      // A handler replaced the key: type its replacement instead.
      if (result == 8) {
        box_->lineEdit()->backspace();
      } else {
        box_->lineEdit()->insert(QString(QChar(static_cast<char16_t>(result))));
      }
      editedByUser(box_->lineEdit()->text());
      return true;
    }
    return false;  // the edit field applies the key and reports the edit
  }

 private:
  void applyStyle() {
    const bool editable = model_.style() != forms::ComboBox::Style::DropdownList;
    if (editable == box_->isEditable()) return;
    QSignalBlocker block(box_);
    box_->setEditable(editable);
    if (QLineEdit* edit = box_->lineEdit()) {
      edit->installEventFilter(this);
      QObject::connect(edit, &QLineEdit::textEdited, box_, [this](const QString& text) { editedByUser(text); });
    }
    showSelection();
  }

  void editedByUser(const QString& text) {
    guarded([this, &text] { model_.userEditText(text.toStdString()); });
    showSelection();
  }

  // The widget shows the model's selection and text.
  void showSelection() {
    QSignalBlocker block(box_);
    if (box_->currentIndex() != model_.listIndex()) box_->setCurrentIndex(model_.listIndex());
    if (QLineEdit* edit = box_->lineEdit()) {
      const QString text = QString::fromStdString(model_.text());
      if (edit->text() != text) edit->setText(text);
    }
  }

  forms::ComboBox& model_;
  QComboBox* box_;
};

}  // namespace

std::unique_ptr<Binding> bindComboBox(forms::Control& control, QWidget* parent, const BindContext& context) {
  auto& model = static_cast<forms::ComboBox&>(control);
  return std::make_unique<ComboBoxBinding>(model, new QComboBox(parent), context);
}

}  // namespace tw::qt
