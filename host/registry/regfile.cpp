#include "host/registry/regfile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <system_error>
#include <vector>

#include "host/files/atomic_file.h"
#include "host/registry/key_names.h"
#include "host/runtime/codepage.h"

namespace tw::reg {

RegFileError::RegFileError(std::string file, int line, const std::string& message)
    : std::runtime_error(file + (line > 0 ? ": line " + std::to_string(line) : std::string()) + ": " + message),
      file_(std::move(file)),
      line_(line) {}

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr size_t kWrapColumn = 80;

std::string_view trimLeft(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

std::string_view trimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string_view trim(std::string_view s) { return trimRight(trimLeft(s)); }

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && ansiEqualNoCase(s.substr(0, prefix.size()), prefix);
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// 1 to 8 hexadecimal digits and nothing else.
std::optional<DWORD> parseHex32(std::string_view s) {
  if (s.empty() || s.size() > 8) return std::nullopt;
  DWORD v = 0;
  for (char c : s) {
    const int d = hexDigit(c);
    if (d < 0) return std::nullopt;
    v = (v << 4) | static_cast<DWORD>(d);
  }
  return v;
}

std::string printable(std::string_view s) {
  std::string out;
  for (char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      static constexpr char kDigits[] = "0123456789abcdef";
      out += "\\x";
      out += kDigits[u >> 4];
      out += kDigits[u & 15];
    } else {
      out += c;
    }
  }
  return out;
}

// ---------------------------------------------------------------------------
// Reading

struct Op {
  enum Kind { OpenKey, DeleteKey, SetValue, DeleteValue } kind = OpenKey;
  int line = 0;
  HKEY root = 0;
  std::string path;  // OpenKey, DeleteKey: below the root
  std::string name;  // SetValue, DeleteValue
  DWORD type = REG_NONE;
  std::string data;
};

class Parser {
 public:
  Parser(std::string_view text, const std::string& source) : source_(source) {
    size_t pos = 0;
    while (pos < text.size()) {
      size_t end = text.find('\n', pos);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(pos, end - pos);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      lines_.push_back(line);
      pos = end + 1;
    }
  }

  std::vector<Op> parse() {
    if (lines_.empty() || trimRight(lines_[0]) != kHeader) fail(1, "missing \"REGEDIT4\" header on the first line");
    for (index_ = 1; index_ < lines_.size(); ++index_) {
      const std::string_view line = trim(lines_[index_]);
      if (line.empty() || line.front() == ';') continue;
      if (line.front() == '[')
        keyLine(line);
      else if (line.front() == '"' || line.front() == '@')
        valueLine(trimLeft(lines_[index_]));
      else
        fail(lineNo(), "expected \"name\"=value or [key]");
    }
    return std::move(ops_);
  }

 private:
  [[noreturn]] void fail(int line, const std::string& what) const { throw RegFileError(source_, line, what); }
  int lineNo() const { return static_cast<int>(index_ + 1); }

  void keyLine(std::string_view line) {
    if (line.back() != ']') fail(lineNo(), "expected \"]\" at the end of the key line");
    std::string_view inner = line.substr(1, line.size() - 2);
    const bool remove = !inner.empty() && inner.front() == '-';
    if (remove) inner.remove_prefix(1);
    // A name the hive cannot hold is refused here: cut at a NUL, a key
    // name would stand for another key; with a CR, no export could write it.
    if (inner.find('\0') != std::string_view::npos) fail(lineNo(), "a key name cannot hold a NUL byte");
    if (inner.find('\r') != std::string_view::npos) fail(lineNo(), "a key name cannot hold a line break");
    const size_t slash = inner.find('\\');
    const std::string_view rootPart = inner.substr(0, slash);
    const std::string_view path = slash == std::string_view::npos ? std::string_view() : inner.substr(slash + 1);
    const auto root = rootFromName(rootPart);
    if (!root || *root == HKEY_PERFORMANCE_DATA) fail(lineNo(), "unknown root key \"" + printable(rootPart) + "\"");
    if (*root == HKEY_DYN_DATA) fail(lineNo(), "HKEY_DYN_DATA cannot be written");
    if (slash != std::string_view::npos) {
      size_t pos = 0;
      for (;;) {
        size_t end = path.find('\\', pos);
        if (end == std::string_view::npos) end = path.size();
        if (end == pos) fail(lineNo(), "empty key name in \"" + printable(inner) + "\"");
        if (end - pos > kMaxNameLength) fail(lineNo(), "key name longer than 255 characters");
        if (end == path.size()) break;
        pos = end + 1;
      }
    }
    if (remove && path.empty()) fail(lineNo(), "a root key cannot be deleted");
    Op op;
    op.kind = remove ? Op::DeleteKey : Op::OpenKey;
    op.line = lineNo();
    op.root = *root;
    op.path = std::string(path);
    ops_.push_back(std::move(op));
    inKey_ = !remove;
  }

  // A quoted string starting at s[pos]; \\ and \" are the only escapes.
  std::string quotedString(std::string_view s, size_t& pos) const {
    std::string out;
    ++pos;
    while (pos < s.size()) {
      const char c = s[pos];
      if (c == '"') {
        ++pos;
        return out;
      }
      if (c == '\\') {
        if (pos + 1 >= s.size()) break;
        const char n = s[pos + 1];
        if (n != '\\' && n != '"')
          fail(lineNo(), std::string("unknown escape \"\\") + printable(std::string_view(&n, 1)) +
                             "\" in a string (a backslash is written \\\\)");
        out += n;
        pos += 2;
        continue;
      }
      out += c;
      ++pos;
    }
    fail(lineNo(), "unterminated string");
  }

  void valueLine(std::string_view line) {
    if (!inKey_) fail(lineNo(), "value outside a key (a [key] line must come first)");
    Op op;
    op.line = lineNo();
    size_t pos = 0;
    if (line[0] == '@') {
      pos = 1;
    } else {
      op.name = quotedString(line, pos);
      if (op.name.find('\0') != std::string::npos) fail(lineNo(), "a value name cannot hold a NUL byte");
      if (op.name.find('\r') != std::string::npos) fail(lineNo(), "a value name cannot hold a line break");
      if (op.name.size() > kMaxNameLength) fail(lineNo(), "value name longer than 255 characters");
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= line.size() || line[pos] != '=') fail(lineNo(), "expected \"name\"=value");
    const std::string_view value = trim(line.substr(pos + 1));

    if (value == "-") {
      op.kind = Op::DeleteValue;
    } else if (!value.empty() && value.front() == '"') {
      size_t vpos = 0;
      op.kind = Op::SetValue;
      op.type = REG_SZ;
      op.data = quotedString(value, vpos);
      op.data += '\0';
      if (vpos != value.size()) fail(lineNo(), "unexpected text after the closing quote");
    } else if (startsWithNoCase(value, "dword:")) {
      const auto v = parseHex32(value.substr(6));
      if (!v) fail(lineNo(), "bad dword value \"" + printable(value.substr(6)) + "\" (1 to 8 hex digits)");
      op.kind = Op::SetValue;
      op.type = REG_DWORD;
      for (int i = 0; i < 4; ++i) op.data += static_cast<char>((*v >> (8 * i)) & 0xFF);
    } else if (startsWithNoCase(value, "hex")) {
      op.kind = Op::SetValue;
      hexValue(value.substr(3), op);
    } else {
      fail(lineNo(), "expected a value after \"=\": a \"string\", dword:, hex:, hex(N): or -");
    }
    ops_.push_back(std::move(op));
  }

  // After "hex": ":" or "(N):", then bytes, continued on following lines
  // while a line ends with a backslash.
  void hexValue(std::string_view rest, Op& op) {
    op.type = REG_BINARY;
    if (!rest.empty() && rest.front() == '(') {
      const size_t close = rest.find(')');
      const auto t = close == std::string_view::npos ? std::nullopt : parseHex32(rest.substr(1, close - 1));
      if (!t) fail(lineNo(), "bad value type in hex(N): N is 1 to 8 hex digits");
      op.type = *t;
      rest.remove_prefix(close + 1);
    }
    if (rest.empty() || rest.front() != ':') fail(lineNo(), "expected \":\" after hex");
    rest.remove_prefix(1);
    for (;;) {
      std::string_view seg = trimRight(rest);
      const bool more = !seg.empty() && seg.back() == '\\';
      if (more) seg.remove_suffix(1);
      seg = trim(seg);
      size_t pos = 0;
      while (!seg.empty() && pos <= seg.size()) {
        size_t comma = seg.find(',', pos);
        const bool last = comma == std::string_view::npos;
        if (last) comma = seg.size();
        const std::string_view token = trim(seg.substr(pos, comma - pos));
        // A comma may end a line that continues.
        if (token.empty() && last && more && pos > 0) break;
        const int hi = token.size() == 2 ? hexDigit(token[0]) : (token.size() == 1 ? 0 : -1);
        const int lo = token.empty() || token.size() > 2 ? -1 : hexDigit(token.back());
        if (hi < 0 || lo < 0) fail(lineNo(), "bad hex byte \"" + printable(token) + "\"");
        op.data += static_cast<char>((hi << 4) | lo);
        pos = comma + 1;
        if (last) break;
      }
      if (!more) return;
      if (index_ + 1 >= lines_.size()) fail(lineNo(), "the hex data continues past the end of the file");
      ++index_;
      rest = trimLeft(lines_[index_]);
    }
  }

  std::string source_;
  std::vector<std::string_view> lines_;
  size_t index_ = 0;
  bool inKey_ = false;
  std::vector<Op> ops_;
};

std::string describe(LONG rc) {
  switch (rc) {
    case ERROR_ACCESS_DENIED:
      return "access denied (error 5)";
    case ERROR_INVALID_PARAMETER:
      return "invalid name (error 87)";
    case ERROR_BADKEY:
      return "invalid key name (error 1010)";
    default:
      return "error " + std::to_string(rc);
  }
}

std::string fullName(const Op& op) {
  std::string out = rootName(op.root);
  if (!op.path.empty()) out += "\\" + op.path;
  return out;
}

void apply(Registry& registry, const std::vector<Op>& ops, const std::string& source) {
  std::optional<RegFileError> failure;
  const bool ok = registry.transaction([&] {
    HKEY current = 0;
    auto close = [&] {
      if (current) registry.RegCloseKey(current);
      current = 0;
    };
    for (const Op& op : ops) {
      LONG rc = ERROR_SUCCESS;
      std::string what;
      switch (op.kind) {
        case Op::OpenKey:
          close();
          rc = registry.RegCreateKeyEx(op.root, op.path, 0, "", 0, KEY_ALL_ACCESS, &current, nullptr);
          what = "cannot create key [" + printable(fullName(op)) + "]";
          break;
        case Op::DeleteKey:
          close();
          rc = registry.RegDeleteKey(op.root, op.path);
          if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;  // already gone is what was asked for
          what = "cannot delete key [" + printable(fullName(op)) + "]";
          break;
        case Op::SetValue:
          rc = registry.RegSetValueEx(current, op.name.c_str(), 0, op.type,
                                      reinterpret_cast<const uint8_t*>(op.data.data()),
                                      static_cast<DWORD>(op.data.size()));
          what = "cannot write value \"" + printable(op.name) + "\"";
          break;
        case Op::DeleteValue:
          rc = registry.RegDeleteValue(current, op.name.c_str());
          if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
          what = "cannot delete value \"" + printable(op.name) + "\"";
          break;
      }
      if (rc != ERROR_SUCCESS) {
        failure.emplace(source, op.line, what + ": " + describe(rc));
        close();
        return false;
      }
    }
    close();
    return true;
  });
  if (failure) throw *failure;
  if (!ok) throw RegFileError(source, 0, "the changes could not be written to the hive; nothing was changed");
}

// ---------------------------------------------------------------------------
// Writing

std::string escaped(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 2);
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// A REG_SZ is written as text only when reading the text back gives the same
// bytes: one NUL at the end and none inside, and no line break.
bool plainString(std::string_view data) {
  return !data.empty() && data.back() == '\0' && data.find('\0') == data.size() - 1 && !hasLineBreak(data);
}

class Exporter {
 public:
  Exporter(Registry& registry, std::string source) : r_(registry), source_(std::move(source)) {}

  std::string run(std::string_view keyPath) {
    out_ = std::string(kHeader) + "\r\n\r\n";
    keyPath = trim(keyPath);
    if (keyPath.empty()) {
      tree(HKEY_LOCAL_MACHINE, rootName(HKEY_LOCAL_MACHINE));
      tree(HKEY_USERS, rootName(HKEY_USERS));
      return std::move(out_);
    }
    const size_t slash = keyPath.find('\\');
    const std::string_view rootPart = keyPath.substr(0, slash);
    const auto root = rootFromName(rootPart);
    if (!root || *root == HKEY_PERFORMANCE_DATA) fail("unknown root key \"" + printable(rootPart) + "\"");
    std::string name = rootName(*root);
    HKEY key = *root;
    if (slash != std::string_view::npos) {
      // Walk down by enumeration so that the key lines carry the names as
      // stored, whatever case the caller used.
      std::string_view rest = keyPath.substr(slash + 1);
      size_t pos = 0;
      while (pos <= rest.size()) {
        size_t end = rest.find('\\', pos);
        if (end == std::string_view::npos) end = rest.size();
        const std::string_view part = rest.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty()) continue;
        std::string stored;
        for (const auto& child : subkeys(key))
          if (ansiEqualNoCase(child, part)) stored = child;
        HKEY next = 0;
        if (stored.empty() || r_.RegOpenKeyEx(key, stored, 0, KEY_READ, &next) != ERROR_SUCCESS) {
          if (key != *root) r_.RegCloseKey(key);
          fail("key \"" + printable(keyPath) + "\" does not exist");
        }
        if (key != *root) r_.RegCloseKey(key);
        key = next;
        name += "\\" + stored;
      }
    }
    try {
      tree(key, name);
    } catch (...) {
      if (key != *root) r_.RegCloseKey(key);
      throw;
    }
    if (key != *root) r_.RegCloseKey(key);
    return std::move(out_);
  }

 private:
  [[noreturn]] void fail(const std::string& what) const { throw RegFileError(source_, 0, what); }

  std::vector<std::string> subkeys(HKEY key) {
    std::vector<std::string> names;
    std::vector<char> buf(256);
    for (DWORD i = 0;; ++i) {
      DWORD len = static_cast<DWORD>(buf.size());
      const LONG rc = r_.RegEnumKeyEx(key, i, buf.data(), &len, nullptr, nullptr);
      if (rc == ERROR_NO_MORE_ITEMS) break;
      if (rc == ERROR_MORE_DATA) {
        buf.resize(buf.size() * 4);
        --i;
        continue;
      }
      if (rc != ERROR_SUCCESS) fail("cannot list the subkeys: error " + std::to_string(rc));
      names.emplace_back(buf.data(), len);
    }
    return names;
  }

  void tree(HKEY key, const std::string& name) {
    if (hasLineBreak(name)) fail("key \"" + printable(name) + "\" has a line break in its name");
    out_ += "[" + name + "]\r\n";
    values(key, name);
    out_ += "\r\n";
    for (const auto& child : subkeys(key)) {
      HKEY sub = 0;
      const LONG rc = r_.RegOpenKeyEx(key, child, 0, KEY_READ, &sub);
      if (rc != ERROR_SUCCESS) fail("cannot open \"" + printable(name + "\\" + child) + "\": error " + std::to_string(rc));
      try {
        tree(sub, name + "\\" + child);
      } catch (...) {
        r_.RegCloseKey(sub);
        throw;
      }
      r_.RegCloseKey(sub);
    }
  }

  void values(HKEY key, const std::string& keyName) {
    std::vector<char> nameBuf(256);
    std::vector<uint8_t> data;
    for (DWORD i = 0;; ++i) {
      DWORD nameLen = static_cast<DWORD>(nameBuf.size());
      DWORD type = 0, size = 0;
      LONG rc = r_.RegEnumValue(key, i, nameBuf.data(), &nameLen, &type, nullptr, &size);
      if (rc == ERROR_NO_MORE_ITEMS) break;
      if (rc == ERROR_MORE_DATA) {  // with no data buffer, only the name can be too long
        nameBuf.resize(nameBuf.size() * 4);
        --i;
        continue;
      }
      if (rc == ERROR_SUCCESS) {
        data.resize(std::max<DWORD>(size, 1));
        nameLen = static_cast<DWORD>(nameBuf.size());
        rc = r_.RegEnumValue(key, i, nameBuf.data(), &nameLen, &type, data.data(), &size);
      }
      if (rc != ERROR_SUCCESS)
        fail("cannot read the values of \"" + printable(keyName) + "\": error " + std::to_string(rc));
      const std::string_view name(nameBuf.data(), nameLen);
      if (hasLineBreak(name))
        fail("value \"" + printable(name) + "\" of \"" + printable(keyName) + "\" has a line break in its name");
      value(name, type, std::string_view(reinterpret_cast<const char*>(data.data()), size));
    }
  }

  void value(std::string_view name, DWORD type, std::string_view data) {
    std::string line;
    if (name.empty()) {
      line = "@=";
    } else {
      line = "\"";
      line += escaped(name);
      line += "\"=";
    }
    if (type == REG_SZ && plainString(data)) {
      out_ += line + "\"" + escaped(data.substr(0, data.size() - 1)) + "\"\r\n";
      return;
    }
    if (type == REG_DWORD && data.size() == 4) {
      DWORD v = 0;
      for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(data[static_cast<size_t>(i)]);
      char buf[16];
      std::snprintf(buf, sizeof buf, "%08x", v);
      out_ += line + "dword:" + buf + "\r\n";
      return;
    }
    if (type == REG_BINARY) {
      line += "hex:";
    } else {
      char buf[16];
      std::snprintf(buf, sizeof buf, "%x", type);
      line += std::string("hex(") + buf + "):";
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    size_t column = line.size();
    bool bytesOnLine = false;
    for (size_t i = 0; i < data.size(); ++i) {
      const auto b = static_cast<unsigned char>(data[i]);
      const size_t piece = i + 1 < data.size() ? 3 : 2;
      // Room is kept for the backslash that continues the line.
      if (bytesOnLine && column + piece > kWrapColumn - 1) {
        line += "\\\r\n  ";
        column = 2;
      }
      line += kDigits[b >> 4];
      line += kDigits[b & 15];
      if (piece == 3) line += ',';
      column += piece;
      bytesOnLine = true;
    }
    out_ += line + "\r\n";
  }

  Registry& r_;
  std::string source_;
  std::string out_;
};

std::string exportText(Registry& registry, std::string_view keyPath, const std::string& source) {
  std::string text;
  // One transaction holds other writers off, so the export is one moment of
  // the hive even while other programs write to it.
  registry.transaction([&] {
    text = Exporter(registry, source).run(keyPath);
    return true;
  });
  if (text.empty()) throw RegFileError(source, 0, "the hive could not be read");
  return text;
}

}  // namespace

void importRegText(Registry& registry, std::string_view text, const std::string& sourceName) {
  const auto ops = Parser(text, sourceName).parse();
  apply(registry, ops, sourceName);
}

void importRegFile(Registry& registry, const std::filesystem::path& file) {
  std::optional<std::string> text;
  try {
    text = readFileBytes(file);
  } catch (const std::system_error& e) {
    throw RegFileError(file.string(), 0, std::string("cannot be read: ") + e.code().message());
  }
  if (!text) throw RegFileError(file.string(), 0, "the file does not exist");
  importRegText(registry, *text, file.string());
}

std::string exportRegText(Registry& registry, std::string_view keyPath) {
  return exportText(registry, keyPath, "<text>");
}

void exportRegFile(Registry& registry, std::string_view keyPath, const std::filesystem::path& file) {
  const std::string text = exportText(registry, keyPath, file.string());
  try {
    writeFileAtomically(file, text);
  } catch (const std::system_error& e) {
    throw RegFileError(file.string(), 0, std::string("cannot be written: ") + e.code().message());
  }
}

}  // namespace tw::reg
