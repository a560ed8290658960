#include "app/driver/driver.h"

#include <charconv>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include "app/startup/program.h"
#include "host/runtime/errors.h"
#include "host/runtime/vbconv.h"
#include "host/shell/instance.h"
#include "host/system/platform.h"
#include "syslib/ctl/escapes.h"

namespace tw::app::drive {

namespace {

using namespace tw::forms;

struct ScriptError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Command {
  int line = 0;
  std::string verb;
  std::vector<std::string> args;
};

// Splits a line into words; a word in double quotes may hold blanks and the
// escapes \" \\ \n \r \t \0 \xHH.  "#" outside quotes starts a comment.
std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#') break;
    std::string word;
    if (c != '"') {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') word += line[i++];
      out.push_back(std::move(word));
      continue;
    }
    ++i;
    bool closed = false;
    while (i < line.size()) {
      const char d = line[i++];
      if (d == '"') {
        closed = true;
        break;
      }
      if (d != '\\' || i >= line.size()) {
        word += d;
        continue;
      }
      // A script's unknown escape stands for its letter.
      if (!ctl::isEscapeLetter(line[i])) {
        word += line[i++];
        continue;
      }
      const auto next = ctl::decodeEscapeAt(line, i - 1, word, nullptr);
      if (!next) throw ScriptError("bad \\x escape");
      i = *next;
    }
    if (!closed) throw ScriptError("a quoted word is not closed");
    out.push_back(std::move(word));
  }
  return out;
}

int number(const std::string& text, const char* what) {
  int value = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size())
    throw ScriptError(std::string(what) + " must be a whole number: " + text);
  return value;
}

int answerOf(const std::string& text) {
  static const std::pair<const char*, int> kNames[] = {{"ok", MsgBoxResult::Ok},         {"cancel", MsgBoxResult::Cancel},
                                                       {"abort", MsgBoxResult::Abort},   {"retry", MsgBoxResult::Retry},
                                                       {"ignore", MsgBoxResult::Ignore}, {"yes", MsgBoxResult::Yes},
                                                       {"no", MsgBoxResult::No}};
  for (const auto& [name, value] : kNames)
    if (equalNoCase(text, name)) return value;
  const int value = number(text, "an answer");
  if (value < MsgBoxResult::Ok || value > MsgBoxResult::No) throw ScriptError("no button answers " + text);
  return value;
}

struct Arity {
  const char* verb;
  int min;
  int max;  // -1: any number
};
constexpr Arity kVerbs[] = {{"answer", 1, 1}, {"click", 1, 1}, {"scroll", 2, 2}, {"select", 2, 2},
                            {"type", 2, 2},   {"hover", 1, 1}, {"tick", 1, 1},   {"tab", 1, 1},
                            {"wait", 1, 1},   {"close", 0, 0}, {"print", 1, -1},
                            {"choose", 1, 1}};

std::vector<Command> parse(std::istream& script) {
  std::vector<Command> commands;
  std::string line;
  for (int n = 1; std::getline(script, line); ++n) {
    std::vector<std::string> w;
    try {
      w = words(line);
    } catch (const ScriptError& e) {
      throw ScriptError("line " + std::to_string(n) + ": " + e.what());
    }
    if (w.empty()) continue;
    Command c{n, w.front(), {w.begin() + 1, w.end()}};
    const Arity* arity = nullptr;
    for (const Arity& a : kVerbs)
      if (c.verb == a.verb) arity = &a;
    if (arity == nullptr) throw ScriptError("line " + std::to_string(n) + ": unknown command " + c.verb);
    const int count = static_cast<int>(c.args.size());
    if (count < arity->min || (arity->max >= 0 && count > arity->max))
      throw ScriptError("line " + std::to_string(n) + ": wrong number of arguments for " + c.verb);
    commands.push_back(std::move(c));
  }
  return commands;
}

// "Combo3(1).ListIndex" -> name, index, property.
struct Reference {
  std::string form;  // "Form1", "frmSplash", or "" for Form1's controls
  std::string name;
  int index = -1;
  std::string property;
};

Reference parseReference(const std::string& text) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : text) {
    if (c == '.') {
      parts.push_back(std::move(part));
      part.clear();
    } else {
      part += c;
    }
  }
  parts.push_back(std::move(part));
  Reference r;
  size_t i = 0;
  if (parts.size() > 1 && (equalNoCase(parts[0], "Form1") || equalNoCase(parts[0], "frmSplash"))) r.form = parts[i++];
  if (i < parts.size()) {
    std::string name = parts[i++];
    const auto open = name.find('(');
    if (open != std::string::npos) {
      if (name.back() != ')') throw ScriptError("bad control name " + text);
      r.index = number(name.substr(open + 1, name.size() - open - 2), "an index");
      name.resize(open);
    }
    r.name = std::move(name);
  }
  if (i < parts.size()) r.property = parts[i++];
  if (i < parts.size() || r.name.empty()) throw ScriptError("bad control name " + text);
  return r;
}

std::string yesNo(bool b) { return b ? "True" : "False"; }
std::string text(std::string_view s) { return ctl::quote(s); }
std::string colour(Color c) { return "&H" + hex(c) + "&"; }

class Driver {
 public:
  Driver(std::ostream& out, std::ostream& err, const Options& options) : out_(out), err_(err), options_(options) {}

  int run(std::istream& script);

 private:
  void queueAnswer(int answer) {
    ++queuedAnswers_;
    dialogs_->answerNext(answer);
  }
  bool act(const Command& c);  // false: the action was not taken
  void print(const std::string& what);
  std::string describe(Control& control, const std::string& property);
  std::string describeForm(Form& form, const std::string& property);
  std::optional<std::string> state(const std::string& name);
  Control& control(const std::string& text);
  template <class T>
  T& controlAs(const std::string& text, const char* what) {
    auto* c = dynamic_cast<T*>(&control(text));
    if (c == nullptr) throw ScriptError(text + " is not " + what);
    return *c;
  }
  // An unanswered box fails the run once the action that showed it is over.
  bool unexpected() const { return unexpected_; }

  std::ostream& out_;
  std::ostream& err_;
  const Options& options_;
  std::shared_ptr<ScriptedDialogs> dialogs_ = std::make_shared<ScriptedDialogs>();
  int queuedAnswers_ = 0;
  bool unexpected_ = false;
  ManualEnvironment env_;
  std::unique_ptr<Host> host_;
  std::unique_ptr<TunerProgram> program_;
};

Control& Driver::control(const std::string& text) {
  const Reference r = parseReference(text);
  if (!r.property.empty()) throw ScriptError(text + " names a property, not a control");
  Form& form = equalNoCase(r.form, "frmSplash") ? static_cast<Form&>(program_->splash())
                                                 : static_cast<Form&>(program_->main());
  if (r.form.empty() && r.index == -1 && equalNoCase(r.name, "frmSplash")) return program_->splash();
  if (r.form.empty() && r.index == -1 && equalNoCase(r.name, "Form1")) return program_->main();
  Control* c = form.find(r.name, r.index);
  if (c == nullptr) throw ScriptError("no control " + text);
  return *c;
}

std::optional<std::string> Driver::state(const std::string& name) {
  Form1& f = program_->main();
  if (name.rfind("PendingSettings.", 0) == 0) {
    const catalogue::Setting* s = catalogue::findField(name.substr(16));
    if (s == nullptr) throw ScriptError("no pending setting " + name.substr(16));
    const auto v = catalogue::value(f.PendingSettings, *s);
    if (const auto* n = std::get_if<int32_t>(&v)) return std::to_string(*n);
    return text(std::get<std::string>(v));
  }
  if (name == "OsName") return text(f.OsName);
  if (name == "WindowsFolder") return text(f.WindowsFolder);
  if (name == "TotalMemoryKB") return std::to_string(f.TotalMemoryKB);
  if (name == "TotalMemoryMb") return std::to_string(f.TotalMemoryMb);
  if (name == "CurrentPreset") return text(f.CurrentPreset);
  if (name == "StartupPreset") return text(f.StartupPreset);
  if (name == "StartupRun") return std::to_string(f.StartupRun);
  if (name == "Tray") return std::to_string(f.Tray);
  if (name == "AutoUpdate") return std::to_string(f.AutoUpdate);
  if (name == "IconType") return text(f.IconType);
  if (name == "Speed") return std::to_string(f.Speed);
  if (name == "RestoreRequested") return yesNo(f.RestoreRequested);
  return std::nullopt;
}

std::string Driver::describeForm(Form& form, const std::string& property) {
  const std::string p = property.empty() ? "Visible" : property;
  if (equalNoCase(p, "Visible")) return yesNo(form.visible());
  if (equalNoCase(p, "Loaded")) return yesNo(form.loaded());
  if (equalNoCase(p, "Caption")) return text(form.caption());
  if (equalNoCase(p, "TopMost")) return yesNo(form.topMost());
  if (equalNoCase(p, "Width")) return numberToText(form.width());
  if (equalNoCase(p, "Height")) return numberToText(form.height());
  throw ScriptError(form.name() + " has no property " + p + " to print");
}

std::string Driver::describe(Control& c, const std::string& property) {
  if (auto* form = dynamic_cast<Form*>(&c)) return describeForm(*form, property);
  auto is = [&](const char* name) { return equalNoCase(property, name); };
  // The common properties first.
  if (is("Enabled")) return yesNo(c.enabled());
  if (is("Visible")) return yesNo(c.visible());
  if (is("ToolTipText")) return text(c.toolTipText());
  if (is("Left")) return numberToText(c.left());
  if (is("Top")) return numberToText(c.top());
  if (is("Width")) return numberToText(c.width());
  if (is("Height")) return numberToText(c.height());

  if (auto* box = dynamic_cast<CheckBox*>(&c)) {
    if (property.empty() || is("Value")) return std::to_string(box->value());
    if (is("Caption")) return text(box->caption());
  } else if (auto* option = dynamic_cast<OptionButton*>(&c)) {
    if (property.empty() || is("Value")) return yesNo(option->value());
    if (is("Caption")) return text(option->caption());
  } else if (auto* button = dynamic_cast<CommandButton*>(&c)) {
    if (property.empty() || is("Caption")) return text(button->caption());
  } else if (auto* slider = dynamic_cast<Slider*>(&c)) {
    if (property.empty() || is("Value")) return std::to_string(slider->value());
    if (is("Min")) return std::to_string(slider->min());
    if (is("Max")) return std::to_string(slider->max());
    if (is("SmallChange")) return std::to_string(slider->smallChange());
    if (is("LargeChange")) return std::to_string(slider->largeChange());
    if (is("TickFrequency")) return std::to_string(slider->tickFrequency());
    if (is("Text")) return text(slider->text());
  } else if (auto* combo = dynamic_cast<ComboBox*>(&c)) {
    if (property.empty() || is("Text")) return text(combo->text());
    if (is("ListIndex")) return std::to_string(combo->listIndex());
    if (is("ListCount")) return std::to_string(combo->listCount());
    if (is("List")) {
      std::string all;
      for (const auto& item : combo->items()) all += (all.empty() ? "" : ", ") + text(item);
      return all;
    }
  } else if (auto* label = dynamic_cast<Label*>(&c)) {
    if (property.empty() || is("Caption")) return text(label->caption());
  } else if (auto* frame = dynamic_cast<Frame*>(&c)) {
    if (property.empty() || is("Caption")) return text(frame->caption());
  } else if (auto* strip = dynamic_cast<TabStrip*>(&c)) {
    if (property.empty() || is("SelectedItem")) return std::to_string(strip->selectedIndex());
  } else if (auto* timer = dynamic_cast<Timer*>(&c)) {
    if (property.empty()) return yesNo(timer->enabled());
    if (is("Interval")) return std::to_string(timer->interval());
  } else if (auto* web = dynamic_cast<WebBrowser*>(&c)) {
    if (property.empty() || is("LocationURL")) return text(web->locationURL());
  } else if (auto* picture = dynamic_cast<PictureBox*>(&c)) {
    if (property.empty() || is("BackColor")) return colour(picture->backColor());
    if (is("Drawing")) return std::to_string(picture->drawing().size());
  } else if (auto* image = dynamic_cast<Image*>(&c)) {
    if (property.empty() || is("Picture")) return text(image->picture());
  }
  throw ScriptError(c.qualifiedName() + " has no property " + property + " to print");
}

void Driver::print(const std::string& what) {
  if (auto value = state(what)) {
    out_ << what << " = " << *value << "\n";
    return;
  }
  const Reference r = parseReference(what);
  if (!r.form.empty() && r.index == -1 && r.property.empty()) {
    // "Form1.Visible": a property of the form itself, unless a control of
    // the form has that name.
    Form& form = equalNoCase(r.form, "frmSplash") ? static_cast<Form&>(program_->splash())
                                                   : static_cast<Form&>(program_->main());
    if (form.find(r.name) == nullptr) {
      out_ << what << " = " << describeForm(form, r.name) << "\n";
      return;
    }
  }
  std::string controlName = (r.form.empty() ? "" : r.form + ".") + r.name;
  if (r.index >= 0) controlName += "(" + std::to_string(r.index) + ")";
  out_ << what << " = " << describe(control(controlName), r.property) << "\n";
}

bool Driver::act(const Command& c) {
  const auto& a = c.args;
  if (c.verb == "click") {
    Control& target = control(a[0]);
    if (auto* box = dynamic_cast<CheckBox*>(&target)) return box->userClick();
    if (auto* option = dynamic_cast<OptionButton*>(&target)) return option->userClick();
    if (auto* button = dynamic_cast<CommandButton*>(&target)) return button->userClick();
    if (auto* label = dynamic_cast<Label*>(&target)) return label->userClick();
    if (auto* frame = dynamic_cast<Frame*>(&target)) return frame->userClick();
    if (auto* image = dynamic_cast<Image*>(&target)) return image->userClick();
    if (auto* picture = dynamic_cast<PictureBox*>(&target)) return picture->userClick();
    throw ScriptError(a[0] + " cannot be clicked");
  }
  if (c.verb == "scroll") {
    Slider& slider = controlAs<Slider>(a[0], "a slider");
    const int position = number(a[1], "a slider position");
    if (!slider.userBeginDrag()) return false;
    slider.userDragTo(position);
    return slider.userEndDrag();
  }
  if (c.verb == "select") {
    Control& target = control(a[0]);
    const int index = number(a[1], "an index");
    if (auto* combo = dynamic_cast<ComboBox*>(&target)) return combo->userSelect(index);
    if (auto* strip = dynamic_cast<TabStrip*>(&target)) return strip->userSelect(index);
    throw ScriptError(a[0] + " has no list to select from");
  }
  if (c.verb == "type") return controlAs<ComboBox>(a[0], "a combo box").userType(a[1]);
  if (c.verb == "hover") {
    // The pointer cannot rest on what is not shown (a control of a tab that
    // is not in front); a greyed control passes it on to its container, as
    // the platform does.
    Control& target = control(a[0]);
    for (const Control* x = &target; x != nullptr; x = x->container())
      if (!x->visible()) return false;
    target.userMouseMove(MouseButton::None, ShiftMask::None, 0, 0);
    return true;
  }
  if (c.verb == "tick") {
    Timer& timer = controlAs<Timer>(a[0], "a timer");
    if (!timer.running()) return false;
    timer.tick();
    return true;
  }
  if (c.verb == "tab") return program_->main().TabStrip1->userSelect(number(a[0], "a tab number"));
  if (c.verb == "wait") {
    const int ms = number(a[0], "a time in milliseconds");
    if (ms < 0) throw ScriptError("a time cannot be negative");
    env_.advance(ms);
    return true;
  }
  if (c.verb == "close") return program_->main().userClose();
  if (c.verb == "answer") {
    queueAnswer(answerOf(a[0]));
    return true;
  }
  if (c.verb == "choose") {
    // The next open-file dialog returns this Windows path, or is cancelled.
    dialogs_->openFileNext(equalNoCase(a[0], "cancel") ? std::nullopt : std::optional<std::string>(a[0]));
    return true;
  }
  if (c.verb == "print") {
    for (const auto& what : a) print(what);
    return true;
  }
  throw ScriptError("unknown command " + c.verb);
}

int Driver::run(std::istream& script) {
  std::vector<Command> commands;
  try {
    commands = parse(script);
  } catch (const ScriptError& e) {
    err_ << e.what() << "\n";
    return kScriptError;
  }

  dialogs_->setStrict(true);
  dialogs_->setObserver([this](const ShownBox& box) {
    out_ << "MsgBox " << text(box.title) << " " << box.style << ": " << text(box.text) << "\n";
    if (queuedAnswers_ > 0)
      --queuedAnswers_;
    else
      unexpected_ = true;
  });
  try {
    host_ = std::make_unique<Host>(options_.machineRoot, dialogs_, options_.platform);
  } catch (const std::exception& e) {
    err_ << "tunewell-drive: " << e.what() << "\n";
    return kFailed;
  }
  Host::setProcess(host_.get());
  host_->setDoEvents([this] { env_.doEvents(); });
  program_ = std::make_unique<TunerProgram>(*host_, env_, options_.commandLine, options_.runtimeFolder);

  // A browser that loads every page at once.
  WebBrowser* web = program_->main().Web;
  web->PropertyChanged.connect([web](Prop p) {
    if (p != Prop::Navigation || !web->busy()) return;
    const std::string url = web->pendingURL();  // a copy: completing clears the pending address
    web->navigationCompleted(url);
  });

  int line = 0;
  auto failed = [&](const std::string& why) {
    err_ << (line > 0 ? "line " + std::to_string(line) + ": " : std::string("start-up: ")) << why << "\n";
    return kFailed;
  };
  auto unanswered = [&] { return failed("a message box appeared that the script did not answer"); };

  try {
    // The answers at the top of the script are for the boxes of start-up.
    size_t next = 0;
    for (; next < commands.size() && commands[next].verb == "answer"; ++next) act(commands[next]);
    // The control names are checked before anything runs.
    for (const Command& c : commands) {
      line = c.line;
      if (c.verb == "click" || c.verb == "scroll" || c.verb == "select" || c.verb == "type" || c.verb == "hover" ||
          c.verb == "tick")
        control(c.args[0]);
    }
    line = 0;

    program_->start();
    if (unexpected()) return unanswered();
    if (program_->main().ended()) {
      out_ << "End\n";
      return kOk;
    }
    // The splash picture runs its three seconds before the first action.
    frmSplash& splash = program_->splash();
    if (splash.loaded() && splash.Timer1->running()) env_.advance(splash.Timer1->interval());
    if (unexpected()) return unanswered();

    for (; next < commands.size(); ++next) {
      const Command& c = commands[next];
      line = c.line;
      if (!act(c)) {
        out_ << "Ignored:";
        out_ << " " << c.verb;
        for (const auto& arg : c.args) out_ << " " << arg;
        out_ << "\n";
      }
      if (unexpected()) return unanswered();
    }
  } catch (const ScriptError& e) {
    err_ << "line " << line << ": " << e.what() << "\n";
    return kScriptError;
  } catch (const UnexpectedDialog&) {
    return unanswered();
  } catch (const RuntimeError& e) {
    return failed("run-time error " + std::to_string(e.number()) + ": " + e.description());
  } catch (const std::exception& e) {
    return failed(e.what());
  }
  return kOk;
}

void usage(std::ostream& out) { out << kUsage; }

}  // namespace

const char* const kUsage =
    "usage: tunewell-drive [--machine DIR] [--runtime DIR] [SCRIPT|-] [TUNER-ARGS...]\n"
    "       tunewell-drive --help | --version\n"
    "Runs the tuner headless on the machine, performs the script's actions and prints\n"
    "every message box and the state asked for.  Without SCRIPT (or with -) the script\n"
    "is read from standard input.  Exit status: 0 done, 1 failed, 2 bad script or usage.\n";

int run(std::istream& script, std::ostream& out, std::ostream& err, const Options& options) {
  Driver driver(out, err, options);
  return driver.run(script);
}

int main(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err) {
  std::vector<std::string> args(argv + 1, argv + argc);
  Options options;
  // The host's own options come off first, as the program takes them off.
  for (size_t i = 0; i < args.size();) {
    if (args[i] == "--runtime" || args[i].rfind("--runtime=", 0) == 0) {
      if (args[i] == "--runtime") {
        if (i + 1 >= args.size()) {
          usage(err);
          return kScriptError;
        }
        options.runtimeFolder = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
      } else {
        options.runtimeFolder = args[i].substr(10);
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
      }
      continue;
    }
    ++i;
  }
  options.machineRoot = Machine::chooseRoot(args);
  // The programs the tuner starts (the Uninstaller, the tray utility) use it too.
  shell::setRuntimeFolder(options.runtimeFolder);
  // What is left: the script, then the tuner's own arguments.
  std::string scriptName;
  if (!args.empty()) {
    scriptName = args.front();
    args.erase(args.begin());
  }
  for (const auto& word : args) options.commandLine += (options.commandLine.empty() ? "" : " ") + word;

  if (scriptName.empty() || scriptName == "-") return run(in, out, err, options);
  std::ifstream file(scriptName);
  if (!file) {
    err << "tunewell-drive: cannot read the script " << scriptName << "\n";
    return kScriptError;
  }
  return run(file, out, err, options);
}

}  // namespace tw::app::drive
