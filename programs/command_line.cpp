#include "programs/command_line.h"

namespace tw::programs {

namespace {

const KnownOption* find(const ProgramOptions& options, std::string_view arg) {
  const std::string_view name = arg.substr(0, arg.find('='));
  for (const KnownOption& option : options.known) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

}  // namespace

std::optional<int> answerCommonOptions(const ProgramOptions& options, const std::vector<std::string>& args,
                                       std::ostream& out, std::ostream& err) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      out << options.usage;
      return 0;
    }
    if (arg == "--version") {
      out << options.program << " " << TW_VERSION << "\n";
      return 0;
    }
    if (arg.size() > 2 && arg.starts_with("--")) {
      const KnownOption* option = find(options, arg);
      if (option == nullptr) {
        err << options.program << ": unknown option " << arg.substr(0, arg.find('=')) << " (" << options.program
            << " --help lists the options)\n";
        return kUsageError;
      }
      // Its value is no option, whatever it looks like.
      if (option->takesValue && arg.find('=') == std::string::npos) ++i;
      continue;
    }
    if (!options.optionsAnywhere) break;
  }
  return std::nullopt;
}

std::optional<std::string> takeOptionValue(std::vector<std::string>& args, std::string_view name) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const auto at = args.begin() + static_cast<std::ptrdiff_t>(i);
    if (args[i] == name && i + 1 < args.size()) {
      std::string value = args[i + 1];
      args.erase(at, at + 2);
      return value;
    }
    if (args[i].starts_with(name) && args[i].size() > name.size() && args[i][name.size()] == '=') {
      std::string value = args[i].substr(name.size() + 1);
      args.erase(at);
      return value;
    }
  }
  return std::nullopt;
}

}  // namespace tw::programs
