// plinthctl as a script would use it: what it prints, and its exit status.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "tests/support/machine_fixture.h"

namespace tw {
namespace {

struct CtlRun {
  int status;
  std::string out;
  std::string err;
};

class Plinthctl : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::filesystem::path machine = dir / "machine";

  void SetUp() override { test::makeBareMachine(machine); }

  static std::string shellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
  }

  CtlRun run(const std::vector<std::string>& args) {
    std::string cmd = std::string(PLINTHCTL) + " --machine " + shellQuote(machine.string());
    for (const auto& a : args) cmd += " " + shellQuote(a);
    const auto errFile = dir / "stderr.txt";
    cmd += " 2>" + shellQuote(errFile.string());
    FILE* pipe = popen(cmd.c_str(), "r");
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    const int status = pclose(pipe);
    return {WEXITSTATUS(status), out, test::readFile(errFile)};
  }
};

TEST_F(Plinthctl, PrintsResultsWithTheirTypeAndVisibleNuls) {
  test::writeFile(machine / "WINDOWS" / "SYSTEM.INI", "[vcache]\r\nMinFileCache=1024\r\n");
  const CtlRun r = run({"INIRead", "vcache", "MinFileCache", "0", "System.ini"});
  EXPECT_EQ(r.status, 0);
  std::string expected = "String \"1024";
  for (int i = 0; i < 256; ++i) expected += "\\0";
  EXPECT_EQ(r.out, expected + "\"\n");

  EXPECT_EQ(run({"WriteValue", "HKLM", "Software\\T", "n", "@long:1", "REG_DWORD"}).out, "Boolean True\n");
  EXPECT_EQ(run({"GetValue", "HKEY_LOCAL_MACHINE", "Software\\T", "n", "@int:0", "True"}).out, "Long 1\n");
  EXPECT_EQ(run({"GetValue", "0x80000002", "Software\\T", "n"}).out, "String \"01 00 00 00 \"\n");
  EXPECT_EQ(run({"GetValue", "HKLM", "Software\\T", "missing"}).out, "Error 448\n");
  EXPECT_EQ(run({"INIWrite", "s", "k", "v", "x.ini"}).out, "None\n");
}

TEST_F(Plinthctl, EscapesAndNullStringsReachTheMethod) {
  EXPECT_EQ(run({"--escapes", "INIWrite", "s", "k", "a\\tb", "x.ini"}).status, 0);
  EXPECT_EQ(run({"INIRead", "s", "k", "", "x.ini"}).out.substr(0, 16), "String \"a\\tb\\0\\0");
  EXPECT_EQ(run({"INIWrite", "s", "@null", "@null", "x.ini"}).status, 0);
  EXPECT_EQ(run({"INIRead", "s", "k", "gone", "x.ini"}).out.substr(0, 13), "String \"gone\\");
  EXPECT_EQ(run({"--escapes", "INIWrite", "s", "k", "bad\\q", "x.ini"}).status, 2);
}

TEST_F(Plinthctl, OutputsAndMessageBoxesArePrinted) {
  CtlRun r = run({"WriteValue", "HKLM", "Software\\T", "n", "lots", "4"});
  EXPECT_EQ(r.out, "Boolean False\n");
  EXPECT_EQ(r.err, "MsgBox \"Error\" 16: \"13 Type mismatch in Plinth.WriteValue\"\n");
  r = run({"Resources", "5", "6", "7"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Sys = Integer "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("GDI = Integer "), std::string::npos) << r.out;
}

TEST_F(Plinthctl, UsageErrorsNameTheParameters) {
  CtlRun r = run({"WriteValue", "HKLM"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("WriteValue(hkey, subdir, KeyName, vWriteThis, ldValueDataType, [Multi_SZ_AddtlStrings])"),
            std::string::npos)
      << r.err;
  r = run({"NoSuchMethod"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("NoSuchMethod"), std::string::npos);
  EXPECT_EQ(run({"GetValue", "HKEY_NOWHERE", "x", "y"}).status, 2);
  EXPECT_EQ(run({"DeleteKey", "HKLM", "@missing"}).status, 2);
}

TEST_F(Plinthctl, RegFilesGoInAndOut) {
  test::writeFile(dir / "in.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Imported]\r\n\"v\"=\"hello\"\r\n\r\n");
  EXPECT_EQ(run({"import", (dir / "in.reg").string()}).status, 0);
  EXPECT_EQ(run({"export", "HKEY_LOCAL_MACHINE\\Software\\Imported", (dir / "out.reg").string()}).status, 0);
  EXPECT_NE(test::readFile(dir / "out.reg").find("\"v\"=\"hello\""), std::string::npos);

  test::writeFile(dir / "bad.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"v\"=hex:zz\r\n");
  const CtlRun bad = run({"import", (dir / "bad.reg").string()});
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("line 4"), std::string::npos) << bad.err;
}

}  // namespace
}  // namespace tw
