#include "app/ui/hover_texts.h"

#include <array>

namespace tw::app {

namespace {

// Names are matched as the window declares them.  A row names a single control, one element of a control array, or (index
// kEveryElement) every element of an array that shares one description.
constexpr int kEveryElement = -2;

struct HoverText {
  std::string_view name;
  int index;
  int id;
};

constexpr auto kHoverTexts = std::to_array<HoverText>({
    {"Form1", -1, 111},
    // Frames: a tab's own frame says what the tab is for.
    {"Frame11", -1, 114},
    {"Frame13", -1, 115},
    {"Frame9", -1, 115},
    {"Frame8", -1, 115},
    {"Frame7", -1, 115},
    {"Frame10", -1, 116},
    {"Frame12", -1, 135},
    {"Frame4", -1, 126},
    // Status: each gauge by its bar and by its caption.
    {"Picture5", -1, 117},
    {"Label3", -1, 117},
    {"Picture1", 2, 118},
    {"Label14", -1, 118},
    {"Picture2", -1, 119},
    {"Label4", kEveryElement, 119},
    {"Picture1", 0, 122},
    {"Label7", -1, 122},
    {"Picture1", 3, 123},
    {"LRe", kEveryElement, 123},
    {"Picture6", -1, 124},
    {"Label2", -1, 124},
    {"Picture1", 1, 125},
    {"Label11", -1, 125},
    // Cache.
    {"Label17", -1, 127},
    {"cAdd", -1, 128},
    {"cRemove", -1, 129},
    {"Slider1", -1, 130},
    {"Slider2", -1, 131},
    {"Slider3", -1, 132},
    {"Slider4", -1, 133},
    {"Slider5", -1, 134},
    // Tweaks.
    {"Check1", -1, 136},
    {"Check4", -1, 137},
    {"Check3", -1, 138},
    {"Check5", -1, 139},
    {"Check6", -1, 140},
    {"Check2", -1, 141},
    {"Check11", -1, 142},
    {"Check10", kEveryElement, 143},
    {"Slider8", -1, 144},
    {"Slider6", -1, 145},
    {"Slider7", -1, 146},
    {"Slider10", -1, 147},
    {"Slider11", -1, 148},
    // Tools: of the slider titles only the CD-ROM speed's has a description.
    {"Label21", 1, 149},
    {"Slider9", -1, 150},
    {"Check12", -1, 151},
    {"Label27", 0, 152},
    {"Label27", 1, 153},
    {"Label27", 2, 154},
    {"Label28", -1, 173},
    {"Command4", -1, 174},
    {"Command2", -1, 175},
    // Options.
    {"Option1", 0, 155},
    {"Option1", 1, 156},
    {"Option1", 2, 157},
    {"Option1", 3, 158},
    {"Option1", 4, 159},
    {"Option1", 5, 160},
    {"Option1", 6, 161},
    {"Option2", kEveryElement, 162},
    {"Check7", -1, 163},
    {"Check8", -1, 164},
    {"Check9", -1, 165},
    {"Option3", -1, 166},
    {"Option4", -1, 167},
    {"Command3", kEveryElement, 168},
    {"Check13", -1, 171},
    {"Check14", -1, 176},
    // Outside the frames, and Help.
    {"Command1", -1, 169},
    {"cEx", -1, 170},
    {"Label29", -1, 172},
    // System information: a row's caption and its value say the same.
    {"Label30", 4, 177}, {"Label31", 4, 177},
    {"Label30", 0, 178}, {"Label31", 0, 178},
    {"Label30", 6, 179}, {"Label31", 6, 179},
    {"Label30", 3, 180}, {"Label31", 3, 180},
    {"Label30", 7, 181}, {"Label31", 7, 181},
    {"Label30", 1, 182}, {"Label31", 1, 182},
    {"Label30", 2, 183}, {"Label31", 2, 183},
    {"Label30", 8, 184}, {"Label31", 8, 184},
    {"Label30", 9, 185}, {"Label31", 9, 185},
    {"Label30", 5, 186}, {"Label31", 5, 186},
});

}  // namespace

std::optional<int> hoverTextOf(std::string_view name, int index) {
  for (const HoverText& row : kHoverTexts) {
    if (row.name != name) continue;
    if (row.index == index || (row.index == kEveryElement && index >= 0)) return row.id;
  }
  return std::nullopt;
}

}  // namespace tw::app
