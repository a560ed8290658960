#include "app/settings/snapshot.h"

#include <system_error>

#include "host/files/atomic_file.h"
#include "host/runtime/codepage.h"
#include "host/runtime/vbconv.h"

namespace tw::app::snapshot {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Walks the file field by field, counting lines for the messages.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : s_(bytes) {}

  int line() const { return line_; }
  bool atEnd() const { return pos_ >= s_.size(); }

  void skipBlanks() {
    while (!atEnd() && isBlank(s_[pos_])) ++pos_;
  }

  bool atLineEnd() const { return atEnd() || s_[pos_] == '\r' || s_[pos_] == '\n'; }

  // CR LF, LF or a lone CR.
  void endLine() {
    if (atEnd()) return;
    if (s_[pos_] == '\r') ++pos_;
    if (!atEnd() && s_[pos_] == '\n') ++pos_;
    ++line_;
  }

  // The item that starts here, its quotes taken off.
  std::string field(int item) {
    skipBlanks();
    if (!atEnd() && s_[pos_] == '"') return quoted();
    std::string text;
    while (!atLineEnd()) text += s_[pos_++];
    while (!text.empty() && isBlank(text.back())) text.pop_back();
    if (text.find(',') != std::string::npos)
      throw SnapshotError("", line_, "more than one item on the line of item " + std::to_string(item));
    return text;
  }

  // Whatever follows the last item: blank lines only.
  void expectNothingMore() {
    for (;;) {
      skipBlanks();
      if (atEnd()) return;
      if (!atLineEnd()) throw SnapshotError("", line_, "more than " + std::to_string(kItems) + " items");
      endLine();
    }
  }

 private:
  std::string quoted() {
    const int opened = line_;
    ++pos_;
    std::string text;
    for (;;) {
      if (atEnd()) throw SnapshotError("", opened, "a quoted text is not closed");
      const char c = s_[pos_++];
      if (c == '"') {
        if (!atEnd() && s_[pos_] == '"') {
          text += '"';
          ++pos_;
          continue;
        }
        break;
      }
      if (c == '\n' || (c == '\r' && (atEnd() || s_[pos_] != '\n'))) ++line_;
      text += c;
    }
    skipBlanks();
    if (!atLineEnd()) {
      // A quote left open on its own line swallows the lines that follow
      // up to the next quote; the fault is where it was opened.
      if (line_ != opened) throw SnapshotError("", opened, "a quoted text is not closed");
      throw SnapshotError("", line_, "text after the closing quote");
    }
    return text;
  }

  std::string_view s_;
  size_t pos_ = 0;
  int line_ = 1;
};

void appendQuoted(std::string& out, std::string_view ansi) {
  out += '"';
  for (char c : ansi) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

SnapshotError::SnapshotError(const std::string& file, int line, const std::string& problem)
    : std::runtime_error((file.empty() ? std::string() : file + ", ") + "line " + std::to_string(line) + ": " +
                         problem),
      line_(line),
      problem_(problem) {}

std::string format(const PendingRecord& record, const CodePage& cp) {
  std::string out;
  out.reserve(512);
  for (const auto& s : catalogue::settings()) {
    const auto v = catalogue::value(record, s);
    if (const auto* n = std::get_if<int32_t>(&v))
      out += std::to_string(*n);
    else
      appendQuoted(out, cp.toAnsi(std::get<std::string>(v)));
    out += "\r\n";
  }
  return out;
}

std::array<std::string, kItems> parse(std::string_view bytes, const CodePage& cp) {
  std::array<std::string, kItems> items;
  Reader r(bytes);
  for (int i = 0; i < kItems; ++i) {
    r.skipBlanks();
    if (r.atEnd())
      throw SnapshotError("", r.line(),
                          "the snapshot ends after " + std::to_string(i) + " of its " + std::to_string(kItems) +
                              " items");
    const int line = r.line();
    std::string text = r.field(i);
    const auto& s = catalogue::setting(i);
    if (s.width != catalogue::Width::String && !parseNumber(text))
      throw SnapshotError("", line,
                          "item " + std::to_string(i) + " (" + std::string(s.field) + ") is not a number: \"" +
                              cp.fromAnsi(text) + "\"");
    items[static_cast<size_t>(i)] = cp.fromAnsi(text);
    r.endLine();
  }
  r.expectNothingMore();
  return items;
}

std::array<std::string, kItems> read(const std::filesystem::path& file, const CodePage& cp) {
  const auto bytes = readFileBytes(file);
  if (!bytes) throw std::system_error(std::make_error_code(std::errc::no_such_file_or_directory), file.string());
  try {
    return parse(*bytes, cp);
  } catch (const SnapshotError& e) {
    throw SnapshotError(file.filename().string(), e.line(), e.problem());
  }
}

void write(const std::filesystem::path& file, const PendingRecord& record, const CodePage& cp) {
  const std::string bytes = format(record, cp);
  updateFileAtomically(file, [&](const std::optional<std::string>&) { return std::optional<std::string>(bytes); });
}

bool sameValue(const catalogue::Setting& s, const std::string& item, const PendingRecord& record) {
  const auto v = catalogue::value(record, s);
  if (const auto* n = std::get_if<int32_t>(&v)) return val(item) == static_cast<double>(*n);
  return item == std::get<std::string>(v);
}

}  // namespace tw::app::snapshot
