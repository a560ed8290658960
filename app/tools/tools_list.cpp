// The Tools tab's tools list: Tools.txt shown in Combo2, and its Launch,
// Add and Remove buttons.  Every write replaces Tools.txt whole, so a
// crash leaves the old list or the new one, never half a file.

#include <optional>
#include <string>

#include "app/tools/tools_file.h"
#include "app/ui/form1.h"
#include "host/files/atomic_file.h"
#include "host/runtime/guard.h"
#include "host/shell/shell.h"
#include "host/shell/wine.h"
#include "host/system/platform.h"

namespace tw::app {

namespace {

constexpr const char* kToolsFile = "Tools.txt";

// The last component of a Windows path.
std::string fileName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The scripting object's GetExtensionName and GetBaseName.
std::string extensionName(const std::string& path) {
  const std::string name = fileName(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string baseName(const std::string& path) {
  const std::string name = fileName(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

}  // namespace

void Form1::LoadTools() {
  reportErrors(dialogs(), "Form1.LoadTools", [&] {
    Combo2->clear();
    ToolPaths.clear();
    const std::string file = programFile(kToolsFile);
    if (!fso().FileExists(ansiPath(file))) {
      dialogs().msgBox("Tools file not found.", MsgBoxStyle::OkOnly | MsgBoxStyle::Critical, "Tunewell Error");
      return;
    }
    const std::optional<std::string> bytes = readFileBytes(hostPath(file));
    if (!bytes) raise(ErrNo::FileNotFound);
    const CodePage& cp = host().machine().codePage();
    for (const tools_file::Tool& tool : tools_file::parse(*bytes)) {
      // An entry that could not be written back as it reads (a quote or a
      // line break inside) is left out with the stale ones: Remove rewrites
      // the file from the list, and must not turn one entry into another.
      if (!tools_file::canHold(tool.name) || !tools_file::canHold(tool.path)) continue;
      if (!fso().FileExists(tool.path)) continue;
      ToolPaths.push_back(cp.fromAnsi(tool.path));
      Combo2->addItem(cp.fromAnsi(tool.name));
    }
  });
}

void Form1::Combo2_Click() {
  reportErrors(dialogs(), "Form1.Combo2_Click", [&] {
    SelectedTool = static_cast<int16_t>(Combo2->listIndex());
    Command2->setEnabled(!Combo2->text().empty());
    Command5->setEnabled(true);
  });
}

void Form1::Command2_Click() {
  if (!Combo2->text().empty()) {
    try {
      if (SelectedTool < 0 || static_cast<size_t>(SelectedTool) >= ToolPaths.size()) raise(ErrNo::SubscriptOutOfRange);
      const std::string path = ToolPaths[static_cast<size_t>(SelectedTool)];
      const std::string extension = upper(extensionName(path));
      Machine& machine = host().machine();
      shell::Launcher* launcher = host().platform().launcher();
      if (extension == "EXE") {
        // The program folder's own programs start as the host maps them;
        // any other program must be a real Windows program, run by Wine.
        const bool ours = hostPath(path).parent_path() == hostPath(appPath());
        if (ours) {
          shell::startProgram(machine, launcher, ansiPath(path), {}, shell::WindowState::NormalFocus);
        } else {
          shell::startWithWine(machine, launcher, ansiPath(path), {}, shell::WindowState::NormalFocus);
        }
      } else if (extension == "CPL") {
        shell::startAppletWithWine(machine, launcher, ansiPath(path), shell::WindowState::MinimizedFocus);
      }
    } catch (...) {
      dialogs().msgBox("Program not found! Please check path.", MsgBoxStyle::OkOnly | MsgBoxStyle::Critical,
                       "Tunewell Error");
      return;
    }
  }
  Command5->setEnabled(false);
  Command2->setEnabled(false);
}

void Form1::Command4_Click() {
  skipErrors([&] {
    OpenFileRequest request;
    request.filter = std::string("Program Files") + "(*.exe)|*.exe|Control Panel Applets (*.cpl)|*.cpl";
    request.initialDir = "C:\\";
    const std::optional<std::string> chosen = dialogs().openFile(request);
    if (!chosen) return;
    const CodePage& cp = host().machine().codePage();
    const tools_file::Tool tool{cp.toAnsi(baseName(*chosen)), cp.toAnsi(*chosen)};
    if (!tools_file::canHold(tool.name) || !tools_file::canHold(tool.path)) {
      dialogs().msgBox("This tool cannot be added: its name or path holds a double quote or a line break, "
                       "which the tools list cannot keep. Rename the file and add it again.",
                       MsgBoxStyle::OkOnly | MsgBoxStyle::Critical, "Tunewell Error");
      return;
    }
    updateFileAtomically(hostPath(programFile(kToolsFile)), [&](const std::optional<std::string>& old) {
      std::string bytes = old.value_or(std::string());
      // A last line without its line end would run into the new one.
      if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') bytes += "\r\n";
      return std::optional<std::string>(bytes + tools_file::formatLine(tool));
    });
    dialogs().msgBox("New tool added successfully.", MsgBoxStyle::OkOnly | MsgBoxStyle::Information,
                     "Tunewell Tools");
    LoadTools();
  });
}

void Form1::Command5_Click() {
  reportErrors(dialogs(), "Form1.Command5_Click", [&] {
    if (Combo2->text().empty()) return;
    const CodePage& cp = host().machine().codePage();
    std::vector<tools_file::Tool> kept;
    for (int i = 0; i < Combo2->listCount(); ++i) {
      if (i == SelectedTool) continue;
      if (static_cast<size_t>(i) >= ToolPaths.size()) raise(ErrNo::SubscriptOutOfRange);
      kept.push_back({cp.toAnsi(Combo2->list(i)), cp.toAnsi(ToolPaths[static_cast<size_t>(i)])});
    }
    const std::string bytes = tools_file::format(kept);
    updateFileAtomically(hostPath(programFile(kToolsFile)),
                         [&](const std::optional<std::string>&) { return std::optional<std::string>(bytes); });
    LoadTools();
    dialogs().msgBox("Tool removed.", MsgBoxStyle::OkOnly | MsgBoxStyle::Information, "Tunewell Tools");
    Command5->setEnabled(false);
    Command2->setEnabled(false);
  });
}

}  // namespace tw::app
