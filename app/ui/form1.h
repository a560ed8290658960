#pragma once
// Form1, the tuner's main window: its controls under the names the window
// declares, its module state, and its event procedures.  The procedures are
// grouped by area in app/startup, app/settings, app/status, app/tweaks,
// app/tools and app/options; the controls and their design-time properties are laid out
// in form1_layout.cpp.
//
// Nothing here knows a toolkit: a front end draws the controls from their
// properties (geometry in twips, parent container, captions, values) and
// feeds the user's actions back through the controls' user... members.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/options/choices.h"
#include "app/settings/catalogue.h"
#include "host/files/file_system.h"
#include "host/host.h"
#include "host/settings/settings.h"
#include "ui/forms/forms.h"
#include "ui/forms/internet_transfer.h"

namespace tw {
class Plinth;
namespace shell {
class WindowRegistry;
}
}  // namespace tw

namespace tw::app {

// What the running program gives the window: the platform, the window
// environment, and the facts the program learnt as it started.
struct TunerContext {
  Host& host;
  forms::Environment* environment = nullptr;
  // App.PrevInstance: another copy of the program already runs.
  bool previousInstance = false;
  // Where the tray utility's window is looked for; null: there is no window
  // search on this host, so there is nothing to close.
  shell::WindowRegistry* windows = nullptr;
  // Command$: the program's arguments after the host options were taken off.
  std::string commandLine;
};

// The program's own version number (App.Major, App.Minor, App.Revision).
struct AppVersion {
  int major;
  int minor;
  int revision;
};
AppVersion appVersion();

// The store's key of the whole program, under HKEY_CURRENT_USER.
std::string preferencesKey();

class Form1 : public forms::Form {
 public:
  explicit Form1(TunerContext context);
  ~Form1() override;

  // The End statement ran (a second copy, or an unsupported Windows): the
  // program is over, and nothing further of this window may run.
  bool ended() const noexcept { return ended_; }

  Host& host() { return context_.host; }
  Dialogs& dialogs() { return context_.host.dialogs(); }
  const TunerContext& context() const { return context_; }
  // The system library object, created on first use and kept until the
  // window is destroyed.
  Plinth& plinth();
  SettingsStore& settingsStore() { return settings_; }
  // App.Path: the program folder as a Windows path, without a final "\".
  std::string appPath() const;
  // A file of the program folder ("Cache.ini" -> "C:\...\Cache.ini").
  std::string programFile(const std::string& name) const;

  // ---- Controls ----------------------------------------------------------
  // Outside the frames.
  forms::Image* Image4 = nullptr;
  forms::TabStrip* TabStrip1 = nullptr;
  forms::Label* Label20 = nullptr;
  forms::CommandButton* Command1 = nullptr;
  forms::CommandButton* cEx = nullptr;
  forms::Timer* Timer1 = nullptr;

  // The six tab frames.
  forms::Frame* Frame1 = nullptr;   // Status
  forms::Frame* Frame4 = nullptr;   // Cache
  forms::Frame* Frame11 = nullptr;  // Tweaks
  forms::Frame* Frame12 = nullptr;  // Tools
  forms::Frame* Frame6 = nullptr;   // Options
  forms::Frame* Frame10 = nullptr;  // Help

  // Status: the gauges and the system information rows.
  forms::Label* Label3 = nullptr;
  forms::PictureBox* Picture5 = nullptr;
  forms::Label* Label2 = nullptr;
  forms::PictureBox* Picture6 = nullptr;
  forms::Label* Label7 = nullptr;
  forms::Label* Label11 = nullptr;
  forms::Label* Label14 = nullptr;
  forms::PictureBox* Picture2 = nullptr;
  forms::ControlArray<forms::PictureBox> Picture1{*this, "Picture1"};
  forms::ControlArray<forms::Label> LRe{*this, "LRe"};
  forms::ControlArray<forms::Label> Label4{*this, "Label4"};
  forms::ControlArray<forms::Label> Label30{*this, "Label30"};
  forms::ControlArray<forms::Label> Label31{*this, "Label31"};

  // Cache.
  forms::Label* Label17 = nullptr;
  forms::ComboBox* Combo1 = nullptr;
  forms::CommandButton* cAdd = nullptr;
  forms::CommandButton* cRemove = nullptr;
  forms::Label* Label9 = nullptr;
  forms::ControlArray<forms::Label> Label1{*this, "Label1"};
  forms::ControlArray<forms::Label> Label18{*this, "Label18"};
  forms::Slider* Slider1 = nullptr;
  forms::Slider* Slider2 = nullptr;
  forms::Slider* Slider3 = nullptr;
  forms::Slider* Slider4 = nullptr;
  forms::Slider* Slider5 = nullptr;
  forms::Label* text1 = nullptr;
  forms::Label* text2 = nullptr;
  forms::Label* text3 = nullptr;
  forms::Label* text4 = nullptr;
  forms::Label* text5 = nullptr;
  // Our own addition: says when the cache sizes shown would keep Windows
  // from starting.
  forms::Label* Label32 = nullptr;

  // Tweaks.
  forms::CheckBox* Check1 = nullptr;
  forms::CheckBox* Check2 = nullptr;
  forms::CheckBox* Check3 = nullptr;
  forms::CheckBox* Check4 = nullptr;
  forms::CheckBox* Check5 = nullptr;
  forms::CheckBox* Check6 = nullptr;
  forms::CheckBox* Check11 = nullptr;
  forms::ControlArray<forms::CheckBox> Check10{*this, "Check10"};
  // Titles of the sliders of the Tweaks and Tools tabs.
  forms::ControlArray<forms::Label> Label21{*this, "Label21"};
  forms::Slider* Slider6 = nullptr;
  forms::Label* Label10 = nullptr;
  forms::Slider* Slider7 = nullptr;
  forms::Label* Label12 = nullptr;
  forms::Slider* Slider8 = nullptr;
  forms::Label* Label16 = nullptr;
  forms::Slider* Slider10 = nullptr;
  forms::Label* Label24 = nullptr;
  forms::Slider* Slider11 = nullptr;
  forms::Label* Label25 = nullptr;

  // Tools: the CD-ROM group, the Disk Defragmenter group, the tools list.
  forms::Frame* Frame2 = nullptr;
  forms::Label* Label22 = nullptr;
  forms::ComboBox* Combo4 = nullptr;
  forms::Slider* Slider9 = nullptr;
  forms::Label* Label23 = nullptr;
  forms::Frame* Frame3 = nullptr;
  forms::CheckBox* Check12 = nullptr;
  forms::ControlArray<forms::Label> Label27{*this, "Label27"};
  forms::ControlArray<forms::ComboBox> Combo3{*this, "Combo3"};
  forms::Frame* Frame5 = nullptr;
  forms::Label* Label28 = nullptr;
  forms::ComboBox* Combo2 = nullptr;
  forms::CommandButton* Command2 = nullptr;
  forms::CommandButton* Command4 = nullptr;
  forms::CommandButton* Command5 = nullptr;

  // Options.
  forms::Frame* Frame13 = nullptr;
  forms::OptionButton* Option4 = nullptr;
  forms::OptionButton* Option3 = nullptr;
  forms::ControlArray<forms::CommandButton> Command3{*this, "Command3"};
  forms::Frame* Frame9 = nullptr;
  forms::CheckBox* Check14 = nullptr;
  forms::CheckBox* Check13 = nullptr;
  forms::CheckBox* Check9 = nullptr;
  forms::CheckBox* Check8 = nullptr;
  forms::CheckBox* Check7 = nullptr;
  forms::Frame* Frame8 = nullptr;
  forms::ControlArray<forms::OptionButton> Option2{*this, "Option2"};
  forms::Frame* Frame7 = nullptr;
  forms::ControlArray<forms::OptionButton> Option1{*this, "Option1"};

  // Help.
  forms::WebBrowser* Web = nullptr;
  forms::Image* Image2 = nullptr;
  forms::Label* Label29 = nullptr;
  forms::Label* Label8 = nullptr;

  // ---- Module state --------------------------------------------------------
  PendingRecord PendingSettings;
  std::string OsName;
  std::string WindowsFolder;  // with its final "\"
  std::optional<Drive> WindowsDrive;
  int32_t TotalMemoryKB = 0;
  int32_t TotalMemoryMb = 0;
  // The ten system-information texts, by row (Label31's index).
  std::array<std::string, 10> SystemInfo;
  std::string CurrentPreset;
  std::string StartupPreset;
  int16_t StartupRun = 0;
  int16_t Tray = 0;
  int16_t AutoUpdate = 0;
  std::string IconType;
  int16_t Speed = 0;
  bool RestoreRequested = false;
  // The tools list: the path of each entry of Combo2, by its index, and the
  // entry last picked.
  std::vector<std::string> ToolPaths;
  int16_t SelectedTool = 0;
  // The help pages' downloads.
  forms::InternetTransfer Inet1;

  // ---- Start-up and the ways out (app/startup) ----------------------------
  void Form_Initialize();
  void Form_Load();
  void cEx_Click();

  // ---- The Status tab: tabs, gauges, system information (app/status) -----
  void TabStrip1_Click();
  void Timer1_Timer();
  // Virtual so that tests can watch start-up call them.
  virtual void GatherSystemInformation();
  virtual void UpdateGauges();
  // Draws one gauge's bar: `percent` of the box's scale width, filled.
  void Picsize(forms::PictureBox& box, int16_t& percent);

  // ---- The Cache tab: sliders and configurations (app/settings) -----------
  void Slider1_Change();
  void Slider2_Change();
  void Slider3_Change();
  void Slider4_Change();
  void Slider5_Change();
  void Slider1_Scroll();
  void Slider2_Scroll();
  void Slider3_Scroll();
  void Slider4_Scroll();
  void Slider5_Scroll();
  void Combo1_Click();
  void Combo1_KeyPress(int& keyAscii);
  void cAdd_Click();
  void cRemove_Click();

  // ---- Applying, and the hand-over to the Uninstaller (app/settings) ------
  void ApplySets();
  std::string FindTaskmon();
  void Command3_Click(int index);

  // ---- The Tweaks tab (app/tweaks) ----------------------------------------
  void Check1_Click();
  void Check2_Click();
  void Check3_Click();
  void Check4_Click();
  void Check5_Click();
  void Check6_Click();
  void Check11_Click();
  void Check10_Click(int index);
  void Slider6_Scroll();
  void Slider7_Scroll();
  void Slider7_Change();
  void Slider8_Scroll();
  void Slider8_Change();
  void Slider10_Scroll();
  void Slider10_Change();
  void Slider11_Scroll();

  // ---- The Tools tab's CD-ROM and Disk Defragmenter groups (app/tools) ----
  void Slider9_Scroll();
  void Combo4_Click();
  void PopCd();
  void GetCD();
  void CDChange();
  void Check12_Click();
  void Combo3_Click(int index);
  void PopDefrag();

  // ---- The Tools tab's tools list (app/tools) -----------------------------
  void Combo2_Click();
  void Command2_Click();
  void Command4_Click();
  void Command5_Click();

  // ---- The Options tab (app/options) --------------------------------------
  void Check7_Click();
  void Check8_Click();
  void Check9_Click();
  void Check14_Click();
  void Option1_Click(int index);
  void Option2_Click(int index);
  void AlwaysOnTop(bool onTop);

  // ---- The Help tab (app/options) -----------------------------------------
  void Web_NavigateComplete2(const std::string& url);
  void Web_NavigateError(const std::string& url, const std::string& frame, int statusCode, bool& cancel);
  void Label29_Click();

  // ---- Procedures that start-up and the exit call -------------------------
  // Virtual so that tests can watch start-up and the exit call them.
  virtual void WritePresetTable(double memoryKB);
  virtual void LoadConfigurations();
  virtual void ShowPresetDescription();
  virtual void SaveFirst(const std::string& path);
  // False when the user went back to the window instead of applying.
  virtual bool ApplyIfChanged();
  virtual void Command1_Click();
  virtual void Form_QueryUnload(bool& cancel, forms::UnloadMode mode);
  virtual void Form_Unload(bool& cancel);

  // ---- The Tools tab's list (app/tools/tools_list.cpp) --------------------
  virtual void LoadTools();

 protected:
  // The End statement: the program stops here.
  void End() { ended_ = true; }

 private:
  void layoutControls();  // form1_layout.cpp
  void connectEvents();

  // The five cache sliders, Slider1 to Slider5.
  std::array<forms::Slider*, 5> cacheSliders() const;
  // The Cache tab's note on the disk cache limit, for the sliders' sizes.
  void showCacheLimitNote();
  // Before "Ok" writes a disk cache Windows cannot start with, the user
  // chooses: false when he goes back to the window.
  bool confirmCacheLimit();
  void scrollSnapped(forms::Slider& slider, forms::Label& readout, int32_t step, const char* unit);
  // The tray utility's command line, as it is started and entered in "Run".
  std::string trayCommandLine() const;

  // Start-up's own steps, and the procedures that fill each tab's controls
  // from the pending record (beside that tab's handlers).
  void readPreferences();            // app/startup
  void RedirectUninstallEntry();     // app/startup
  void setUpCacheSliders();          // app/settings
  void writeCacheSection(const char* section);
  void showTweaks();                 // app/tweaks
  void showDefragmenter();           // app/tools
  void showOptions();                // app/options

  // Raises Object variable not set (91) until start-up has made it.
  FileSystem& fso();
  std::string preference(const char* key, const char* absent) const;
  void savePreference(const char* key, const std::string& value);
  // A Windows path of the window's texts (UTF-8) as the host path it names.
  std::filesystem::path hostPath(const std::string& windowsPath) const;
  // A Windows path as the machine's programs take it: in its ANSI code page.
  std::string ansiPath(const std::string& windowsPath) const;

  TunerContext context_;
  SettingsStore settings_;
  std::unique_ptr<Plinth> plinth_;
  std::unique_ptr<FileSystem> fso_;
  bool ended_ = false;
  // A refresh is under way: a tick that arrives while its message pump or
  // a meter's message box runs is dropped.
  bool updatingGauges_ = false;
};

// The readout of a cache slider: "Disabled" at 0, else the value and its unit.
std::string sliderReadout(int32_t value, const char* unit);

// Sets a slider to `value`, first widening its range when the value lies
// outside it, so that a value found on the machine is shown (and recorded)
// as it is rather than refused.
void showValue(forms::Slider& slider, int32_t value);

}  // namespace tw::app
