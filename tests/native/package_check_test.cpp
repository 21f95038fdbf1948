// The package check on packages built here: the sound case, each failure with its message box,
// signed packages, and which bytes the checksums cover.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "crc32.h"
#include "fake_system.h"
#include "package.h"
#include "package_writer.h"
#include "test_data.h"

namespace qorin {
namespace {

namespace fs = std::filesystem;

class PackageCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("qorin-pkg-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    parts_.stub = test::RandomData(4096, 11);
    parts_.stub[0] = 'M';
    parts_.stub[1] = 'Z';
    parts_.payload = test::RandomData(3000, 12);
    parts_.data = pack::WriteZip({{"setup.ini", test::Bytes("[config]\r\nname_eng = Demo\r\n")},
                                  {"lang/English.ini", test::TextData(5000)}},
                                 1700000000);
    parts_.config = "setup.ini";
    parts_.packTime = 1700000000;
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path Write(const std::vector<uint8_t>& bytes, const char* name = "setup.exe") {
    fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
  }
  bool Check(const fs::path& path) { return package_.CheckPackage(path.u16string()); }
  void ExpectIntegrityFailure(const fs::path& path, XPACKAGE_ERR fault) {
    system_.boxes.clear();
    EXPECT_FALSE(Check(path));
    EXPECT_EQ(package_.LastFault(), fault) << DescribeFault(package_.LastFault());
    ASSERT_EQ(system_.boxes.size(), 1u);
    EXPECT_EQ(system_.boxes[0].text,
              u"Installer intergrity check has failed. \r\n\r\n" + path.u16string());
    EXPECT_EQ(system_.boxes[0].caption, u"QORIN");
    EXPECT_EQ(system_.boxes[0].style, kBoxSystemModal | kBoxIconWarning);
  }

  fs::path dir_;
  pack::PackageParts parts_;
  test::FakeSystem system_;
  XPackage package_{system_};
};

TEST_F(PackageCheck, SoundPackageFillsInfoAndOpensData) {
  ASSERT_TRUE(Check(Write(pack::BuildPackage(parts_))));
  const PackageInfo& info = package_.Info();
  EXPECT_EQ(info.stubSize, 4096u);
  EXPECT_EQ(info.archiveSize, 3000u);
  EXPECT_EQ(info.dataSize, parts_.data.size());
  EXPECT_EQ(info.packTime, 1700000000);
  EXPECT_EQ(info.configName, u"setup.ini");
  EXPECT_TRUE(system_.boxes.empty());
  XByteBuffer bytes;
  ASSERT_TRUE(package_.ReadWholeFile(u"LANG/english.ini", &bytes));
  EXPECT_EQ(std::vector<uint8_t>(bytes.data(), bytes.data() + bytes.length), test::TextData(5000));
}

TEST_F(PackageCheck, WithoutPayloadDataFollowsTheStub) {
  parts_.payload.clear();
  ASSERT_TRUE(Check(Write(pack::BuildPackage(parts_))));
  EXPECT_EQ(package_.Info().archiveSize, 0u);
}

TEST_F(PackageCheck, MissingFileShowsCantOpen) {
  fs::path path = dir_ / "absent.exe";
  EXPECT_FALSE(Check(path));
  ASSERT_EQ(system_.boxes.size(), 1u);
  EXPECT_EQ(system_.boxes[0].text, u"Can't open file: " + path.u16string());
  EXPECT_EQ(system_.boxes[0].caption, u"QORIN");
}

TEST_F(PackageCheck, EachFailureShowsTheIntegrityMessage) {
  std::vector<uint8_t> good = pack::BuildPackage(parts_);
  size_t footer = good.size() - 16;
  auto variant = [&](auto change) {
    std::vector<uint8_t> bytes = good;
    change(bytes);
    return Write(bytes, "variant.exe");
  };
  ExpectIntegrityFailure(Write(parts_.stub, "plain.exe"), XPACKAGE_ERR_NO_FOOTER);
  ExpectIntegrityFailure(variant([&](auto& b) {
                           b.push_back(0);
                           b.push_back(0);
                           b.insert(b.begin() + 4096, 8, 0);
                         }),
                         XPACKAGE_ERR_NO_FOOTER);  // footer moved off its 16-byte boundary
  ExpectIntegrityFailure(variant([&](auto& b) { b[footer + 8] = 2; }), XPACKAGE_ERR_VERSION);
  ExpectIntegrityFailure(variant([&](auto& b) { b[footer - 20] ^= 1; }), XPACKAGE_ERR_TRAILER_CRC);
  ExpectIntegrityFailure(variant([&](auto& b) { b[footer] = 0xFF, b[footer + 1] = 0xFF; }),
                         XPACKAGE_ERR_TRAILER_CRC);
  ExpectIntegrityFailure(variant([&](auto& b) { b[4096 + 3000 + 10] ^= 1; }),
                         XPACKAGE_ERR_CRC_TOTAL);
  ExpectIntegrityFailure(variant([&](auto& b) { b.resize(4096 + 100); }), XPACKAGE_ERR_NO_FOOTER);
}

TEST_F(PackageCheck, TrailerWithoutSectionOrWithHugeNumbersFailsToParse) {
  // "x=1" has no section; a size beyond 32 bits would otherwise be cut to 512.
  for (std::u16string text :
       {std::u16string(u"x=1"), std::u16string(u"[qorin]\r\nstub_size = 4294967808")}) {
    std::vector<uint8_t> bytes = parts_.stub;
    std::vector<uint8_t> trailer = {0xFF, 0xFE};
    for (char16_t c : text) trailer.insert(trailer.end(), {uint8_t(c & 0xFF), uint8_t(c >> 8)});
    while ((bytes.size() + trailer.size()) % 16 != 0) trailer.push_back(0);
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
    uint32_t size = static_cast<uint32_t>(trailer.size()),
             crc = Crc32(0, trailer.data(), trailer.size());
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(size >> (8 * i)));
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(crc >> (8 * i)));
    bytes.push_back(1);
    for (char c : {'Q', 'O', 'R', 'I', 'N', 'x', 'X'}) bytes.push_back(static_cast<uint8_t>(c));
    ExpectIntegrityFailure(Write(bytes), XPACKAGE_ERR_TRAILER_PARSE);
  }
}

TEST_F(PackageCheck, DataArchiveThatIsNoZipFails) {
  parts_.data = test::RandomData(600);
  ExpectIntegrityFailure(Write(pack::BuildPackage(parts_)), XPACKAGE_ERR_ZIP_OPEN);
}

TEST_F(PackageCheck, CoverageStartsAtOffset512AndEndsWithTheData) {
  std::vector<uint8_t> good = pack::BuildPackage(parts_);
  size_t dataEnd = 4096 + 3000 + parts_.data.size();
  // Every byte of the uncovered head may change; every covered byte is checked. A stride keeps
  // the test fast while touching the stub, the payload, the data and both boundaries.
  for (size_t at : {size_t{0}, size_t{60}, size_t{300}, size_t{511}}) {
    std::vector<uint8_t> bytes = good;
    bytes[at] ^= 0x5A;
    EXPECT_TRUE(Check(Write(bytes))) << "offset " << at;
  }
  for (size_t at = 512; at < dataEnd; at += (at < 520 || at + 8 > dataEnd) ? 1 : 97) {
    std::vector<uint8_t> bytes = good;
    bytes[at] ^= 0x01;
    EXPECT_FALSE(Check(Write(bytes))) << "offset " << at;
  }
}

TEST_F(PackageCheck, FooterSearchSkipsUpTo2047BlocksAfterIt) {
  std::vector<uint8_t> good = pack::BuildPackage(parts_);
  std::vector<uint8_t> bytes = good;
  bytes.resize(good.size() + 2047 * 16, 0xAB);
  EXPECT_TRUE(Check(Write(bytes)));
  bytes.resize(good.size() + 2048 * 16, 0xAB);
  EXPECT_FALSE(Check(Write(bytes)));
  EXPECT_EQ(package_.LastFault(), XPACKAGE_ERR_NO_FOOTER);
}

TEST_F(PackageCheck, SignedPackagePasses) {
  if (std::system("command -v osslsigncode >/dev/null && command -v openssl >/dev/null") != 0) {
    GTEST_SKIP() << "osslsigncode or openssl missing";
  }
  // A real PE stub: the build's own, when the win32 preset was built beside this one.
  fs::path stub = fs::path(QORIN_SOURCE_DIR) / "build/win32/qorin-stub.exe";
  if (!fs::exists(stub)) GTEST_SKIP() << "no Windows stub built at " << stub;
  std::ifstream in(stub, std::ios::binary);
  parts_.stub.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  fs::path unsigned_ = Write(pack::BuildPackage(parts_), "unsigned.exe");
  std::string d = dir_.string();
  std::string command =
      "cd '" + d +
      "' && openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 "
      "-subj /CN=QorinTest >/dev/null 2>&1 && osslsigncode sign -certs cert.pem -key key.pem "
      "-in unsigned.exe -out signed.exe >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_GT(fs::file_size(dir_ / "signed.exe"), fs::file_size(unsigned_));
  EXPECT_TRUE(Check(dir_ / "signed.exe")) << DescribeFault(package_.LastFault());
}

TEST_F(PackageCheck, ReadWholeFileLogsWhatIsMissing) {
  ASSERT_TRUE(Check(Write(pack::BuildPackage(parts_))));
  XByteBuffer bytes;
  EXPECT_FALSE(package_.ReadWholeFile(u"lang/German.ini", &bytes));
  ASSERT_EQ(system_.console.size(), 1u);
  EXPECT_EQ(system_.console[0], u"ReadWholeFile()-실패:lang\\German.ini");
}

TEST_F(PackageCheck, DeveloperSideFileSwitchesModes) {
  fs::path module = dir_ / "setup.exe";
  Write(pack::BuildPackage(parts_));
  std::u16string commandLine = u"/original";
  package_.DeveloperSideFile(module.u16string(), &commandLine);
  EXPECT_TRUE(package_.Info().packaged) << "no side file: the module itself";
  EXPECT_EQ(package_.Info().packagePath, module.u16string());
  EXPECT_EQ(commandLine, u"/original");

  auto side = [&](const std::string& text) {
    std::ofstream(dir_ / "setup.ini", std::ios::binary) << text;
  };
  side(
      "[DEBUG]\r\nPARAM = C:\\work\\dev\\setup.config\r\nARCHIVE_PATH_TO_TEST = "
      "C:\\work\\payload.7z\r\n");
  package_.DeveloperSideFile(module.u16string(), &commandLine);
  EXPECT_FALSE(package_.Info().packaged);
  EXPECT_EQ(commandLine, u"C:\\work\\dev\\setup.config");
  EXPECT_EQ(package_.Info().developerFolder, u"C:\\work\\dev\\");
  EXPECT_EQ(package_.Info().configName, u"setup.config");
  EXPECT_EQ(package_.Info().packagePath, u"C:\\work\\payload.7z");

  side("\xEF\xBB\xBF[DEBUG]\nPARAM = other.exe\n");
  package_.DeveloperSideFile(module.u16string(), &commandLine);
  EXPECT_TRUE(package_.Info().packaged);
  EXPECT_EQ(package_.Info().packagePath, u"other.exe");

  side("[DEBUG]\r\nPARAM = C:\\a.ini\\tool\r\n");
  package_.DeveloperSideFile(module.u16string(), &commandLine);
  EXPECT_TRUE(package_.Info().packaged) << "a dot followed by a backslash is no extension";
}

}  // namespace
}  // namespace qorin
