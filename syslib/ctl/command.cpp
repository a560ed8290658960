#include "syslib/ctl/command.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/registry/regfile.h"
#include "syslib/ctl/arguments.h"
#include "syslib/ctl/escapes.h"
#include "syslib/interface/method_table.h"
#include "syslib/interface/registration.h"
#include "syslib/plinth.h"

namespace tw::ctl {

const char* const kUsage =
    "usage: plinthctl [--machine DIR] [--escapes] [--answer N]... METHOD [ARG...]\n"
    "       plinthctl [--machine DIR] methods\n"
    "       plinthctl [--machine DIR] create-machine | reset-machine\n"
    "       plinthctl [--machine DIR] import FILE.reg\n"
    "       plinthctl [--machine DIR] export KEY FILE.reg\n"
    "       plinthctl [--machine DIR] register | unregister\n"
    "       plinthctl --help | --version\n"
    "\n"
    "Arguments are text: @null is the null string, @empty an empty Variant, @missing\n"
    "omits an optional argument, @int:N @long:N @double:X @bool:B @str:TEXT give a\n"
    "Variant of that type.  --escapes decodes \\0 \\\\ \\r \\n \\t \\xHH in arguments.\n"
    "--answer N answers the next message box with button N (1 OK, 2 Cancel, 6 Yes,\n"
    "7 No); unanswered boxes take their default button.  The machine is DIR, else\n"
    "$TUNEWELL_MACHINE, else the default machine.\n";

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kBadUsage = 2;

void usage(std::ostream& out) { out << kUsage; }

int listMethods() {
  for (const auto& m : tw::plinthMethods()) std::cout << m.slot << " " << tw::describeMethod(m) << "\n";
  return kOk;
}

int callMethod(tw::Host& host, const std::string& name, const std::vector<std::string>& rawArgs, bool escapes) {
  const tw::MethodSpec* method = tw::findMethod(name);
  if (!method) {
    std::cerr << "plinthctl: no method named \"" << name << "\" (plinthctl methods lists them)\n";
    return kBadUsage;
  }
  size_t required = 0;
  for (const auto& p : method->params)
    if (!p.optional) ++required;
  if (rawArgs.size() < required || rawArgs.size() > method->params.size()) {
    std::cerr << "plinthctl: " << method->name << " takes " << required;
    if (required != method->params.size()) std::cerr << " to " << method->params.size();
    std::cerr << " argument" << (method->params.size() == 1 ? "" : "s") << ", not " << rawArgs.size() << ": "
              << tw::describeMethod(*method) << "\n";
    return kBadUsage;
  }
  std::vector<tw::Arg> args(method->params.size());
  for (size_t i = 0; i < rawArgs.size(); ++i) {
    std::string text = rawArgs[i];
    std::string error;
    if (escapes) {
      auto decoded = tw::ctl::decodeEscapes(text, &error);
      if (!decoded) {
        std::cerr << "plinthctl: argument " << i + 1 << " (" << method->params[i].name << "): " << error << "\n";
        return kBadUsage;
      }
      text = *decoded;
    }
    auto arg = tw::ctl::parseArg(method->params[i], text, &error);
    if (!arg) {
      std::cerr << "plinthctl: argument " << i + 1 << ": " << error << "; " << tw::describeMethod(*method) << "\n";
      return kBadUsage;
    }
    args[i] = std::move(*arg);
  }
  tw::Plinth plinth(host);
  const tw::CallResult result = method->invoke(plinth, args);
  std::cout << (result.result ? tw::ctl::formatVariant(*result.result) : "None") << "\n";
  for (const auto& [outName, value] : result.outputs) std::cout << outName << " = " << tw::ctl::formatVariant(value) << "\n";
  return kOk;
}

// Self-registration as a loader would run it, on the machine chosen on the
// command line; a failure shows the status code, as the loader would report it.
int registerServer(tw::Host& host, bool add) {
  tw::Host::setProcess(&host);
  const PLINTH_HRESULT hr = add ? DllRegisterServer() : DllUnregisterServer();
  tw::Host::setProcess(nullptr);
  if (PLINTH_FAILED(hr)) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
    std::cerr << "plinthctl: " << (add ? "DllRegisterServer" : "DllUnregisterServer") << " failed: " << code
              << "\n";
    return kFailed;
  }
  return kOk;
}

}  // namespace

int run(std::vector<std::string> args) {
  const std::filesystem::path root = tw::Machine::chooseRoot(args);
  bool escapes = false;
  auto dialogs = std::make_shared<tw::ScriptedDialogs>();
  dialogs->setObserver([](const tw::ShownBox& box) {
    std::cerr << "MsgBox " << tw::ctl::quote(box.title) << " " << box.style << ": " << tw::ctl::quote(box.text) << "\n";
  });
  size_t i = 0;
  for (; i < args.size(); ++i) {
    if (args[i] == "--escapes") {
      escapes = true;
    } else if (args[i] == "--answer" && i + 1 < args.size()) {
      dialogs->answerNext(std::atoi(args[++i].c_str()));
    } else if (args[i].rfind("--", 0) == 0) {
      std::cerr << "plinthctl: unknown option " << args[i] << "\n";
      usage(std::cerr);
      return kBadUsage;
    } else {
      break;
    }
  }
  if (i >= args.size()) {
    usage(std::cerr);
    return kBadUsage;
  }
  const std::string command = args[i];
  const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i + 1), args.end());

  try {
    if (command == "methods") return listMethods();
    if (command == "create-machine" || command == "reset-machine") {
      if (!rest.empty()) {
        usage(std::cerr);
        return kBadUsage;
      }
      tw::Machine::createFromTemplate(root, command == "reset-machine");
      std::cout << "machine ready in " << std::filesystem::absolute(root).string() << "\n";
      return kOk;
    }
    tw::Host host(root, dialogs);
    if (command == "import") {
      if (rest.size() != 1) {
        usage(std::cerr);
        return kBadUsage;
      }
      tw::reg::importRegFile(host.registry(), rest[0]);
      return kOk;
    }
    if (command == "register" || command == "unregister") {
      if (!rest.empty()) {
        usage(std::cerr);
        return kBadUsage;
      }
      return registerServer(host, command == "register");
    }
    if (command == "export") {
      if (rest.size() != 2) {
        usage(std::cerr);
        return kBadUsage;
      }
      tw::reg::exportRegFile(host.registry(), rest[0], rest[1]);
      return kOk;
    }
    return callMethod(host, command, rest, escapes);
  } catch (const tw::reg::RegFileError& e) {
    std::cerr << "plinthctl: " << e.what() << "\n";
    return kFailed;
  } catch (const std::exception& e) {
    std::cerr << "plinthctl: " << e.what() << "\n";
    return kFailed;
  }
}

}  // namespace tw::ctl
