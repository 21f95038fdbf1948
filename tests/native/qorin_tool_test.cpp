// The qorin tool from outside: pack, verify, extract round trip, and its refusals.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "builtin_images.h"
#include "cli.h"
#include "test_data.h"

namespace qorin {
namespace {

namespace fs = std::filesystem;

TEST(QorinTool, SafeJoinRefusesNamesThatLeaveTheFolder) {
  EXPECT_EQ(cli::SafeJoin("/out", "lang\\English.ini")->generic_string(), "/out/lang/English.ini");
  EXPECT_EQ(cli::SafeJoin("/out", "./a/./b")->generic_string(), "/out/a/b");
  for (const char* bad :
       {"/etc/passwd", "\\windows\\x", "C:\\x", "c:x", "..\\x", "a/../../x", "a/..", ""}) {
    EXPECT_FALSE(cli::SafeJoin("/out", bad).has_value()) << bad;
  }
}

class QorinToolRun : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("qorin-tool-" + std::to_string(::getpid()));
    fs::create_directories(dir_ / "data/lang");
    fs::create_directories(dir_ / "payload/bin");
    Write("data/setup.ini", test::Bytes("[config]\r\nname_eng = Demo\r\n"));
    Write("data/lang/English.ini", test::TextData(20000));
    Write("payload/bin/app.exe", test::RandomData(50000));
    Write("payload/readme.txt", test::TextData(3000));
    Write("stub.exe", test::RandomData(2048));
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(dir_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  int Run(const std::string& arguments) {
    std::string command =
        "cd '" + dir_.string() + "' && '" QORIN_TOOL "' " + arguments + " >/dev/null 2>&1";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Read(const fs::path& path) {
    std::ifstream in(dir_ / path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  fs::path dir_;
};

TEST_F(QorinToolRun, PackVerifyExtractRoundTrip) {
  ASSERT_EQ(Run("pack --stub stub.exe --data data --config setup.ini --payload payload --time 1 -o "
                "a.exe"),
            0);
  ASSERT_EQ(Run("pack --stub stub.exe --data data --config SETUP.INI --payload payload --time 1 -o "
                "b.exe"),
            0);
  EXPECT_EQ(Read("a.exe"), Read("b.exe")) << "same inputs and time, same bytes";
  EXPECT_EQ(Run("verify a.exe"), 0);
  EXPECT_EQ(Run("ls a.exe"), 0);
  ASSERT_EQ(Run("extract a.exe --data outdata"), 0);
  ASSERT_EQ(Run("extract a.exe --payload outpayload"), 0);
  for (const char* name : {"setup.ini", "lang/English.ini"}) {
    EXPECT_EQ(Read(fs::path("outdata") / name), Read(fs::path("data") / name)) << name;
  }
  for (const char* name : {"bin/app.exe", "readme.txt"}) {
    EXPECT_EQ(Read(fs::path("outpayload") / name), Read(fs::path("payload") / name)) << name;
  }
  std::string bytes = Read("a.exe");
  bytes[1000] ^= 1;
  Write("bad.exe", {bytes.begin(), bytes.end()});
  EXPECT_EQ(Run("verify bad.exe"), 1);
}

TEST_F(QorinToolRun, RefusalsAndUsage) {
  EXPECT_EQ(Run("pack --stub stub.exe --data data --config missing.ini -o a.exe"), 1);
  EXPECT_FALSE(fs::exists(dir_ / "a.exe"));
  EXPECT_EQ(Run("pack --stub stub.exe --data data -o a.exe"), 2);
  EXPECT_EQ(Run("pack --bogus x"), 2);
  EXPECT_EQ(Run("frobnicate"), 2);
  EXPECT_EQ(Run("verify"), 2);
  EXPECT_EQ(Run("pack --help"), 0);
  EXPECT_EQ(Run("extract stub.exe --data out"), 1) << "no package";
}

TEST_F(QorinToolRun, ImageIsDrawnAsTheInstallerWould) {
  Write("static.png", std::vector<uint8_t>(kStaticDefault, kStaticDefault + kStaticDefaultSize));
  ASSERT_EQ(Run("image static.png --dpi 144 -o big.bmp"), 0);
  std::string big = Read("big.bmp");
  ASSERT_EQ(big.size(), 14u + 40 + 135 * 135 * 4) << "90 x 90 at 144 DPI is 135 x 135, 32 bits";
  ASSERT_EQ(Run("image static.png --mode fillframe --size 200x60 -o frame.bmp"), 0);
  std::string frame = Read("frame.bmp");
  ASSERT_EQ(frame.size(), 14u + 40 + 200 * 60 * 4);
  EXPECT_EQ(frame.substr(0, 2), "BM");
  EXPECT_EQ(Run("image static.png --mode wobble --size 2x2 -o x.bmp"), 2);
  EXPECT_EQ(Run("image static.png --mode tile -o x.bmp"), 2) << "a mode needs a size";
  EXPECT_EQ(Run("image stub.exe -o x.bmp"), 1) << "not an image";
}

}  // namespace
}  // namespace qorin
