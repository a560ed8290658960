// Processor identification: the model name from the CPUID vendor string and
// signature, and the measured clock.

#include <cstdint>
#include <string>

#include "host/host.h"
#include "host/runtime/guard.h"
#include "host/system/platform.h"
#include "syslib/plinth.h"

namespace tw {

namespace {

struct Signature {
  uint32_t family = 0;
  uint32_t model = 0;
  uint32_t brand = 0;  // the brand index: bits 0 to 7 of EBX
};

sys::ProcessorLibrary& processorLibrary(Host& host) {
  sys::ProcessorLibrary* lib = host.platform().processor();
  if (!lib) raise(ErrNo::FileNotFound, "File not found: TwSys32.dll");
  return *lib;
}

Signature readSignature(sys::ProcessorLibrary& lib, uint32_t leaf) {
  const sys::CpuidRegs r = lib.ReadCPUID(leaf);
  using PL = sys::ProcessorLibrary;
  return {PL::ReadBITS(r.eax, 8, 4), PL::ReadBITS(r.eax, 4, 4), PL::ReadBITS(r.ebx, 0, 8)};
}

// Every vendor but one puts its signature in the extended leaf when the
// processor has extended leaves at all.
Signature extendedSignature(sys::ProcessorLibrary& lib) {
  return readSignature(lib, lib.ReadCPUID(0x80000000u).eax != 0 ? 0x80000001u : 1u);
}

// Each table gives the name for a signature, or null where it has none and
// the previous name stays.

const char* intelName(const Signature& s) {
  const uint32_t m = s.model;
  switch (s.family) {
    case 4:
      switch (m) {
        case 0: case 1: return "I486 DX";
        case 2: return "I486 SX";
        case 3: return "I486 487/DX2";
        case 4: return "I486 SL";
        case 5: return "I486 SX2";
        case 7: return "I486 write-back enhanced DX2";
        case 8: return "I486 DX4";
        default: return "I486 unknown";
      }
    case 5:
      switch (m) {
        case 0: case 1: return "Pentium 60/66";
        case 2: return "Pentium 75/200";
        case 3: return "Pentium for 486 system";
        case 4: return "Pentium MMX";
        default: return "Pentium unknown";
      }
    case 6:
      switch (m) {
        case 1: return "Pentium Pro";
        case 3: return "Pentium II / Pentium II Xeon";
        case 5: case 6: return "Celeron";
        case 7: return "Pentium III / Pentium III Xeon";
        case 0: case 2: case 4: return "Unknown PentiumPro or II or III";
        default:
          switch (s.brand) {
            case 1: return "Celeron";
            case 2: return "Pentium III";
            case 3: return "Pentium III Xeon";
            default: return nullptr;
          }
      }
    case 15:
      if (m != 11) return "newer Pentium 4";
      return s.brand == 8 ? "Pentium 4" : "unidentified Pentium 4";
    default:
      return nullptr;
  }
}

const char* amdName(const Signature& s) {
  const uint32_t m = s.model;
  switch (s.family) {
    case 4:
      return "Am486 \u00AE and Am5 86 \u00AE Processors";
    case 5:
      switch (m) {
        case 0: case 1: case 2: case 3: return "AMD-K5\u2122 Processor";
        case 6: case 7: return "AMD-K6 \u00AE Processor";
        case 8: return "AMD-K6-2 Processor";
        case 9: return "AMD-K6-III Processor";
        case 12: return "AMD-K6 \u00AE Processor (Evergreen)";
        default: return nullptr;
      }
    case 6:
      switch (m) {
        case 1: case 2: case 4: return "AMD Athlon\u2122 Processor";
        case 3: return "AMD Duron\u2122 Processor";
        default: return nullptr;
      }
    default:
      return nullptr;
  }
}

const char* cyrixName(const Signature& s) {
  const uint32_t m = s.model;
  switch (s.family) {
    case 4:
      return "Cyrix MediaGX";
    case 5:
      if (m == 2) return "Cyrix (IBM) 6x86 / 6x86L";
      if (m == 4) return "Cyrix MediaGX MMX Enhanced";
      return nullptr;
    case 6:
      if (m == 0) return "Cyrix (IBM) 6x86MX / M-II";
      if (m == 5 || m == 6) return "VIA Cyrix III";
      return "6x86/MX";
    default:
      return "Unknown Cyrix";
  }
}

const char* centaurName(const Signature& s) {
  switch (s.family) {
    case 5:
      switch (s.model) {
        case 4: return "IDT WinChip C6";
        case 8: return "IDT WinChip 2";
        case 9: return "IDT WinChip 3";
        case 10: return "IDT WinChip 4";
        default: return nullptr;
      }
    case 6:
      return "VIA Cyrix III";
    default:
      return "Unknown IDT";
  }
}

const char* riseName(const Signature& s) {
  if (s.family != 5) return "Unknown Rise";
  switch (s.model) {
    case 0: case 2: return "Rise mP6";
    case 8: case 9: return "Rise mP6-II";
    default: return nullptr;
  }
}

// Only family 5 had a name of its own; later families are named after the
// vendor string like the other small vendors' unknown families.
const char* mx86Name(const Signature& s) { return s.family == 5 ? "Crusoe TM5xxx" : "Unknown TMx86"; }

}  // namespace

std::string Plinth::ProcessorType() {
  return reportErrors(host_.dialogs(), "Plinth.ProcessorType", std::string(), [&] {
    const sys::CpuidRegs r = processorLibrary(host_).ReadCPUID(0);
    std::string vendor;
    for (uint32_t word : {r.ebx, r.edx, r.ecx})
      for (int i = 0; i < 4; ++i) vendor += static_cast<char>((word >> (8 * i)) & 0xFF);
    // The highest standard leaf is a signed 32-bit number to the caller.
    if (static_cast<int32_t>(r.eax) >= 1) {
      if (vendor == "GenuineIntel") GetIntelCPU();
      else if (vendor == "AuthenticAMD") GetAMDCPU();
      else if (vendor == "CyrixInstead") GetCyrixCPU();
      else if (vendor == "CentaurHauls") GetCentCPU();
      else if (vendor == "RiseRiseRise") GetRiseCPU();
      else if (vendor == "GenuineTMx86") GetMx86CPU();
      else ProcessorName = "Unknown Vendor";
    }
    return ProcessorName;
  });
}

void Plinth::GetIntelCPU() {
  reportErrors(host_.dialogs(), "Plinth.GetIntelCPU", [&] {
    if (const char* name = intelName(readSignature(processorLibrary(host_), 1))) ProcessorName = name;
  });
}

void Plinth::GetAMDCPU() {
  reportErrors(host_.dialogs(), "Plinth.GetAMDCPU", [&] {
    if (const char* name = amdName(extendedSignature(processorLibrary(host_)))) ProcessorName = name;
  });
}

void Plinth::GetCyrixCPU() {
  reportErrors(host_.dialogs(), "Plinth.GetCyrixCPU", [&] {
    if (const char* name = cyrixName(extendedSignature(processorLibrary(host_)))) ProcessorName = name;
  });
}

void Plinth::GetCentCPU() {
  reportErrors(host_.dialogs(), "Plinth.GetCentCPU", [&] {
    if (const char* name = centaurName(extendedSignature(processorLibrary(host_)))) ProcessorName = name;
  });
}

void Plinth::GetRiseCPU() {
  reportErrors(host_.dialogs(), "Plinth.GetRiseCPU", [&] {
    if (const char* name = riseName(extendedSignature(processorLibrary(host_)))) ProcessorName = name;
  });
}

void Plinth::GetMx86CPU() {
  reportErrors(host_.dialogs(), "Plinth.GetMx86CPU",
               [&] { ProcessorName = mx86Name(extendedSignature(processorLibrary(host_))); });
}

std::string Plinth::GetCPUspeedX() {
  return reportErrors(host_.dialogs(), "Plinth.GetCPUSpeed", std::string(),
                      [&] { return std::to_string(processorLibrary(host_).GetCPUSpeed()); });
}

}  // namespace tw
