// The qorin tool from outside: pack, verify, extract round trip, and its refusals.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "builtin_images.h"
#include "cli.h"
#include "package_writer.h"
#include "reference.h"
#include "test_data.h"

namespace qorin {
namespace {

namespace fs = std::filesystem;

// A signature key's codes read as a script writes the arguments, struct codes included.
TEST(Reference, ArgumentsOfSignatureKeys) {
  EXPECT_EQ(reference::Arguments(u"SetRegInt@si"), "(string, int)");
  EXPECT_EQ(reference::Arguments(u"OnInit@v"), "()");
  EXPECT_EQ(reference::Arguments(u"SetRect@i(RECT)d"), "(int, struct RECT, number)");
}

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
  EXPECT_EQ(Run("help natives"), 0);
  EXPECT_EQ(Run("help native NoSuchNative"), 1);
  EXPECT_EQ(Run("help tag Label"), 1);
  EXPECT_EQ(Run("help nonsense"), 2);
  EXPECT_EQ(Run("doc"), 2);
  EXPECT_EQ(Run("extract stub.exe --data out"), 1) << "no package";
  Write("evil.zip",
        pack::WriteZip({{"a.txt", test::Bytes("a")}, {"../evil.txt", test::Bytes("e")}}, 1));
  EXPECT_EQ(Run("extract evil.zip --data out"), 1);
  EXPECT_FALSE(fs::exists(dir_ / "out" / "a.txt")) << "nothing is written when a name is refused";
}

TEST_F(QorinToolRun, SkinIsCheckedAndLaidOutAsTheInstallerWould) {
  Write("data/setup.ini", test::Bytes("[config]\r\nname_eng = Demo\r\nskin_file_name = skin.xml\r\n"
                                      "lang_folder = lang\r\n"));
  Write("data/skin.xml", test::Bytes("<XSkin><Head/><Body><Static Name=\"top\" Height=\"20\">"
                                     "<Button Name=\"b\" Align=\"left\" Width=\"30\"/></Static>"
                                     "<Static Name=\"gone\" Show=\"false\"/></Body></XSkin>"));
  Write("data/broken.xml", test::Bytes("<XSkin><Head/>\n<Body><Label/></Body></XSkin>"));
  Write("data/nosrc.xml", test::Bytes("<XSkin><Head/><Body/>\n<script/></XSkin>"));
  Write("data/gone.xml", test::Bytes("<XSkin><Head/><Body/><script src=\"gone.xs\"/></XSkin>"));
  Write("data/bad.xml", test::Bytes("<XSkin><?script int x = ;?><Head/><Body/></XSkin>"));
  auto output = [&](const std::string& arguments) {
    std::string command = "cd '" + dir_.string() + "' && '" QORIN_TOOL "' " + arguments + " 2>&1";
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    for (int c; (c = std::fgetc(pipe)) != EOF;) text += static_cast<char>(c);
    pclose(pipe);
    return text;
  };
  EXPECT_EQ(output("check-skin data --config setup.ini"), "ok: 3 controls\n");
  EXPECT_EQ(output("layout data --config setup.ini --size 100x50"),
            "top 0,0,100,20\n  b 0,0,30,20\ngone hidden\n");
  EXPECT_EQ(output("layout data --config setup.ini --size 100x50 --rtl --dpi 192"),
            "top 0,0,100,40\n  b 40,0,100,40\ngone hidden\n");
  EXPECT_EQ(output("check-skin data --config setup.ini --skin broken.xml"),
            "잘못된 태그입니다. Line:2 Col:7 (Label)\n");
  EXPECT_EQ(Run("check-skin data --config setup.ini --skin broken.xml"), 1);
  // The script step, as the installer takes it; the scripts are parsed, not run.
  EXPECT_EQ(output("check-skin data --config setup.ini --skin nosrc.xml"),
            "지정되지 않은 에러입니다. Line:2 Col:1 (script)\n");
  EXPECT_EQ(output("check-skin data --config setup.ini --skin gone.xml"),
            "파일 열기 실패 Line:1 Col:22 (gone.xs)\n");
  EXPECT_EQ(output("check-skin data --config setup.ini --skin bad.xml"),
            "Error At Do XScript Line:1 Col:9 (ErrCode:203 ErrHint:'' Line:1 Col:9 "
            "Tok:(none))\n");
  EXPECT_EQ(Run("check-skin data --config setup.ini --skin bad.xml"), 1);
  EXPECT_EQ(Run("check-skin data --config setup.ini --lang Klingon"), 1);
  EXPECT_EQ(Run("layout data --config setup.ini"), 2) << "no --size";
  EXPECT_EQ(Run("check-skin data"), 1) << "a folder needs its configuration";
  ASSERT_EQ(Run("pack --stub stub.exe --data data --config setup.ini --time 1 -o s.exe"), 0);
  EXPECT_EQ(output("check-skin s.exe"), "ok: 3 controls\n");
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

namespace qorin {
namespace {

// qorin run and qorin check: output, error lines and exit codes.
class QorinToolScripts : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("qorin-scripts-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }
  int Run(const std::string& arguments) {
    std::string command =
        "cd '" + dir_.string() + "' && '" QORIN_TOOL "' " + arguments + " >out.txt 2>err.txt";
    int status = std::system(command.c_str());
    out_ = Read("out.txt");
    err_ = Read("err.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Read(const std::string& name) {
    std::ifstream in(dir_ / name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  fs::path dir_;
  std::string out_, err_;
};

TEST_F(QorinToolScripts, RunPrintsWhatTheSampleScriptPrints) {
  std::string samples = QORIN_SOURCE_DIR "/samples/scripts/";
  ASSERT_EQ(Run("run '" + samples + "demo.xs'"), 0) << err_;
  std::ifstream expected(samples + "demo.expected", std::ios::binary);
  EXPECT_EQ(out_, std::string((std::istreambuf_iterator<char>(expected)), {}));
  EXPECT_EQ(Run("run '" + samples + "error.xs'"), 1);
  EXPECT_EQ(out_, "3\n");
  EXPECT_NE(
      err_.find("error.xs:5:9: ErrCode:302 ErrHint:'Err@FindVar:totl' Line:5 Col:9 Tok:totl\n"),
      std::string::npos)
      << err_;
}

TEST_F(QorinToolScripts, RunSharesOneEngineAcrossFilesAndTakesUtf16) {
  Write("a.xs", "int shared = 2; void Hello(string who) { print('hello ' + who); }");
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("Hello('b'); Debug(shared);")) utf16 += std::string{c, '\0'};
  Write("b.xs", utf16);
  ASSERT_EQ(Run("run a.xs b.xs"), 0) << err_;
  EXPECT_EQ(out_, "hello b\n");
  EXPECT_EQ(err_, "2\n");  // Debug goes to stderr
}

TEST_F(QorinToolScripts, RunOptions) {
  Write("e.xs", "print('a\\tb');");
  ASSERT_EQ(Run("run --escapes e.xs"), 0);
  EXPECT_EQ(out_, "a\tb\n");
  ASSERT_EQ(Run("run e.xs"), 0);
  EXPECT_EQ(out_, "a\\tb\n");
  Write("c.xs", "x = 1; print('after');");
  EXPECT_EQ(Run("run c.xs"), 1);
  ASSERT_EQ(Run("run --continue-on-error c.xs"), 0);
  EXPECT_EQ(out_, "after\n");
  Write("u.xs", "Unknown(1); print('on');");
  ASSERT_EQ(Run("run --ignore-unknown-functions u.xs"), 0);
  EXPECT_EQ(out_, "on\n");
  EXPECT_EQ(Run("run --bogus u.xs"), 2);
  EXPECT_EQ(Run("run"), 2);
  EXPECT_EQ(Run("run missing.xs"), 1);
}

TEST_F(QorinToolScripts, CheckParsesWithoutRunning) {
  Write("ok.xs", "struct P { int x; };\nprint('never printed');");
  Write("uses.xs", "P p; int f(P q) { return q.x; }");
  ASSERT_EQ(Run("check ok.xs uses.xs"), 0);
  EXPECT_EQ(out_, "ok.xs: ok\nuses.xs: ok\n");
  Write("bad.xs", "int a = 1;\nwhile (a) { }\n");
  EXPECT_EQ(Run("check bad.xs"), 1);
  EXPECT_EQ(err_, "bad.xs:2:1: ErrCode:200 ErrHint:'' Line:2 Col:1 Tok:(none)\n");
  Write("lex.xs", "int a = 0x;");
  EXPECT_EQ(Run("check lex.xs"), 1);
  EXPECT_EQ(err_, "lex.xs:1:11: ErrCode:102 ErrHint:'' Line:1 Col:11 Tok:(none)\n");
  Write("runtime.xs", "y = 1;");
  EXPECT_EQ(Run("check runtime.xs"), 0);  // an undeclared variable is found only by running
}

}  // namespace
}  // namespace qorin
