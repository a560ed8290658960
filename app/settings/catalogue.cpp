#include "app/settings/catalogue.h"

#include <algorithm>

#include "host/runtime/errors.h"
#include "host/runtime/vbconv.h"

namespace tw::app::catalogue {

namespace {

using S = Store;
using R = ReadRule;
using Wr = WriteRule;
using P = PendingRecord;

constexpr lDataType kIni = REG_NONE;

// One row as it is written below; the item is its place in the table and
// the width follows from the field's type.
struct Row {
  std::string_view field;
  FieldRef ref;
  Store store;
  std::string_view location;
  std::string_view valueName;
  lDataType valueType;
  ReadRule rule;
  std::string_view absentText;
  WriteRule write;
  int32_t notSet;
  int readStep;
  int applyStep;
};

// Snapshot order.  The read and apply steps keep the order start-up and
// applying have always had, so the platform calls come in the same
// sequence: Win32PrioritySeparation is read and written right after
// CPUPriority, PCIConcur before FastDRAM, the ports are read last, and the
// CD-ROM's values are written last.
// clang-format off
constexpr std::array<Row, kSettingCount> kRows = {{
//  field                        ref                             store          location             value name                   type        read rule                absent      write rule                 not set read apply
  {"MinFileCache",              &P::MinFileCache,              S::SystemIni, "vcache",             "MinFileCache",              kIni,       R::IniNumber,             "0",        Wr::IniNumber,              0,  0,  0},
  {"MaxFileCache",              &P::MaxFileCache,              S::SystemIni, "vcache",             "MaxFileCache",              kIni,       R::IniNumber,             "0",        Wr::IniNumber,              0,  1,  1},
  {"Chunksize",                 &P::Chunksize,                 S::SystemIni, "vcache",             "Chunksize",                 kIni,       R::IniNumber,             "0",        Wr::IniNumber,              0,  2,  2},
  {"TemplateName",              &P::TemplateName,              S::Registry,  kTemplatesKey,        "",                          reg_sz,     R::RegistryText,          "",         Wr::OwnTemplate,            0,  3,  3},
  {"NameCache",                 &P::NameCache,                 S::Registry,  kFileSystemKey,       "NameCache",                 REG_BINARY, R::RegistryNumber,        "0",        Wr::TemplateCache,          0,  4,  4},
  {"PathCache",                 &P::PathCache,                 S::Registry,  kFileSystemKey,       "PathCache",                 REG_BINARY, R::RegistryNumber,        "0",        Wr::TemplateCache,          0,  5,  5},
  {"CPUPriority",               &P::CPUPriority,               S::Registry,  kBiosKey,             "CPUPriority",               REG_DWORD,  R::RegistryNumber,        "3",        Wr::DwordSwitch,            0,  6,  6},
  {"FastDRAM",                  &P::FastDRAM,                  S::Registry,  kBiosKey,             "FastDRAM",                  REG_DWORD,  R::RegistryNumber,        "3",        Wr::DwordSwitch,            0,  9,  9},
  {"PCIConcur",                 &P::PCIConcur,                 S::Registry,  kBiosKey,             "PCIConcur",                 REG_DWORD,  R::RegistryNumber,        "3",        Wr::DwordSwitch,            0,  8,  8},
  {"AGPConcur",                 &P::AGPConcur,                 S::Registry,  kBiosKey,             "AGPConcur",                 REG_DWORD,  R::RegistryNumber,        "3",        Wr::DwordSwitch,            0, 10, 10},
  {"AlwaysUnloadDLL",           &P::AlwaysUnloadDLL,           S::Registry,  kAlwaysUnloadDllKey,  "",                          reg_sz,     R::RegistryLeadingNumber, "0",        Wr::KeySwitch,              0, 11, 11},
  {"ConservativeSwapFileUsage", &P::ConservativeSwapFileUsage, S::SystemIni, "386Enh",             "ConservativeSwapFileUsage", kIni,       R::IniNumber,             "0",        Wr::IniSwitch,              0, 12, 12},
  {"ContigFileAllocSize",       &P::ContigFileAllocSize,       S::Registry,  kFileSystemKey,       "ContigFileAllocSize",       REG_BINARY, R::RegistryNumber,        "512",      Wr::Binary,                 0, 13, 19},
  // 1 is "Disabled"; 0 is a real threshold and is written.
  {"ReadAheadThreshold",        &P::ReadAheadThreshold,        S::Registry,  kFileSystemKey,       "ReadAheadThreshold",        REG_BINARY, R::RegistryNumber,        "0",        Wr::BinaryUnlessNotSet,     1, 14, 20},
  {"DMABufferSize",             &P::DMABufferSize,             S::SystemIni, "386Enh",             "DMABufferSize",             kIni,       R::IniNumber,             "0",        Wr::IniNumber,              0, 15, 21},
  {"CDFSCacheSize",             &P::CDFSCacheSize,             S::Registry,  kCdfsKey,             "CacheSize",                 REG_BINARY, R::RegistryNumber,        "619",      Wr::Binary,                 0, 16, 28},
  {"Prefetch",                  &P::Prefetch,                  S::Registry,  kCdfsKey,             "Prefetch",                  REG_BINARY, R::RegistryNumber,        "228",      Wr::Binary,                 0, 17, 29},
  {"MinSPs",                    &P::MinSPs,                    S::SystemIni, "386Enh",             "MinSPs",                    kIni,       R::IniNumber,             "2",        Wr::IniNumber,              2, 18, 13},
  {"PageBuffers",               &P::PageBuffers,               S::SystemIni, "386Enh",             "PageBuffers",               kIni,       R::IniNumber,             "4",        Wr::IniNumber,              4, 19, 14},
  {"COM1",                      &P::COM1,                      S::WinIni,    "Ports",              "COM1:",                     kIni,       R::IniText,               kSlowPort,  Wr::IniText,                0, 26, 15},
  {"COM2",                      &P::COM2,                      S::WinIni,    "Ports",              "COM2:",                     kIni,       R::IniText,               kSlowPort,  Wr::IniText,                0, 27, 16},
  {"COM3",                      &P::COM3,                      S::WinIni,    "Ports",              "COM3:",                     kIni,       R::IniText,               kSlowPort,  Wr::IniText,                0, 28, 17},
  {"COM4",                      &P::COM4,                      S::WinIni,    "Ports",              "COM4:",                     kIni,       R::IniText,               kSlowPort,  Wr::IniText,                0, 29, 18},
  {"Win32PrioritySeparation",   &P::Win32PrioritySeparation,   S::Registry,  kPriorityControlKey,  "Win32PrioritySeparation",   REG_DWORD,  R::RegistryNumber,        "0",        Wr::PrioritySeparation,     0,  7,  7},
  {"MaxCachedIcons",            &P::MaxCachedIcons,            S::Registry,  kExplorerKey,         "Max Cached Icons",          reg_sz,     R::RegistryInteger,       "0",        Wr::TextUnlessNotSet,       0, 20, 22},
  {"UseProfile",                &P::UseProfile,                S::Registry,  kDefragmenterKey,     "UseProfile",                REG_DWORD,  R::RegistryNumber,        "0",        Wr::DefragmenterSwitch,     0, 21, 23},
  {"MaxApps",                   &P::MaxApps,                   S::Registry,  kDefragmenterKey,     "MaxApps",                   REG_DWORD,  R::RegistryNumber,        "0",        Wr::DefragmenterLimit,      0, 22, 24},
  {"MaxNoUseDays",              &P::MaxNoUseDays,              S::Registry,  kDefragmenterKey,     "MaxNoUseDays",              REG_DWORD,  R::RegistryNumber,        "0",        Wr::DefragmenterLimit,      0, 23, 25},
  {"MinLogSize",                &P::MinLogSize,                S::Registry,  kDefragmenterKey,     "MinLogSize",                REG_DWORD,  R::RegistryNumber,        "0",        Wr::DefragmenterLimit,      0, 24, 26},
  {"TaskMonitor",               &P::TaskMonitor,               S::Registry,  kRunKey,              "TaskMonitor",               reg_sz,     R::RegistryText,          "0",        Wr::DefragmenterTaskMonitor, 0, 25, 27},
}};
// clang-format on

constexpr Width widthOf(const FieldRef& ref) {
  if (std::holds_alternative<int32_t PendingRecord::*>(ref)) return Width::Long;
  if (std::holds_alternative<int16_t PendingRecord::*>(ref)) return Width::Integer;
  return Width::String;
}

constexpr std::array<Setting, kSettingCount> numbered(const std::array<Row, kSettingCount>& rows) {
  std::array<Setting, kSettingCount> out{};
  for (size_t i = 0; i < rows.size(); ++i) {
    const Row& r = rows[i];
    out[i] = Setting{static_cast<int>(i), r.field,      widthOf(r.ref), r.store,  r.location,
                     r.valueName,         r.valueType,  r.rule,         r.absentText, r.ref,
                     r.write,             r.notSet,     r.readStep,     r.applyStep};
  }
  return out;
}

constexpr std::array<Setting, kSettingCount> kSettings = numbered(kRows);

// Whether a step column gives every item its own place.
template <int Setting::*Step>
constexpr bool eachItemHasItsOwnStep() {
  std::array<int, kSettingCount> seen{};
  for (const Setting& s : kSettings) {
    const int step = s.*Step;
    if (step < 0 || step >= kSettingCount || seen[static_cast<size_t>(step)]++ != 0) return false;
  }
  return true;
}
static_assert(eachItemHasItsOwnStep<&Setting::readStep>(), "two settings share a read step");
static_assert(eachItemHasItsOwnStep<&Setting::applyStep>(), "two settings share an apply step");

// The items sorted by one of the step columns.
template <int Setting::*Step>
constexpr std::array<int, kSettingCount> orderBy() {
  std::array<int, kSettingCount> order{};
  for (const Setting& s : kSettings) order[static_cast<size_t>(s.*Step)] = s.item;
  return order;
}

constexpr std::array<int, kSettingCount> kReadOrder = orderBy<&Setting::readStep>();
constexpr std::array<int, kSettingCount> kApplyOrder = orderBy<&Setting::applyStep>();

}  // namespace

const std::array<Setting, kSettingCount>& settings() { return kSettings; }

const Setting& setting(int item) {
  if (item < 0 || item >= kSettingCount) raise(ErrNo::SubscriptOutOfRange);
  return kSettings[static_cast<size_t>(item)];
}

const Setting* findField(std::string_view field) {
  for (const auto& s : kSettings)
    if (s.field == field) return &s;
  return nullptr;
}

const std::array<int, kSettingCount>& startupReadOrder() { return kReadOrder; }
const std::array<int, kSettingCount>& applyOrder() { return kApplyOrder; }

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

}  // namespace tw::app::catalogue

namespace tw::app {

PendingRecord::PendingRecord() {
  for (const catalogue::Setting& s : catalogue::settings()) catalogue::assignText(*this, s, std::string(s.absentText));
}

}  // namespace tw::app
