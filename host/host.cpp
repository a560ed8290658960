#include "host/host.h"

#include "host/system/platform.h"

namespace tw {

namespace {
Host* g_process = nullptr;
}

Host::Host(const std::filesystem::path& root, std::shared_ptr<Dialogs> dialogs, std::shared_ptr<sys::Platform> platform)
    : machine_(Machine::open(root)),
      registry_(std::make_unique<reg::Registry>(machine_.hiveFile())),
      profile_(machine_),
      dialogs_(dialogs ? std::move(dialogs) : std::make_shared<ScriptedDialogs>()),
      platform_(platform ? std::move(platform) : sys::makeLivePlatform(machine_)) {
  registry_->setDynData(platform_->dynData());
}

Host::~Host() {
  if (g_process == this) g_process = nullptr;
}

void Host::setPlatform(std::shared_ptr<sys::Platform> platform) {
  platform_ = std::move(platform);
  registry_->setDynData(platform_ ? platform_->dynData() : nullptr);
}

Host* Host::process() { return g_process; }
void Host::setProcess(Host* host) { g_process = host; }

}  // namespace tw
