#pragma once
// The program's string table: the status-line texts and the preset
// descriptions, addressed by their resource ids (101 to 186; 120 and 121
// are not used).

#include <string>

namespace tw::app {

// LoadResString: the text with that id.  An id the table does not hold
// raises "Resource with identifier '<id>' not found" (326).
std::string LoadResString(int id);

// The ids of the texts that start-up and the tab strip show.
namespace Res {
constexpr int StatusTab = 112;
constexpr int CacheTab = 113;
constexpr int TweaksTab = 114;
constexpr int OptionsTab = 115;
constexpr int HelpTab = 116;
constexpr int ToolsTab = 135;
}  // namespace Res

}  // namespace tw::app
