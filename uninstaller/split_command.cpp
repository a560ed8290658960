#include "uninstaller/split_command.h"

namespace tw::uninstaller {

CommandWords splitCommand(std::string_view commandLine) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (size_t i = 0; i < commandLine.size(); ++i) {
    const char c = commandLine[i];
    if (c == '"') {
      if (quoted && i + 1 < commandLine.size() && commandLine[i + 1] == '"') {
        word += '"';
        ++i;
      } else {
        quoted = !quoted;
      }
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));

  CommandWords out;
  if (words.empty()) return out;
  out.program = std::move(words.front());
  out.arguments.assign(std::make_move_iterator(words.begin() + 1), std::make_move_iterator(words.end()));
  return out;
}

}  // namespace tw::uninstaller
