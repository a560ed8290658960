#include "host/host.h"

#include "host/system/platform.h"

namespace tw {

namespace {
Host* g_process = nullptr;

// An existing machine's hive is never made anew here: a fresh, empty hive
// would make the programs start as on a first run and write over the
// originals recorded in Settings.1st.
std::unique_ptr<reg::Registry> openMachineHive(const Machine& machine) {
  try {
    return std::make_unique<reg::Registry>(machine.hiveFile(), reg::HiveOpening::MustExist);
  } catch (const reg::HiveError& e) {
    if (!e.unusable()) throw;
    throw reg::HiveError(std::string(e.what()) + "; nothing was changed. To recover, make the machine anew with " +
                             Machine::resetCommand(machine.root()) +
                             " (it replaces the whole folder), then put back registry keys exported earlier with "
                             "plinthctl --machine \"" + machine.root().string() + "\" import FILE.reg",
                         true);
  }
}
}  // namespace

Host::Host(const std::filesystem::path& root, std::shared_ptr<Dialogs> dialogs, std::shared_ptr<sys::Platform> platform)
    : machine_(Machine::open(root)),
      registry_(openMachineHive(machine_)),
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
