// The INI methods' result shapes, which the tuner's readers depend on.

#include <gtest/gtest.h>

#include "host/runtime/vbconv.h"
#include "syslib/plinth.h"
#include "tests/support/machine_fixture.h"

namespace tw {
namespace {

class PlinthIni : public ::testing::Test {
 protected:
  test::TestMachine m;
  Plinth p{*m.host};
  void SetUp() override {
    test::writeFile(m.windows() / "SYSTEM.INI",
                    "[386Enh]\r\nPageBuffers=32\r\n\r\n[vcache]\r\nMinFileCache=1024\r\n");
  }
};

TEST_F(PlinthIni, ReadReturnsTheWholeBufferNulPaddedAndCut) {
  const std::string r = p.INIRead("vcache", "MinFileCache", "0", "System.ini");
  ASSERT_EQ(r.size(), 260u);
  EXPECT_EQ(r.substr(0, 5), std::string("1024\0", 5));
  EXPECT_EQ(r.find_first_not_of('\0', 4), std::string::npos);
  // A missing key gives the default, padded the same way.
  EXPECT_EQ(p.INIRead("vcache", "MaxFileCache", "0", "System.ini"), "0" + std::string(259, '\0'));
  EXPECT_EQ(p.INIRead("nosection", "x", "9600,n,8,1,x", "C:\\WINDOWS\\NOFILE.INI").substr(0, 13),
            std::string("9600,n,8,1,x\0", 13));
}

// How names are cut to the buffer is the configuration list's test; here
// that the caller's buffer is used whole, at any length, and no further.
TEST_F(PlinthIni, SectionNamesFillTheCallersBuffer) {
  test::writeFile(m.windows() / "AB.INI", "[A]\r\nk=1\r\n[B]\r\n");
  EXPECT_EQ(p.INISectionRead(std::string(300, '*'), "ab.ini"), std::string("A\0B\0\0", 5) + std::string(295, '*'));
}

TEST_F(PlinthIni, NullValueKeyAndContentsDelete) {
  p.INIWrite("vcache", "MinFileCache", BStr::null(), "System.ini");
  EXPECT_EQ(p.INIRead("vcache", "MinFileCache", "gone", "System.ini").substr(0, 4), "gone");

  p.INIWrite("386Enh", BStr::null(), BStr::null(), "System.ini");
  std::string names = p.INISectionRead(std::string(260, '\0'), "System.ini");
  EXPECT_EQ(names.substr(0, 8), std::string("vcache\0\0", 8));

  p.INISectionWrite("Custom", std::string("MinFileCache=2048\0MaxFileCache=4096\0", 36), "Cache.ini");
  EXPECT_EQ(val(p.INIRead("Custom", "MaxFileCache", "0", "Cache.ini")), 4096);
  p.INISectionWrite("Custom", BStr::null(), "Cache.ini");
  names = p.INISectionRead(std::string(260, '\0'), "Cache.ini");
  EXPECT_EQ(names.front(), '\0');

  // Section contents without their final NUL are still one list.
  p.INISectionWrite("S", std::string("a=1\0b=2", 7), "X.ini");
  EXPECT_EQ(test::readFile(m.windows() / "X.ini"), "[S]\r\na=1\r\nb=2\r\n");
}

}  // namespace
}  // namespace tw
