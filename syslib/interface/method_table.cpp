#include "syslib/interface/method_table.h"

#include "host/runtime/codepage.h"
#include "syslib/plinth.h"

namespace tw {
namespace {

using K = ParamKind;

// Argument accessors: an omitted optional argument takes the method's default.
int32_t lng(const Arg& a, int32_t def) { return a.missing ? def : a.value.toLong(); }
int16_t integer(const Arg& a) { return a.missing ? int16_t{0} : a.value.toInteger(); }
BStr text(const Arg& a, const char* def = "") { return a.missing ? BStr(def) : a.text; }
Variant var(const Arg& a) { return a.missing ? Variant::missing() : a.value; }
bool boolean(const Arg& a, bool def) { return a.missing ? def : a.value.toBool(); }
HKeys root(const Arg& a) { return static_cast<HKeys>(a.value.toLong()); }
lDataType dataType(const Arg& a) { return static_cast<lDataType>(a.value.toLong()); }

CallResult value(Variant v) { return {std::move(v), {}}; }
CallResult none() { return {std::nullopt, {}}; }

// A gauge method: a result and one by-reference percentage.
template <class F>
CallResult withPercent(const std::vector<Arg>& a, F call) {
  int16_t percent = integer(a[0]);
  Variant result = call(percent);
  return {std::move(result), {{"Percnt", Variant(percent)}}};
}

std::vector<MethodSpec> build() {
  return {
      {1, "ExitWindowsMsgBox",
       {{"Operation", K::Long, true}, {"hWndOwner", K::Long, true}, {"ExtraText", K::String, true}},
       [](Plinth& p, const std::vector<Arg>& a) {
         return value(p.ExitWindowsMsgBox(lng(a[0], 2), lng(a[1], 0), text(a[2])));
       }},
      {2, "WriteValue",
       {{"hkey", K::HKeys},
        {"subdir", K::String},
        {"KeyName", K::String},
        {"vWriteThis", K::Variant},
        {"ldValueDataType", K::DataType},
        {"Multi_SZ_AddtlStrings", K::Variant, true}},
       [](Plinth& p, const std::vector<Arg>& a) {
         return value(p.WriteValue(root(a[0]), text(a[1]), text(a[2]), var(a[3]), dataType(a[4]), var(a[5])));
       }},
      {3, "DeleteKey", {{"hkey", K::HKeys}, {"subdir", K::String}},
       [](Plinth& p, const std::vector<Arg>& a) { return value(p.DeleteKey(root(a[0]), text(a[1]))); }},
      {4, "DeleteValue", {{"hkey", K::HKeys}, {"subdir", K::String}, {"KeyName", K::String}},
       [](Plinth& p, const std::vector<Arg>& a) {
         return value(p.DeleteValue(root(a[0]), text(a[1]), text(a[2])));
       }},
      {5, "GetValue",
       {{"hkey", K::HKeys},
        {"subdir", K::String},
        {"KeyName", K::String},
        {"Default", K::Variant, true},
        {"Translate", K::Boolean, true}},
       [](Plinth& p, const std::vector<Arg>& a) {
         return value(p.GetValue(root(a[0]), text(a[1]), text(a[2]), var(a[3]), boolean(a[4], false)));
       }},
      {6, "INIRead",
       {{"AppName", K::String}, {"KeyName", K::String}, {"Default", K::String}, {"INIFilePath", K::String}},
       [](Plinth& p, const std::vector<Arg>& a) {
         return value(p.INIRead(text(a[0]), text(a[1]), text(a[2]), text(a[3])));
       }},
      {7, "INIWrite",
       {{"AppName", K::String}, {"KeyName", K::String}, {"Value", K::String}, {"INIFilePath", K::String}},
       [](Plinth& p, const std::vector<Arg>& a) {
         p.INIWrite(text(a[0]), text(a[1]), text(a[2]), text(a[3]));
         return none();
       }},
      {8, "INISectionWrite", {{"AppName", K::String}, {"KeyName", K::String}, {"INIFilePath", K::String}},
       [](Plinth& p, const std::vector<Arg>& a) {
         p.INISectionWrite(text(a[0]), text(a[1]), text(a[2]));
         return none();
       }},
      {9, "INISectionRead", {{"Returnedstring", K::String}, {"INIFilePath", K::String}},
       [](Plinth& p, const std::vector<Arg>& a) { return value(p.INISectionRead(text(a[0]), text(a[1]))); }},
      {10, "AvailablePhysicalMemory", {},
       [](Plinth& p, const std::vector<Arg>&) { return value(p.AvailablePhysicalMemory()); }},
      {11, "TotalPhysicalMemory", {},
       [](Plinth& p, const std::vector<Arg>&) { return value(p.TotalPhysicalMemory()); }},
      {12, "AvailablePageFile", {}, [](Plinth& p, const std::vector<Arg>&) { return value(p.AvailablePageFile()); }},
      {13, "PageFileSize", {}, [](Plinth& p, const std::vector<Arg>&) { return value(p.PageFileSize()); }},
      {14, "GetCPUUsage", {}, [](Plinth& p, const std::vector<Arg>&) { return value(p.GetCPUUsage()); }},
      {15, "HardDrive", {{"Percnt", K::Integer, true, true}},
       [](Plinth& p, const std::vector<Arg>& a) {
         return withPercent(a, [&](int16_t& pc) { return Variant(p.HardDrive(pc)); });
       }},
      {16, "CacheSize", {{"Percnt", K::Integer, true, true}},
       [](Plinth& p, const std::vector<Arg>& a) {
         return withPercent(a, [&](int16_t& pc) { return Variant(p.CacheSize(pc)); });
       }},
      {17, "Resources",
       {{"Sys", K::Integer, true, true}, {"Use", K::Integer, true, true}, {"GDI", K::Integer, true, true}},
       [](Plinth& p, const std::vector<Arg>& a) {
         int16_t sys = integer(a[0]), use = integer(a[1]), gdi = integer(a[2]);
         p.Resources(sys, use, gdi);
         return CallResult{std::nullopt, {{"Sys", Variant(sys)}, {"Use", Variant(use)}, {"GDI", Variant(gdi)}}};
       }},
      {18, "PhysicalMemory", {{"Percnt", K::Integer, true, true}},
       [](Plinth& p, const std::vector<Arg>& a) {
         return withPercent(a, [&](int16_t& pc) { return Variant(p.PhysicalMemory(pc)); });
       }},
      {19, "SystemMemory", {{"Percnt", K::Integer, true, true}},
       [](Plinth& p, const std::vector<Arg>& a) {
         return withPercent(a, [&](int16_t& pc) { return p.SystemMemory(pc); });
       }},
      {20, "PageSize", {{"Percnt", K::Integer, true, true}},
       [](Plinth& p, const std::vector<Arg>& a) {
         return withPercent(a, [&](int16_t& pc) { return Variant(p.PageSize(pc)); });
       }},
      {21, "OSVersion", {}, [](Plinth& p, const std::vector<Arg>&) { return value(p.OSVersion()); }},
      {22, "ProcessorType", {}, [](Plinth& p, const std::vector<Arg>&) { return value(p.ProcessorType()); }},
      {23, "GetCPUspeedX", {}, [](Plinth& p, const std::vector<Arg>&) { return value(p.GetCPUspeedX()); }},
      {24, "GetPCname", {}, [](Plinth& p, const std::vector<Arg>&) { return value(p.GetPCname()); }},
      {25, "OpenSite", {{"strWebsite", K::String}},
       [](Plinth& p, const std::vector<Arg>& a) {
         p.OpenSite(text(a[0]));
         return none();
       }},
      {26, "FindRegKeyString", {{"hkey", K::HKeys}, {"subdir", K::String}, {"key", K::String}},
       [](Plinth& p, const std::vector<Arg>& a) {
         return value(p.FindRegKeyString(root(a[0]), text(a[1]), text(a[2])));
       }},
  };
}

}  // namespace

const std::vector<MethodSpec>& plinthMethods() {
  static const std::vector<MethodSpec> methods = build();
  return methods;
}

const MethodSpec* findMethod(const std::string& name) {
  for (const auto& m : plinthMethods())
    if (name == m.name) return &m;
  for (const auto& m : plinthMethods())
    if (ansiEqualNoCase(name, m.name)) return &m;
  return nullptr;
}

std::string describeMethod(const MethodSpec& m) {
  std::string out = std::string(m.name) + "(";
  for (size_t i = 0; i < m.params.size(); ++i) {
    if (i) out += ", ";
    const auto& p = m.params[i];
    out += p.optional ? "[" + std::string(p.name) + "]" : p.name;
  }
  return out + ")";
}

}  // namespace tw
