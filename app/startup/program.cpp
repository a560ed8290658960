#include "app/startup/program.h"

#include "host/shell/instance.h"
#include "host/shell/windows.h"

namespace tw::app {

namespace fs = std::filesystem;

ProgramArgs takeProgramArgs(std::vector<std::string> args) {
  ProgramArgs result;
  result.machineRoot = Machine::chooseRoot(args);
  for (const std::string& a : args) {
    if (!result.commandLine.empty()) result.commandLine += ' ';
    result.commandLine += a;
  }
  return result;
}

TunerProgram::TunerProgram(Host& host, forms::Environment& environment, std::string commandLine,
                           fs::path runtimeFolder) {
  try {
    if (runtimeFolder.empty()) runtimeFolder = shell::runtimeFolder();
    shell::ensurePrivateFolder(runtimeFolder);
    // Copies of the program on different machines do not exclude each other.
    lock_ = std::make_unique<shell::InstanceLock>(
        runtimeFolder, shell::InstanceLock::nameFor("tunewell", host.machine().root()));
    windows_ = std::make_unique<shell::WindowRegistry>(runtimeFolder / "windows");
  } catch (const std::exception&) {
    // Not being able to tell is no reason to refuse to start.
  }
  TunerContext context{host, &environment, lock_ && lock_->previousInstance(), windows_.get(), std::move(commandLine)};
  main_ = std::make_unique<Form1>(context);
  splash_ = std::make_unique<frmSplash>(*main_, context);
}

TunerProgram::~TunerProgram() {
  // The windows go before the registry and the lock they rely on.
  splash_.reset();
  main_.reset();
}

void TunerProgram::start() {
  if (started_) return;
  started_ = true;
  splash_->load();
}

bool TunerProgram::finished() const { return started_ && (main_->ended() || !main_->loaded()); }

}  // namespace tw::app
