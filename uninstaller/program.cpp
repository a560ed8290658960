#include "uninstaller/program.h"

#include "host/shell/instance.h"
#include "host/shell/windows.h"

namespace tw::uninstaller {

namespace fs = std::filesystem;

UninstallerProgram::UninstallerProgram(Host& host, std::string commandLine, fs::path runtimeFolder) {
  try {
    if (runtimeFolder.empty()) runtimeFolder = shell::runtimeFolder();
    shell::ensurePrivateFolder(runtimeFolder);
    lock_ = std::make_unique<shell::InstanceLock>(
        runtimeFolder, shell::InstanceLock::nameFor("tunewell-uninstall", host.machine().root()));
    windows_ = std::make_unique<shell::WindowRegistry>(runtimeFolder / "windows");
  } catch (const std::exception&) {
    // Not being able to tell is no reason to refuse to run.
  }
  form_ = std::make_unique<Uninst>(
      UninstContext{host, lock_ && lock_->previousInstance(), windows_.get(), std::move(commandLine)});
}

UninstallerProgram::~UninstallerProgram() { form_.reset(); }

void UninstallerProgram::run() { form_->load(); }

}  // namespace tw::uninstaller
