#include "app/tools/tools_file.h"

namespace tw::app::tools_file {

namespace {

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

class Reader {
 public:
  explicit Reader(std::string_view s) : s_(s) {}

  bool atEnd() const { return pos_ >= s_.size(); }

  // Passes over the line end at the reading position (CR LF, CR or LF).
  void skipLineEnd() {
    if (atEnd()) return;
    if (s_[pos_] == '\r') {
      ++pos_;
      if (!atEnd() && s_[pos_] == '\n') ++pos_;
    } else if (s_[pos_] == '\n') {
      ++pos_;
    }
  }

  bool atLineEnd() const { return atEnd() || isLineEnd(s_[pos_]); }

  // Whether the line from here holds nothing but blanks.
  bool blankLine() {
    size_t p = pos_;
    while (p < s_.size() && isBlank(s_[p])) ++p;
    if (p < s_.size() && !isLineEnd(s_[p])) return false;
    pos_ = p;
    return true;
  }

  // Reads one field; true when a comma followed it (another field is on the
  // line), false when the line ended.
  bool field(std::string& out) {
    while (!atEnd() && isBlank(s_[pos_])) ++pos_;
    if (!atEnd() && s_[pos_] == '"') {
      const size_t close = s_.find('"', pos_ + 1);
      const size_t end = close == std::string_view::npos ? s_.size() : close;
      out.assign(s_.substr(pos_ + 1, end - pos_ - 1));
      pos_ = close == std::string_view::npos ? s_.size() : close + 1;
      return passToDelimiter();
    }
    const size_t start = pos_;
    while (!atEnd() && s_[pos_] != ',' && !isLineEnd(s_[pos_])) ++pos_;
    std::string_view text = s_.substr(start, pos_ - start);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    out.assign(text);
    return takeComma();
  }

  // Passes over the rest of the line.
  void skipLine() {
    while (!atLineEnd()) ++pos_;
    skipLineEnd();
  }

 private:
  bool passToDelimiter() {
    while (!atEnd() && s_[pos_] != ',' && !isLineEnd(s_[pos_])) ++pos_;
    return takeComma();
  }

  bool takeComma() {
    if (!atEnd() && s_[pos_] == ',') {
      ++pos_;
      return true;
    }
    return false;
  }

  std::string_view s_;
  size_t pos_ = 0;
};

}  // namespace

std::vector<Tool> parse(std::string_view bytes) {
  std::vector<Tool> tools;
  Reader r(bytes);
  while (!r.atEnd()) {
    if (r.blankLine()) {
      r.skipLineEnd();
      continue;
    }
    Tool tool;
    if (r.field(tool.name)) {
      if (r.field(tool.path)) {
        r.skipLine();
      } else {
        r.skipLineEnd();
      }
    } else {
      r.skipLineEnd();
    }
    tools.push_back(std::move(tool));
  }
  return tools;
}

bool canHold(std::string_view field) { return field.find_first_of(std::string_view("\"\r\n\0", 4)) == std::string_view::npos; }

std::string formatLine(const Tool& tool) { return "\"" + tool.name + "\",\"" + tool.path + "\"\r\n"; }

std::string format(const std::vector<Tool>& tools) {
  std::string out;
  for (const Tool& t : tools) out += formatLine(t);
  return out;
}

}  // namespace tw::app::tools_file
