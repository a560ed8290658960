// The main window as designed: every control with its design-time
// properties, in twips, inside a client area of 6870 x 6555.  The six tab
// frames lie on top of one another over the tab strip's client area; only
// the Status frame is visible at design, so the window opens on it.
//
// Picture resources are named here and drawn by the front end: "Banner"
// (the strip along the top), "HelpLogo", and the tab icons of ImageList1,
// "StatusTab", "CacheTab", "TweaksTab", "OptionsTab", "HelpTab", "ToolsTab"
// (image numbers 1 to 6).

#include <array>

#include "app/status/gauge_colours.h"
#include "app/ui/form1.h"

namespace tw::app {

using namespace tw::forms;

namespace {

constexpr double kClientWidth = 6870;
constexpr double kClientHeight = 6555;

// The tab frames' place over the tab strip.
constexpr double kFrameLeft = 120;
constexpr double kFrameTop = 1035;
constexpr double kFrameWidth = 6630;
constexpr double kFrameHeight = 4740;

template <class T>
T& at(T& control, double left, double top, double width, double height) {
  control.move(left, top, width, height);
  return control;
}

Label& titled(Label& label, std::string text) {
  label.setCaption(std::move(text));
  return label;
}

void range(Slider& s, int32_t min, int32_t max, int32_t small, int32_t large, int32_t tick, int32_t value) {
  s.setRange(min, max);
  s.setSmallChange(small);
  s.setLargeChange(large);
  s.setTickFrequency(tick);
  s.setValue(value);
}

}  // namespace

void Form1::layoutControls() {
  setCaption("Tunewell");
  move(0, 0, kClientWidth, kClientHeight);

  // ---- Outside the frames ------------------------------------------------
  Image4 = &at(add<Image>("Image4"), 0, 0, kClientWidth, 615);
  Image4->setStretch(true);
  Image4->setPicture("Banner");

  TabStrip1 = &at(add<TabStrip>("TabStrip1"), 60, 675, 6750, 5175);
  TabStrip1->setImageList({"StatusTab", "CacheTab", "TweaksTab", "OptionsTab", "HelpTab", "ToolsTab"});
  TabStrip1->addTab({"Status", "", 1, "", ""});
  TabStrip1->addTab({"Cache", "", 2, "", ""});
  TabStrip1->addTab({"Tweaks", "", 3, "", ""});
  TabStrip1->addTab({"Tools", "", 6, "", ""});
  TabStrip1->addTab({"Options", "", 4, "", ""});
  TabStrip1->addTab({"Help", "", 5, "", ""});

  auto tabFrame = [&](const char* name, const char* text) {
    Frame& f = at(add<Frame>(name), kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight);
    f.setCaption(text);
    f.setVisible(false);
    return &f;
  };
  Frame1 = tabFrame("Frame1", "System Information");
  Frame4 = tabFrame("Frame4", "Cache Settings");
  Frame11 = tabFrame("Frame11", "Tweaks");
  Frame12 = tabFrame("Frame12", "Tools");
  Frame6 = tabFrame("Frame6", "");
  Frame10 = tabFrame("Frame10", "Help");
  Frame1->setVisible(true);

  Label20 = &titled(at(add<Label>("Label20"), 120, 5880, 4620, 660), "Welcome to Tunewell!");
  Label20->setWordWrap(true);
  Label20->setFont(Font{"Comic Sans MS", 8.25, false, false, false});

  Command1 = &at(add<CommandButton>("Command1"), 4860, 6015, 900, 375);
  Command1->setCaption("Ok");
  cEx = &at(add<CommandButton>("cEx"), 5865, 6015, 900, 375);
  cEx->setCaption("Cancel");

  Timer1 = &add<Timer>("Timer1");
  Timer1->setInterval(500);
  Timer1->setEnabled(false);

  // ---- Status: seven gauges, then ten rows of system information -------
  // Each gauge is a caption with its bar to the right, one row per gauge.
  auto gauge = [&](Label& label, PictureBox& bar, int row, const char* text) {
    const double y = 270 + row * 315;
    titled(at(label, 120, y + 30, 3840, 195), text);
    at(bar, 4050, y, 2430, 255);
    bar.setScaleMode(ScaleMode::Pixels);
    bar.setAutoRedraw(true);
    bar.setBackColor(kGaugeEmpty);
  };
  Label3 = &add<Label>("Label3", -1, Frame1);
  Picture5 = &add<PictureBox>("Picture5", -1, Frame1);
  gauge(*Label3, *Picture5, 0, "Current processor load:");
  Label2 = &add<Label>("Label2", -1, Frame1);
  Picture6 = &add<PictureBox>("Picture6", -1, Frame1);
  gauge(*Label2, *Picture6, 1, "Hard drive space used:");
  Label7 = &add<Label>("Label7", -1, Frame1);
  Picture1.add(0, Frame1);
  gauge(*Label7, Picture1(0), 2, "Physical memory used:");
  LRe.add(2, Frame1);
  Picture1.add(3, Frame1);
  gauge(LRe(2), Picture1(3), 3, "Current cache size:");
  Label11 = &add<Label>("Label11", -1, Frame1);
  Picture1.add(1, Frame1);
  gauge(*Label11, Picture1(1), 4, "Current swap file size:");
  Label14 = &add<Label>("Label14", -1, Frame1);
  Picture1.add(2, Frame1);
  gauge(*Label14, Picture1(2), 5, "Virtual memory used:");
  Label4.add(0, Frame1);
  Picture2 = &add<PictureBox>("Picture2", -1, Frame1);
  gauge(Label4(0), *Picture2, 6, "System resource load:");

  // Two columns of five rows: row and column of each Label30/Label31 index.
  struct InfoRow {
    int index;
    int column;
    int row;
    const char* text;
  };
  static constexpr std::array<InfoRow, 10> kInfoRows = {{
      {4, 0, 0, "Computer name:"},
      {0, 0, 1, "Windows OS:"},
      {6, 0, 2, "Version:"},
      {3, 0, 3, "BIOS:"},
      {7, 0, 4, "Registered to:"},
      {1, 1, 0, "Processor speed:"},
      {2, 1, 1, "Processor type:"},
      {8, 1, 2, "Memory:"},
      {9, 1, 3, "Hard drive:"},
      {5, 1, 4, "File system:"},
  }};
  for (const InfoRow& r : kInfoRows) {
    const double y = 2700 + r.row * 300;
    Label& title = Label30.add(r.index, Frame1);
    Label& value = Label31.add(r.index, Frame1);
    value.setCaption("Unknown");
    // The right column's values are the widest: processor names run to
    // some thirty characters.
    if (r.column == 1) {
      titled(at(title, 2940, y, 1260, 195), r.text);
      at(value, 4260, y, 2250, 195);
    } else if (r.index == 3) {
      // The BIOS text is long: its value starts closer to its short title.
      titled(at(title, 120, y, 600, 195), r.text);
      at(value, 780, y, 2100, 195);
    } else {
      titled(at(title, 120, y, 1260, 195), r.text);
      at(value, 1440, y, 1440, 195);
    }
  }

  // ---- Cache ---------------------------------------------------------------
  Label17 = &titled(at(add<Label>("Label17", -1, Frame4), 120, 300, 2400, 195), "Preset Configurations:");
  Combo1 = &at(add<ComboBox>("Combo1", -1, Frame4), 120, 540, 2880, 315);
  Combo1->setStyle(ComboBox::Style::DropdownCombo);
  cAdd = &at(add<CommandButton>("cAdd", -1, Frame4), 3120, 525, 1020, 345);
  cAdd->setCaption("Add");
  cAdd->setEnabled(false);
  cRemove = &at(add<CommandButton>("cRemove", -1, Frame4), 4260, 525, 1020, 345);
  cRemove->setCaption("Remove");
  cRemove->setEnabled(false);
  Label9 = &at(add<Label>("Label9", -1, Frame4), 120, 975, 6390, 450);
  Label9->setWordWrap(true);

  auto cacheRow = [&](Label& title, const char* text, const char* slider, const char* readout, int row) {
    const double y = 1560 + row * 600;
    titled(at(title, 120, y + 90, 1500, 195), text);
    Slider& s = at(add<Slider>(slider, -1, Frame4), 1680, y, 3420, 450);
    Label& r = titled(at(add<Label>(readout, -1, Frame4), 5220, y + 90, 1290, 195), "Unknown");
    return std::pair<Slider*, Label*>{&s, &r};
  };
  std::tie(Slider1, text1) = cacheRow(Label1.add(0, Frame4), "Min Disk Cache:", "Slider1", "text1", 0);
  std::tie(Slider2, text2) = cacheRow(Label1.add(1, Frame4), "Max Disk Cache:", "Slider2", "text2", 1);
  std::tie(Slider3, text3) = cacheRow(Label1.add(2, Frame4), "Chunk Size:", "Slider3", "text3", 2);
  std::tie(Slider4, text4) = cacheRow(Label18.add(0, Frame4), "Name Cache:", "Slider4", "text4", 3);
  std::tie(Slider5, text5) = cacheRow(Label18.add(1, Frame4), "Path Cache:", "Slider5", "text5", 4);
  range(*Slider1, 0, 65536, 512, 1024, 4096, 0);
  range(*Slider2, 0, 65536, 512, 1024, 4096, 0);
  range(*Slider3, 0, 4096, 32, 512, 128, 0);
  range(*Slider4, 0, 6144, 32, 128, 200, 0);
  range(*Slider5, 0, 255, 1, 10, 10, 0);
  Label32 = &at(add<Label>("Label32", -1, Frame4), 120, 4440, 6390, 195);
  Label32->setForeColor(0x0000C0);  // red, as &HBBGGRR: it is a warning

  // ---- Tweaks: check boxes on the left, sliders on the right --------------
  auto check = [&](const char* name, Container* parent, const char* text, double l, double t, double w) {
    CheckBox& c = at(add<CheckBox>(name, -1, parent), l, t, w, 255);
    c.setCaption(text);
    return &c;
  };
  Check1 = check("Check1", Frame11, "Increase active application priority", 120, 300, 3480);
  Check3 = check("Check3", Frame11, "Increase PCI priority", 120, 630, 3480);
  Check4 = check("Check4", Frame11, "Increase memory priority", 120, 960, 3480);
  Check5 = check("Check5", Frame11, "Increase AGP priority", 120, 1290, 3480);
  Check6 = check("Check6", Frame11, "Force unload of DLL files", 120, 1620, 3480);
  Check2 = check("Check2", Frame11, "Set conservative virtual memory use", 120, 1950, 3480);
  Check11 = check("Check11", Frame11, "Set swap file buffer", 120, 2280, 3480);
  for (int i = 0; i < 4; ++i) {
    CheckBox& c = at(Check10.add(i, Frame11), 120 + (i % 2) * 1740, 2700 + (i / 2) * 330, 1620, 255);
    c.setCaption("Speed up COM " + std::to_string(i + 1));
  }

  auto tweakSlider = [&](int titleIndex, const char* text, const char* slider, const char* readout,
                         const char* design, int row) {
    const double y = 240 + row * 720;
    titled(at(Label21.add(titleIndex, Frame11), 3720, y, 2790, 195), text);
    Slider& s = at(add<Slider>(slider, -1, Frame11), 3720, y + 210, 1950, 390);
    Label& r = titled(at(add<Label>(readout, -1, Frame11), 5730, y + 300, 780, 195), design);
    return std::pair<Slider*, Label*>{&s, &r};
  };
  std::tie(Slider6, Label10) = tweakSlider(0, "Set disk buffer", "Slider6", "Label10", "Disabled", 0);
  std::tie(Slider7, Label12) = tweakSlider(2, "Set DMA buffer", "Slider7", "Label12", "Disabled", 1);
  std::tie(Slider8, Label16) = tweakSlider(3, "Set file allocation size", "Slider8", "Label16", "512 Kb", 2);
  std::tie(Slider10, Label24) = tweakSlider(4, "Set stack pages", "Slider10", "Label24", "2 pages", 3);
  std::tie(Slider11, Label25) = tweakSlider(5, "Set icon cache size", "Slider11", "Label25", "Disabled", 4);
  range(*Slider6, 0, 10, 1, 1, 1, 0);
  range(*Slider7, 0, 64, 1, 1, 4, 0);
  range(*Slider8, 64, 1024, 16, 32, 64, 512);
  range(*Slider10, 1, 8, 1, 1, 1, 1);
  range(*Slider11, 0, 8, 1, 1, 1, 0);

  // ---- Tools: CD-ROM, Disk Defragmenter, additional tools -----------------
  Frame2 = &at(add<Frame>("Frame2", -1, Frame12), 120, 240, 6390, 1335);
  Frame2->setCaption("CD-ROM");
  Label22 = &titled(at(add<Label>("Label22", -1, Frame2), 120, 270, 6150, 195),
                     "Optimize your CD-ROM drive for faster access.");
  titled(at(Label21.add(1, Frame2), 120, 585, 1560, 195), "Set CD-ROM speed:");
  Combo4 = &at(add<ComboBox>("Combo4", -1, Frame2), 120, 825, 1200, 315);
  Combo4->setStyle(ComboBox::Style::DropdownList);
  titled(at(Label21.add(6, Frame2), 1800, 585, 2400, 195), "CD-ROM cache size");
  Slider9 = &at(add<Slider>("Slider9", -1, Frame2), 1800, 825, 2760, 390);
  range(*Slider9, 0, 6, 1, 1, 1, 0);
  Label23 = &titled(at(add<Label>("Label23", -1, Frame2), 4680, 885, 1590, 195), "Unknown");

  Frame3 = &at(add<Frame>("Frame3", -1, Frame12), 120, 1665, 6390, 1305);
  Frame3->setCaption("Disk Defragmenter");
  Check12 = check("Check12", Frame3, "Optimize Disk Defragmenter (Windows 98 and ME only)", 120, 270, 6150);
  static constexpr std::array<const char*, 3> kDefragTitles = {"Maximum programs", "Maximum no-use days: ",
                                                               "Minimum program size: "};
  for (int i = 0; i < 3; ++i) {
    const double x = 120 + i * 2100;
    titled(at(Label27.add(i, Frame3), x, 645, 1980, 195), kDefragTitles[static_cast<size_t>(i)]);
    at(Combo3.add(i, Frame3), x, 885, 1980, 315).setStyle(ComboBox::Style::DropdownList);
  }

  Frame5 = &at(add<Frame>("Frame5", -1, Frame12), 120, 3060, 6390, 1560);
  Frame5->setCaption("Additional Tools");
  Label28 = &titled(at(add<Label>("Label28", -1, Frame5), 120, 270, 6150, 645),
                     "Additional tools: select one of several handy Windows system tools from the dropdown box "
                     "and click Launch to start it up, or even add your own tools to the list.");
  Label28->setWordWrap(true);
  Combo2 = &at(add<ComboBox>("Combo2", -1, Frame5), 120, 1020, 3000, 315);
  Combo2->setStyle(ComboBox::Style::DropdownList);
  auto button = [&](const char* name, Container* parent, const char* text, double l, double t, double w) {
    CommandButton& b = at(add<CommandButton>(name, -1, parent), l, t, w, 345);
    b.setCaption(text);
    return &b;
  };
  Command2 = button("Command2", Frame5, "Launch", 3240, 1005, 930);
  Command2->setEnabled(false);
  Command4 = button("Command4", Frame5, "Add", 4275, 1005, 930);
  Command5 = button("Command5", Frame5, "Remove", 5310, 1005, 930);
  Command5->setEnabled(false);

  // ---- Options: four groups ------------------------------------------------
  Frame13 = &at(add<Frame>("Frame13", -1, Frame6), 120, 120, 6390, 1290);
  Frame13->setCaption("Restore Default Settings");
  Option4 = &at(add<OptionButton>("Option4", -1, Frame13), 120, 270, 6150, 255);
  Option4->setCaption("Restore all system settings to their default Windows values");
  Option3 = &at(add<OptionButton>("Option3", -1, Frame13), 120, 570, 6150, 255);
  Option3->setCaption("Restore all system settings to their pre-Tunewell values");
  at(Command3.add(1, Frame13), 5160, 870, 1095, 345).setCaption("Restore");

  Frame9 = &at(add<Frame>("Frame9", -1, Frame6), 120, 1500, 3120, 1830);
  Frame9->setCaption("Other Options");
  Check14 = check("Check14", Frame9, "Auto-update help", 120, 270, 2880);
  Check13 = check("Check13", Frame9, "Disable splash", 120, 570, 2880);
  Check9 = check("Check9", Frame9, "Load on startup", 120, 870, 2880);
  Check8 = check("Check8", Frame9, "Run in tray", 120, 1170, 2880);
  Check7 = check("Check7", Frame9, "Keep on top", 120, 1470, 2880);

  Frame8 = &at(add<Frame>("Frame8", -1, Frame6), 3390, 1500, 3120, 1830);
  Frame8->setCaption("Set Gauge Refresh");
  static constexpr std::array<const char*, 5> kRefresh = {"1/4 Second", "1/2 Second", "1 Second", "2 Seconds",
                                                          "5 Seconds"};
  for (int i = 0; i < 5; ++i)
    at(Option2.add(i, Frame8), 120, 270 + i * 300, 2880, 255).setCaption(kRefresh[static_cast<size_t>(i)]);

  Frame7 = &at(add<Frame>("Frame7", -1, Frame6), 120, 3450, 6390, 1200);
  Frame7->setCaption("Set Tray Icon");
  for (int i = 0; i < 7; ++i)
    at(Option1.add(i, Frame7), 120 + (i % 3) * 2070, 270 + (i / 3) * 300, 1950, 255)
        .setCaption(std::string(kTrayIconCaptions[static_cast<size_t>(i)]));

  // ---- Help ------------------------------------------------------------------
  Web = &at(add<WebBrowser>("Web", -1, Frame10), 120, 270, 6390, 3600);
  Image2 = &at(add<Image>("Image2", -1, Frame10), 120, 3990, 600, 600);
  Image2->setStretch(true);
  Image2->setPicture("HelpLogo");
  Label29 = &titled(at(add<Label>("Label29", -1, Frame10), 840, 4050, 3000, 195), "by Brightfen Software");
  Label8 = &titled(at(add<Label>("Label8", -1, Frame10), 840, 4350, 3000, 195), "Version 1.2.430");
}

}  // namespace tw::app
