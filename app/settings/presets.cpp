// The Cache tab's configurations: the built-in presets computed from the
// memory size, the list of Cache.ini's sections, and choosing, adding and
// removing a configuration.  Only the sliders and the pending cache values
// change here; nothing reaches the system before the settings are applied.

#include <algorithm>
#include <array>

#include "app/settings/cache_limit.h"
#include "app/ui/form1.h"
#include "app/ui/strings.h"
#include "host/runtime/codepage.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"
#include "syslib/plinth.h"

namespace tw::app {

namespace {

// What the section-name list of Cache.ini is read into.
constexpr size_t kSectionBuffer = 260;

constexpr std::array<const char*, 5> kCacheKeys = {"MinFileCache", "MaxFileCache", "Chunksize", "NameCache",
                                                   "PathCache"};

struct Preset {
  const char* name;
  double minDivisor;
  double maxDivisor;
  // Below 32 MB, then from 32 MB on.
  std::array<double, 2> chunk;
  std::array<double, 2> names;
  std::array<double, 2> paths;
};

constexpr std::array<Preset, 6> kPresets = {{
    {"Standard Use", 64, 8, {512, 1024}, {3072, 6144}, {64, 255}},
    {"CD Writer", 32, 32, {2048, 4096}, {3072, 6144}, {64, 255}},
    {"File Server", 8, 4, {1024, 2048}, {3072, 6144}, {64, 255}},
    {"3D Gaming", 16, 16, {1024, 2048}, {1024, 2048}, {24, 48}},
    {"Multimedia", 16, 8, {2048, 4096}, {3072, 6144}, {64, 255}},
    {"Power User", 32, 4, {512, 1024}, {3072, 6144}, {64, 255}},
}};

struct Description {
  const char* name;
  int id;
};
constexpr std::array<Description, 9> kDescriptions = {{{"CD Writer", 101},
                                                       {"File Server", 102},
                                                       {"3D Gaming", 103},
                                                       {"Current Settings", 104},
                                                       {"Original Settings", 105},
                                                       {"Disabled", 106},
                                                       {"Multimedia", 107},
                                                       {"Standard Use", 108},
                                                       {"Power User", 109}}};
constexpr int kCustomDescription = 110;

}  // namespace

std::array<forms::Slider*, 5> Form1::cacheSliders() const { return {Slider1, Slider2, Slider3, Slider4, Slider5}; }

void Form1::WritePresetTable(double memoryKB) {
  const std::string cacheIni = programFile("Cache.ini");
  double mb = 0;
  skipErrors([&] { mb = roundHalfEven(memoryKB / 1024); });
  const size_t size = mb < 32 ? 0 : 1;
  for (const Preset& p : kPresets) {
    // The formulas pass what Windows can start with from 2 GB of memory on.
    const double limit = kLargestStartableCacheKB;
    const std::array<double, 5> values = {std::min(roundHalfEven(mb / p.minDivisor) * 1024, limit),
                                          std::min(roundHalfEven(mb / p.maxDivisor) * 1024, limit), p.chunk[size],
                                          p.names[size], p.paths[size]};
    for (size_t k = 0; k < kCacheKeys.size(); ++k)
      skipErrors([&] { plinth().INIWrite(p.name, kCacheKeys[k], numberToText(values[k]), cacheIni); });
  }
}

void Form1::LoadConfigurations() {
  const std::string cacheIni = programFile("Cache.ini");
  skipErrors([&] { Combo1->clear(); });
  std::string buffer;
  skipErrors([&] { buffer = plinth().INISectionRead(std::string(kSectionBuffer, '\0'), cacheIni); });

  std::vector<std::string> names;
  size_t pos = 0;
  while (pos < buffer.size() && buffer[pos] != '\0') {
    const size_t end = std::min(buffer.find('\0', pos), buffer.size());
    names.push_back(buffer.substr(pos, end - pos));
    pos = end + 1;
  }
  // A list whose final NUL is the buffer's last character may end in a name
  // the buffer cut short; offering it would let the user pick (or remove) a
  // configuration that is not there.  The name is kept only when Cache.ini
  // has a section of that name that the list does not hold already.
  if (!names.empty() && pos + 1 == buffer.size()) {
    bool whole = false;
    skipErrors([&] {
      const std::string& last = names.back();
      for (size_t i = 0; i + 1 < names.size(); ++i)
        if (ansiEqualNoCase(names[i], last)) return;
      whole = plinth().INIRead(last, BStr::null(), "", cacheIni).front() != '\0';
    });
    if (!whole) names.pop_back();
  }
  for (auto& name : names) skipErrors([&] { Combo1->addItem(std::move(name)); });
}

void Form1::ShowPresetDescription() {
  reportErrors(dialogs(), "Form1.Slider1_Change", [&] {
    int id = kCustomDescription;
    for (const Description& d : kDescriptions)
      if (Combo1->text() == d.name) id = d.id;
    Label9->setCaption(LoadResString(id));
  });
}

void Form1::Combo1_Click() {
  reportErrors(dialogs(), "Form1.Combo1_Click", [&] {
    cAdd->setEnabled(false);
    const std::string name = Combo1->text();
    if (name.empty()) return;
    const std::string cacheIni = programFile("Cache.ini");
    const auto sliders = cacheSliders();
    for (size_t k = 0; k < sliders.size(); ++k) {
      const double value = val(plinth().INIRead(name, kCacheKeys[k], "0", cacheIni));
      // A configuration saved on a machine with more memory is shown as it
      // is, as start-up shows such a value, rather than stopping halfway
      // with some sliders set and the rest not.
      showValue(*sliders[k], toLong(value));
    }
    cRemove->setEnabled(name != StartupPreset);
    ShowPresetDescription();
    CurrentPreset = name;
  });
}

void Form1::Combo1_KeyPress(int& /*keyAscii*/) {
  reportErrors(dialogs(), "Form1.Combo1_KeyPress", [&] { cAdd->setEnabled(true); });
}

void Form1::cAdd_Click() {
  reportErrors(dialogs(), "Form1.cAdd_Click", [&] {
    const std::string name = Combo1->text();
    if (!name.empty()) {
      const std::string cacheIni = programFile("Cache.ini");
      const auto sliders = cacheSliders();
      for (size_t k = 0; k < sliders.size(); ++k)
        plinth().INIWrite(name, kCacheKeys[k], numberToText(sliders[k]->value()), cacheIni);
      // The profile functions refuse a name that would not read back as
      // itself (a "]" or a line break in it); say so rather than leave the
      // user believing the configuration was saved.
      const std::string stored = plinth().INIRead(name, kCacheKeys[0], "", cacheIni);
      if (std::string(beforeNul(stored)) != numberToText(sliders[0]->value())) {
        dialogs().msgBox("The configuration name \"" + name + "\" cannot be stored in Cache.ini.",
                         MsgBoxStyle::OkOnly | MsgBoxStyle::Critical, "Tunewell Error");
      }
      LoadConfigurations();
    }
    cAdd->setEnabled(false);
  });
}

void Form1::cRemove_Click() {
  reportErrors(dialogs(), "Form1.cRemove_Click", [&] {
    const std::string name = Combo1->text();
    if (!name.empty()) {
      const int answer = dialogs().msgBox("Remove this configuration?", MsgBoxStyle::OkCancel | MsgBoxStyle::Question,
                                          "Remove Settings");
      if (answer == MsgBoxResult::Ok) {
        plinth().INISectionWrite(name, BStr::null(), programFile("Cache.ini"));
        LoadConfigurations();
      }
    }
    cRemove->setEnabled(false);
  });
}

}  // namespace tw::app
