// The server's standard exports: what registration leaves in the classes
// root, that unregistration takes back exactly that, and the class factory
// and unload check a loader relies on.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "host/registry/regfile.h"
#include "syslib/interface/registration.h"
#include "tests/host/registry/reg_helpers.h"
#include "tests/support/machine_fixture.h"

extern "C" PLINTH_HRESULT plinth_c_create_through_factory(PlinthObject** object);

namespace tw {
namespace {

const std::string kClsid = PLINTH_CLSID_PLINTH_TEXT;
const std::string kLibid = PLINTH_LIBID_PLINTHDLL_TEXT;
constexpr const char* kClasses = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes";

// A REG_SZ value without its terminating NUL; nullopt when the value is
// missing or not a NUL-terminated REG_SZ.
std::optional<std::string> readSz(reg::Registry& r, const std::string& path, const char* name = nullptr) {
  auto value = reg::queryValue(r, reg::HKEY_CLASSES_ROOT, path, name);
  if (!value || value->first != reg::REG_SZ || !value->second.ends_with('\0')) return std::nullopt;
  value->second.pop_back();
  return value->second;
}

class Registration : public ::testing::Test {
 protected:
  test::TestMachine m;
  reg::Registry& r = m.host->registry();
  void SetUp() override { Host::setProcess(m.host.get()); }
  void TearDown() override { Host::setProcess(nullptr); }
};

TEST_F(Registration, WritesWhatALoaderLooksUpAndClosesEveryKey) {
  ASSERT_EQ(DllRegisterServer(), PLINTH_S_OK);
  EXPECT_EQ(r.openHandleCount(), 0u);
  const std::string c = "CLSID\\" + kClsid, dll = "C:\\Program Files\\Tunewell\\Plinth.dll";
  EXPECT_EQ(readSz(r, c), "Plinth");
  EXPECT_EQ(readSz(r, c + "\\InprocServer32"), dll);
  EXPECT_EQ(readSz(r, c + "\\InprocServer32", "ThreadingModel"), "Apartment");
  EXPECT_EQ(readSz(r, c + "\\TypeLib"), kLibid);
  EXPECT_EQ(readSz(r, "PlinthDll.Plinth\\Clsid"), kClsid);
  EXPECT_EQ(readSz(r, std::string("Interface\\") + PLINTH_IID_PLINTH_TEXT + "\\ProxyStubClsid32"),
            "{00020424-0000-0000-C000-000000000046}");
  EXPECT_EQ(readSz(r, std::string("Interface\\") + PLINTH_IID_PLINTH_TEXT + "\\TypeLib", "Version"), "1.0");
  EXPECT_EQ(readSz(r, "TypeLib\\" + kLibid + "\\1.0\\0\\win32"), dll);
}

TEST_F(Registration, IsIdempotentAndUnregisteringPutsTheClassesRootBack) {
  const std::string other = "{11111111-2222-3333-4444-555555555555}";
  reg::importRegText(r, "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\CLSID\\" + other + "]\r\n@=\"Other\"\r\n"
                        "[HKEY_CLASSES_ROOT\\Interface\\" + other + "]\r\n[HKEY_CLASSES_ROOT\\TypeLib\\" + other + "]\r\n"
                        "[HKEY_CLASSES_ROOT\\TypeLib\\" + kLibid + "\\2.0]\r\n@=\"PlinthDll\"\r\n");
  const std::string before = reg::exportRegText(r, kClasses);

  ASSERT_EQ(DllRegisterServer(), PLINTH_S_OK);
  const std::string registered = reg::exportRegText(r, kClasses);
  // A stale library path (the program moved) is put right by registering again.
  reg::importRegText(r, "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\CLSID\\" + kClsid + "\\InprocServer32]\r\n@=\"C:\\\\X.dll\"\r\n");
  ASSERT_EQ(DllRegisterServer(), PLINTH_S_OK);
  EXPECT_EQ(reg::exportRegText(r, kClasses), registered);

  // Version 2.0 of the type library is someone else's and keeps its parent.
  ASSERT_EQ(DllUnregisterServer(), PLINTH_S_OK);
  EXPECT_EQ(reg::exportRegText(r, kClasses), before);
  EXPECT_EQ(DllUnregisterServer(), PLINTH_S_OK);
  reg::importRegText(r, "REGEDIT4\r\n\r\n[-HKEY_CLASSES_ROOT\\TypeLib\\" + kLibid + "\\2.0]\r\n");
  ASSERT_EQ(DllRegisterServer(), PLINTH_S_OK);
  ASSERT_EQ(DllUnregisterServer(), PLINTH_S_OK);
  reg::HKEY k = 0;
  EXPECT_EQ(r.RegOpenKeyEx(reg::HKEY_CLASSES_ROOT, "TypeLib\\" + kLibid, 0, reg::KEY_READ, &k), reg::ERROR_FILE_NOT_FOUND);
}

TEST(RegistrationWithoutAProgram, UsesTheChosenMachineAndLeavesADamagedHiveAlone) {
  ASSERT_EQ(Host::process(), nullptr);
  test::TempDir dir;
  const auto good = dir / "good", bad = dir / "bad";
  test::makeBareMachine(good);
  test::makeBareMachine(bad);
  // A program folder written with a trailing backslash must not double it.
  std::string ini = test::readFile(good / ".tunewell" / "machine.ini");
  ini.replace(ini.find("Program Files\\Tunewell"), 22, "Tools\\Tune Well\\");
  test::writeFile(good / ".tunewell" / "machine.ini", ini);
  const std::string junk = "not a hive, and it must stay as it is\n";
  test::writeFile(bad / ".tunewell" / "hive.db", junk);

  setenv("TUNEWELL_MACHINE", good.c_str(), 1);
  const PLINTH_HRESULT onGood = DllRegisterServer();
  setenv("TUNEWELL_MACHINE", bad.c_str(), 1);
  EXPECT_EQ(DllRegisterServer(), PLINTH_SELFREG_E_CLASS);
  EXPECT_EQ(DllUnregisterServer(), PLINTH_SELFREG_E_CLASS);
  unsetenv("TUNEWELL_MACHINE");

  ASSERT_EQ(onGood, PLINTH_S_OK);
  Host host(good, nullptr);
  EXPECT_EQ(readSz(host.registry(), "CLSID\\" + kClsid + "\\InprocServer32"), "C:\\Tools\\Tune Well\\Plinth.dll");
  EXPECT_EQ(test::readFile(bad / ".tunewell" / "hive.db"), junk);
}

TEST_F(Registration, HandsOutTheFactoryOfPlinthOnlyAndUnloadsWhenNothingIsAlive) {
  void* out = &out;
  EXPECT_EQ(DllGetClassObject(&PLINTH_IID__Plinth, &PLINTH_IID_IClassFactory, &out), PLINTH_CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  out = &out;
  EXPECT_EQ(DllGetClassObject(&PLINTH_CLSID_Plinth, &PLINTH_IID__Plinth, &out), PLINTH_E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);

  ASSERT_EQ(DllCanUnloadNow(), PLINTH_S_OK);
  PlinthObject* a = nullptr;
  ASSERT_EQ(plinth_c_create_through_factory(&a), PLINTH_S_OK);
  PlinthString name{};
  ASSERT_EQ(plinth_GetPCname(a, &name), PLINTH_S_OK);  // works on the program's machine
  EXPECT_EQ(std::string(name.data, name.length), "TESTBOX");
  plinth_string_free(&name);
  EXPECT_EQ(DllCanUnloadNow(), PLINTH_S_FALSE);
  plinth_release(a);
  EXPECT_EQ(DllCanUnloadNow(), PLINTH_S_OK);

  ASSERT_EQ(DllGetClassObject(&PLINTH_CLSID_Plinth, &PLINTH_IID_IUnknown, &out), PLINTH_S_OK);
  const auto* factory = static_cast<const PlinthClassFactory*>(out);
  // An unlock too many must not leave the count owing, or the next lock
  // would not hold the library.
  EXPECT_EQ(factory->LockServer(factory, 0), PLINTH_E_UNEXPECTED);
  EXPECT_EQ(factory->LockServer(factory, 1), PLINTH_S_OK);
  EXPECT_EQ(DllCanUnloadNow(), PLINTH_S_FALSE);
  EXPECT_EQ(factory->LockServer(factory, 0), PLINTH_S_OK);
  EXPECT_EQ(DllCanUnloadNow(), PLINTH_S_OK);
}

}  // namespace
}  // namespace tw
