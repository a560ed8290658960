// Reading a setting from its store at start-up and writing it back when the
// user applies, each by its row's rule.

#include "app/settings/catalogue.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"

namespace tw::app::catalogue {

namespace {

constexpr const char* kOwnTemplateName = "Tunewell";
constexpr const char* kOwnTemplateDescription = "Tunewell Settings";

// Written with every apply, whatever the CD-ROM group shows.
struct FixedValue {
  const char* name;
  int32_t value;
};
constexpr std::array<FixedValue, 2> kCdRomTuning = {{{"Desired Lru1 Percentage", 25}, {"Required Pause Tolerance", 333}}};

// What GetValue is given for an absent value: the number itself for the
// numeric rules (the language passes an Integer literal), text otherwise.
Variant absentValue(const Setting& s) {
  if (s.rule == ReadRule::RegistryText) return Variant(std::string(s.absentText));
  return Variant(toInteger(val(s.absentText)));
}

int32_t numberOf(const PendingRecord& record, const Setting& s) { return std::get<int32_t>(value(record, s)); }

}  // namespace

void read(Plinth& plinth, const Setting& s, PendingRecord& record) {
  auto iniText = [&] {
    return plinth.INIRead(std::string(s.location), std::string(s.valueName), std::string(s.absentText), s.iniFile());
  };
  auto registryValue = [&](bool translate) {
    return plinth.GetValue(HKEY_LOCAL_MACHINE, std::string(s.location), std::string(s.valueName), absentValue(s),
                           translate);
  };
  switch (s.rule) {
    case ReadRule::IniNumber: return assignNumber(record, s, val(iniText()));
    case ReadRule::IniText: return assignText(record, s, std::string(beforeNul(iniText())));
    case ReadRule::RegistryNumber: return assignNumber(record, s, registryValue(true).toDouble());
    case ReadRule::RegistryLeadingNumber: return assignNumber(record, s, val(registryValue(false).toString()));
    case ReadRule::RegistryInteger: return assignNumber(record, s, registryValue(false).toInteger());
    case ReadRule::RegistryText: return assignText(record, s, registryValue(false).toString());
  }
}

void readAll(Plinth& plinth, PendingRecord& record) {
  for (const int item : startupReadOrder()) skipErrors([&] { read(plinth, setting(item), record); });
}

void write(Plinth& p, const Setting& s, const PendingRecord& record, const ApplyContext& context) {
  const auto HKLM = HKEY_LOCAL_MACHINE;
  const std::string key(s.location);
  const std::string name(s.valueName);
  auto ini = [&](const BStr& text) { p.INIWrite(key, name, text, s.iniFile()); };
  auto setValue = [&](const std::string& at, const Variant& v) { p.WriteValue(HKLM, at, name, v, s.valueType); };
  auto deleteValue = [&](const std::string& at) { p.DeleteValue(HKLM, at, name); };

  switch (s.write) {
    case WriteRule::IniNumber: {
      const int32_t n = numberOf(record, s);
      return ini(n == s.notSet ? BStr::null() : BStr(numberToText(n)));
    }
    case WriteRule::IniSwitch: return ini(numberOf(record, s) == 1 ? BStr("1") : BStr::null());
    case WriteRule::IniText: return ini(std::get<std::string>(value(record, s)));
    case WriteRule::Binary: return setValue(key, Variant(numberOf(record, s)));
    case WriteRule::BinaryUnlessNotSet: {
      const int32_t n = numberOf(record, s);
      return n == s.notSet ? deleteValue(key) : setValue(key, Variant(n));
    }
    case WriteRule::TextUnlessNotSet: {
      const int32_t n = numberOf(record, s);
      return n == s.notSet ? deleteValue(key) : setValue(key, Variant(numberToText(n)));
    }
    case WriteRule::DwordSwitch: return numberOf(record, s) == 1 ? setValue(key, Variant(int32_t{1})) : deleteValue(key);
    case WriteRule::OwnTemplate:
      p.WriteValue(HKLM, key, name, Variant(kOwnTemplateName), reg_sz);
      p.WriteValue(HKLM, kOwnTemplateKey, "", Variant(kOwnTemplateDescription), reg_sz);
      return;
    case WriteRule::TemplateCache: {
      const int32_t n = numberOf(record, s);
      if (n == s.notSet) return deleteValue(kOwnTemplateKey);
      setValue(kOwnTemplateKey, Variant(n));
      return setValue(key, Variant(n));
    }
    case WriteRule::PrioritySeparation:
      return setValue(key, Variant(int32_t{record.CPUPriority == 1 ? 2 : 0}));
    case WriteRule::KeySwitch:
      if (numberOf(record, s) == 1) return setValue(key, Variant("1"));
      p.DeleteKey(HKLM, key);
      return;
    case WriteRule::DefragmenterSwitch:
      return context.defragmenterProfile ? setValue(key, Variant(int32_t{1})) : deleteValue(key);
    case WriteRule::DefragmenterLimit:
      return context.defragmenterProfile ? setValue(key, Variant(numberOf(record, s))) : deleteValue(key);
    case WriteRule::DefragmenterTaskMonitor:
      return context.defragmenterProfile ? setValue(key, Variant(context.taskMonitor())) : deleteValue(key);
  }
}

void writeAll(Plinth& p, const PendingRecord& record, const ApplyContext& context) {
  for (const int item : applyOrder()) write(p, setting(item), record, context);
  for (const FixedValue& v : kCdRomTuning) p.WriteValue(HKEY_LOCAL_MACHINE, kCdRomKey, v.name, Variant(v.value), REG_BINARY);
}

}  // namespace tw::app::catalogue
