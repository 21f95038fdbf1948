// The extraction with a recording sink: files and folders written, redirected, skipped, moved
// aside, and its error codes.
#include "extraction.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "fake_system.h"
#include "test_data.h"
#include "utf.h"

namespace qorin {
namespace {

namespace fs = std::filesystem;

struct RecordingSink : IXExtractionSink {
  std::vector<std::u16string> opened;
  std::map<std::u16string, std::u16string> redirect;  // name -> path ("" skips)
  uint64_t lastDone = 0, lastTotal = 0;
  int code = -1;
  std::u16string lastName;
  std::u16string OpenFile(const std::u16string& name, const std::u16string& path) override {
    opened.push_back(name);
    auto found = redirect.find(name);
    return found == redirect.end() ? path : found->second;
  }
  void Progress(uint64_t done, uint64_t total) override { lastDone = done, lastTotal = total; }
  int answer = kAnswerAbort, retries = 0, asked = 0;
  int CantOpen(const std::u16string&) override {
    ++asked;
    return retries-- > 0 ? kAnswerRetry : answer;
  }
  void Completed(int result, const std::u16string& name) override {
    code = result, lastName = name;
  }
};

class Extraction : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("qorin-extract-" + std::to_string(::getpid()));
    fs::create_directories(dir_ / "payload/bin/deep");
    fs::create_directories(dir_ / "payload/empty");
    Write("payload/bin/app.exe", test::RandomData(70000));
    Write("payload/bin/deep/한국어.txt", test::Bytes("안녕"));
    Write("payload/zero.dat", {});
    Write("payload/readme.txt", test::TextData(3000));
    std::string command = "cd '" + (dir_ / "payload").string() +
                          "' && 7zz a -t7z -bd -bso0 -bsp0 '" + (dir_ / "p.7z").string() +
                          "' . >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << "7zz is needed";
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(dir_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  XExtractionJob Job() {
    return {Utf8ToUtf16((dir_ / "p.7z").string()), 0, -1,
            Utf8ToUtf16((dir_ / "out").string() + "/")};
  }
  fs::path dir_;
};

TEST_F(Extraction, WritesRedirectsSkipsAndMovesAside) {
  fs::create_directories(dir_ / "out");
  Write("out/readme.txt", test::Bytes("old"));
  RecordingSink sink;
  sink.redirect[u"zero.dat"] = u"";  // skipped, still counted
  sink.redirect[u"bin\\app.exe"] = Utf8ToUtf16((dir_ / "elsewhere/app.exe").string());
  EXPECT_EQ(ExtractPayload(Job(), sink), XEXTRACT_OK);
  EXPECT_EQ(sink.code, XEXTRACT_OK);
  EXPECT_EQ(sink.lastDone, sink.lastTotal);
  EXPECT_EQ(sink.lastTotal, 70000u + 6 + 3000);
  EXPECT_EQ(Read(dir_ / "elsewhere/app.exe"), Read(dir_ / "payload/bin/app.exe"));
  EXPECT_FALSE(fs::exists(dir_ / "out/bin/app.exe"));
  EXPECT_EQ(Read(dir_ / "out/bin/deep/한국어.txt"), "안녕");
  EXPECT_EQ(Read(dir_ / "out/readme.txt"), Read(dir_ / "payload/readme.txt"));
  EXPECT_FALSE(fs::exists(dir_ / "out/readme.txt.bak1")) << "the moved file is deleted at once";
  EXPECT_FALSE(fs::exists(dir_ / "out/zero.dat"));
  EXPECT_TRUE(fs::is_directory(dir_ / "out/empty"));
  auto seconds = [](const fs::path& path) {
    return std::chrono::floor<std::chrono::seconds>(fs::last_write_time(path).time_since_epoch());
  };
  EXPECT_EQ(seconds(dir_ / "out/readme.txt"), seconds(dir_ / "payload/readme.txt"))
      << "times kept (whole seconds)";
}

TEST_F(Extraction, FailuresEndWithTheirCodes) {
  RecordingSink broken;
  XExtractionJob job = Job();
  job.packagePath = Utf8ToUtf16((dir_ / "payload/readme.txt").string());
  EXPECT_EQ(ExtractPayload(job, broken), XEXTRACT_ERR_BROKEN_ARCHIVE);
  EXPECT_EQ(broken.lastName, u"");

  std::string bytes = Read(dir_ / "p.7z");
  bytes[40] ^= 0x55;  // inside the packed data
  Write("bad.7z", std::vector<uint8_t>(bytes.begin(), bytes.end()));
  RecordingSink corrupt;
  job.packagePath = Utf8ToUtf16((dir_ / "bad.7z").string());
  int code = ExtractPayload(job, corrupt);
  EXPECT_GT(code, XEXTRACT_ERR_DECODER) << "257 data error or 259 CRC error";
  EXPECT_EQ(corrupt.code, code);

  fs::create_directories(dir_ / "out");
  RecordingSink blocked;
  blocked.redirect[u"readme.txt"] = Utf8ToUtf16((dir_ / "payload").string());  // a folder
  EXPECT_EQ(ExtractPayload(Job(), blocked), XEXTRACT_ERR_OPEN_FILE) << "Abort";
  EXPECT_EQ(blocked.lastName, u"readme.txt");

  EXPECT_EQ(std::u16string(ExtractionErrorKey(XEXTRACT_ERR_CRC)), u"ERR_CRC_ERROR");
  EXPECT_EQ(ExtractionErrorKey(257), nullptr);
}

// A file the new one cannot replace comes back whatever the answer; a folder of the payload
// that is a link inside the installation folder is not written through.
TEST_F(Extraction, KeepsTheUsersFileAndItsFolder) {
  struct RefusingCreate : test::FakeSystem {
    std::u16string refused;
    Handle CreateForWriting(const std::u16string& path) override {
      return path == refused ? kNoFile : real.CreateForWriting(path);
    }
  } files;
  fs::create_directories(dir_ / "out");
  Write("out/readme.txt", test::Bytes("old"));
  files.refused = Job().installFolder + u"readme.txt";
  for (int answer : {kAnswerAbort, kAnswerIgnore}) {
    RecordingSink sink;
    sink.answer = answer;
    sink.retries = 2;
    int code = ExtractPayload(Job(), sink, files);
    EXPECT_EQ(sink.asked, 3) << "asked again after each Retry";
    EXPECT_EQ(code, answer == kAnswerAbort ? XEXTRACT_ERR_OPEN_FILE : XEXTRACT_OK);
    EXPECT_EQ(Read(dir_ / "out/readme.txt"), "old") << answer;
    EXPECT_FALSE(fs::exists(dir_ / "out/readme.txt.bak1"));
  }
  fs::remove_all(dir_ / "out");
  fs::create_directories(dir_ / "out");
  fs::create_directories(dir_ / "outside");
  fs::create_directory_symlink(dir_ / "outside", dir_ / "out/bin");
  RecordingSink linked;
  EXPECT_EQ(ExtractPayload(Job(), linked), XEXTRACT_ERR_OPEN_FILE);
  EXPECT_TRUE(fs::is_empty(dir_ / "outside")) << "nothing written through the link";
}

// One solid block per file: each block is decoded ahead while the one before is written; a
// block that fails to decode ends the extraction only when its turn comes.
TEST_F(Extraction, BlocksDecodedAheadInTurn) {
  fs::create_directories(dir_ / "blocks");
  Write("blocks/a.txt", test::TextData(5000));
  Write("blocks/b.txt", test::TextData(7000));
  Write("blocks/z.txt", test::RandomData(70000));  // the last block, nearly all the packed bytes
  std::string command = "cd '" + (dir_ / "blocks").string() +
                        "' && 7zz a -t7z -ms=1f -bd -bso0 -bsp0 '" + (dir_ / "blocks.7z").string() +
                        "' . >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  XExtractionJob job = Job();
  job.packagePath = Utf8ToUtf16((dir_ / "blocks.7z").string());
  RecordingSink sink;
  EXPECT_EQ(ExtractPayload(job, sink), XEXTRACT_OK);
  for (const char* name : {"a.txt", "b.txt", "z.txt"})
    EXPECT_EQ(Read(dir_ / "out" / name), Read(dir_ / "blocks" / name)) << name;

  std::string bytes = Read(dir_ / "blocks.7z");
  uint64_t packed = 0;  // the start header's offset of the header, after the packed streams
  for (int i = 7; i >= 0; --i) packed = packed << 8 | static_cast<uint8_t>(bytes[12 + i]);
  bytes[32 + packed / 2] ^= 0x55;  // inside z.txt's block
  Write("late.7z", std::vector<uint8_t>(bytes.begin(), bytes.end()));
  fs::remove_all(dir_ / "out");
  job.packagePath = Utf8ToUtf16((dir_ / "late.7z").string());
  RecordingSink late;
  EXPECT_GT(ExtractPayload(job, late), XEXTRACT_ERR_DECODER);
  EXPECT_EQ(late.lastName, u"z.txt");
  EXPECT_TRUE(fs::exists(dir_ / "out/a.txt") && fs::exists(dir_ / "out/b.txt"))
      << "the blocks before the broken one were written";
}

TEST(ExtractionNames, OnlyNamesInsideTheFolder) {
  for (const char16_t* good : {u"a.txt", u"bin\\app.exe", u"a..b\\c", u"...\\x"})
    EXPECT_TRUE(IsSafeEntryName(good)) << Utf16ToUtf8(good);
  for (const char16_t* bad : {u"..\\evil", u"a\\..\\..\\evil", u"\\windows\\x", u"C:\\x", u"c:x",
                              u"/etc/x", u"a\\..", u""})
    EXPECT_FALSE(IsSafeEntryName(bad)) << Utf16ToUtf8(bad);
}

}  // namespace
}  // namespace qorin
