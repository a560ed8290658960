#include "app/settings/catalogue.h"

#include "host/runtime/errors.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"

namespace tw::app::catalogue {

namespace {

using W = Width;
using S = Store;
using R = ReadRule;
using P = PendingRecord;

constexpr lDataType kIni = REG_NONE;

const std::array<Setting, 30> kSettings = {{
    {0, "MinFileCache", W::Long, S::SystemIni, "vcache", "MinFileCache", kIni, R::IniNumber, "0", &P::MinFileCache},
    {1, "MaxFileCache", W::Long, S::SystemIni, "vcache", "MaxFileCache", kIni, R::IniNumber, "0", &P::MaxFileCache},
    {2, "Chunksize", W::Long, S::SystemIni, "vcache", "Chunksize", kIni, R::IniNumber, "0", &P::Chunksize},
    {3, "TemplateName", W::String, S::Registry, kTemplatesKey, "", reg_sz, R::RegistryText, "", &P::TemplateName},
    {4, "NameCache", W::Long, S::Registry, kFileSystemKey, "NameCache", REG_BINARY, R::RegistryNumber, "0", &P::NameCache},
    {5, "PathCache", W::Long, S::Registry, kFileSystemKey, "PathCache", REG_BINARY, R::RegistryNumber, "0", &P::PathCache},
    {6, "CPUPriority", W::Long, S::Registry, kBiosKey, "CPUPriority", REG_DWORD, R::RegistryNumber, "3", &P::CPUPriority},
    {7, "FastDRAM", W::Long, S::Registry, kBiosKey, "FastDRAM", REG_DWORD, R::RegistryNumber, "3", &P::FastDRAM},
    {8, "PCIConcur", W::Long, S::Registry, kBiosKey, "PCIConcur", REG_DWORD, R::RegistryNumber, "3", &P::PCIConcur},
    {9, "AGPConcur", W::Long, S::Registry, kBiosKey, "AGPConcur", REG_DWORD, R::RegistryNumber, "3", &P::AGPConcur},
    {10, "AlwaysUnloadDLL", W::Long, S::Registry, kAlwaysUnloadDllKey, "", reg_sz, R::RegistryLeadingNumber, "0",
     &P::AlwaysUnloadDLL},
    {11, "ConservativeSwapFileUsage", W::Integer, S::SystemIni, "386Enh", "ConservativeSwapFileUsage", kIni,
     R::IniNumber, "0", &P::ConservativeSwapFileUsage},
    {12, "ContigFileAllocSize", W::Long, S::Registry, kFileSystemKey, "ContigFileAllocSize", REG_BINARY,
     R::RegistryNumber, "512", &P::ContigFileAllocSize},
    {13, "ReadAheadThreshold", W::Long, S::Registry, kFileSystemKey, "ReadAheadThreshold", REG_BINARY,
     R::RegistryNumber, "0", &P::ReadAheadThreshold},
    {14, "DMABufferSize", W::Integer, S::SystemIni, "386Enh", "DMABufferSize", kIni, R::IniNumber, "0",
     &P::DMABufferSize},
    {15, "CDFSCacheSize", W::Long, S::Registry, kCdfsKey, "CacheSize", REG_BINARY, R::RegistryNumber, "619",
     &P::CDFSCacheSize},
    {16, "Prefetch", W::Long, S::Registry, kCdfsKey, "Prefetch", REG_BINARY, R::RegistryNumber, "228", &P::Prefetch},
    {17, "MinSPs", W::Integer, S::SystemIni, "386Enh", "MinSPs", kIni, R::IniNumber, "2", &P::MinSPs},
    {18, "PageBuffers", W::Integer, S::SystemIni, "386Enh", "PageBuffers", kIni, R::IniNumber, "4", &P::PageBuffers},
    {19, "COM1", W::String, S::WinIni, "Ports", "COM1:", kIni, R::IniText, kSlowPort, &P::COM1},
    {20, "COM2", W::String, S::WinIni, "Ports", "COM2:", kIni, R::IniText, kSlowPort, &P::COM2},
    {21, "COM3", W::String, S::WinIni, "Ports", "COM3:", kIni, R::IniText, kSlowPort, &P::COM3},
    {22, "COM4", W::String, S::WinIni, "Ports", "COM4:", kIni, R::IniText, kSlowPort, &P::COM4},
    {23, "Win32PrioritySeparation", W::Long, S::Registry, kPriorityControlKey, "Win32PrioritySeparation", REG_DWORD,
     R::RegistryNumber, "0", &P::Win32PrioritySeparation},
    {24, "MaxCachedIcons", W::Integer, S::Registry, kExplorerKey, "Max Cached Icons", reg_sz, R::RegistryInteger, "0",
     &P::MaxCachedIcons},
    {25, "UseProfile", W::Integer, S::Registry, kDefragmenterKey, "UseProfile", REG_DWORD, R::RegistryNumber, "0",
     &P::UseProfile},
    {26, "MaxApps", W::Integer, S::Registry, kDefragmenterKey, "MaxApps", REG_DWORD, R::RegistryNumber, "0",
     &P::MaxApps},
    {27, "MaxNoUseDays", W::Integer, S::Registry, kDefragmenterKey, "MaxNoUseDays", REG_DWORD, R::RegistryNumber, "0",
     &P::MaxNoUseDays},
    {28, "MinLogSize", W::Integer, S::Registry, kDefragmenterKey, "MinLogSize", REG_DWORD, R::RegistryNumber, "0",
     &P::MinLogSize},
    {29, "TaskMonitor", W::String, S::Registry, kRunKey, "TaskMonitor", reg_sz, R::RegistryText, "0", &P::TaskMonitor},
}};

// The reads are independent of one another; this is the order start-up
// has always made them in (the ports last), kept so that the platform calls
// come in the same sequence.
constexpr std::array<int, 30> kReadOrder = {0,  1,  2,  3,  4,  5,  6,  23, 8,  7,  9,  10, 11, 12, 13,
                                            14, 15, 16, 17, 18, 24, 25, 26, 27, 28, 29, 19, 20, 21, 22};

// What GetValue is given for an absent value: the number itself for the
// numeric rules (the language passes an Integer literal), text otherwise.
Variant absentValue(const Setting& s) {
  if (s.rule == ReadRule::RegistryText) return Variant(std::string(s.absentText));
  return Variant(toInteger(val(s.absentText)));
}

}  // namespace

const std::array<Setting, 30>& settings() { return kSettings; }

const Setting& setting(int item) {
  if (item < 0 || item >= static_cast<int>(kSettings.size())) raise(ErrNo::SubscriptOutOfRange);
  return kSettings[static_cast<size_t>(item)];
}

const Setting* findField(std::string_view field) {
  for (const auto& s : kSettings)
    if (s.field == field) return &s;
  return nullptr;
}

const std::array<int, 30>& startupReadOrder() { return kReadOrder; }

std::variant<int32_t, std::string> value(const PendingRecord& record, const Setting& s) {
  if (auto* l = std::get_if<int32_t PendingRecord::*>(&s.ref)) return record.**l;
  if (auto* i = std::get_if<int16_t PendingRecord::*>(&s.ref)) return int32_t{record.**i};
  return record.*std::get<std::string PendingRecord::*>(s.ref);
}

void assignNumber(PendingRecord& record, const Setting& s, double number) {
  if (auto* l = std::get_if<int32_t PendingRecord::*>(&s.ref)) {
    record.**l = toLong(number);
  } else if (auto* i = std::get_if<int16_t PendingRecord::*>(&s.ref)) {
    record.**i = toInteger(number);
  } else {
    record.*std::get<std::string PendingRecord::*>(s.ref) = numberToText(number);
  }
}

void assignText(PendingRecord& record, const Setting& s, std::string text) {
  if (auto* str = std::get_if<std::string PendingRecord::*>(&s.ref)) {
    record.**str = std::move(text);
    return;
  }
  // A numeric field takes text as an assignment does: the whole text must
  // be a number.
  assignNumber(record, s, Variant(std::move(text)).toDouble());
}

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
  for (const int item : kReadOrder) skipErrors([&] { read(plinth, setting(item), record); });
}

}  // namespace tw::app::catalogue
