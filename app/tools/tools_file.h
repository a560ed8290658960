#pragma once
// Tools.txt, the user's list of tools: one tool per line, its display name
// and the full path of the program or applet, each between double quotes,
// separated by a comma, CR LF.  The bytes are the machine's ANSI text; this
// reader and writer neither convert nor touch the disk, so that any file
// can be fed to them.

#include <string>
#include <string_view>
#include <vector>

namespace tw::app::tools_file {

struct Tool {
  std::string name;
  std::string path;
  bool operator==(const Tool&) const = default;
};

// The tools of a file, in file order.  Each line gives one tool: a field in
// double quotes ends at its closing quote (and may run over line ends, as
// the runtime's reader lets it); an unquoted field ends at the next comma
// or line end, its surrounding blanks removed.  Text after a closing quote
// up to the next comma or line end is passed over, as are fields after the
// second.  A line with one field gives a tool without a path; empty lines
// give nothing.  A missing final line end is no fault.
std::vector<Tool> parse(std::string_view bytes);

// Whether a name or path can be written so that it reads back as itself: a
// double quote would end its field early, and a line break or a NUL would
// split or cut the line.
bool canHold(std::string_view field);

// One line of the file for `tool` ("\"name\",\"path\"\r\n").  The caller
// has checked both fields with canHold.
std::string formatLine(const Tool& tool);

// The whole file for `tools`.
std::string format(const std::vector<Tool>& tools);

}  // namespace tw::app::tools_file
