// The ZIP reader on archives from our writer, Python's zipfile and 7zz, and every error code
// from crafted archives.
#include "zip_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "crc32.h"
#include "package_writer.h"
#include "test_data.h"

namespace qorin {
namespace {

namespace fs = std::filesystem;
using pack::DataFile;

std::vector<uint8_t> MakeZip(const std::vector<DataFile>& files) {
  return pack::WriteZip(files, 1700000000);
}

std::string Extract(XZipReader& zip, const char16_t* name) {
  int index = zip.FindEntry(name);
  if (index < 0) return "<missing>";
  XByteBuffer buffer;
  if (!zip.ExtractToMemory(index, &buffer))
    return "<error " + std::to_string(zip.LastError()) + ">";
  return std::string(buffer.view());
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
void SetLe16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void SetLe32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  SetLe16(b, at, v & 0xFFFF);
  SetLe16(b, at + 2, static_cast<uint16_t>(v >> 16));
}
size_t CentralOffset(const std::vector<uint8_t>& zip) {
  return Le32(zip, zip.size() - 22 + 16);
}

TEST(ZipLookup, NamesFoldCaseAndUseBackslash) {
  std::vector<uint8_t> bytes = MakeZip({{"Lang/English.ini", test::Bytes("en")},
                                        {"lang/english.INI", test::Bytes("second")},
                                        {"skin.xml", test::Bytes("<XSkin/>")}});
  XZipReader zip;
  ASSERT_TRUE(zip.OpenMemory(bytes.data(), bytes.size()));
  EXPECT_EQ(zip.EntryCount(), 3);
  EXPECT_EQ(zip.GetEntry(0)->name, "Lang\\English.ini");
  EXPECT_EQ(Extract(zip, u"LANG\\ENGLISH.INI"), "en") << "the first of equal names wins";
  EXPECT_EQ(zip.FindEntry(u"Lang/English.ini"), -1) << "entry names hold backslashes";
  EXPECT_EQ(zip.FindEntry(u"Other\\English.ini"), -1);
  EXPECT_EQ(Extract(zip, u"SKIN.xml"), "<XSkin/>");
  EXPECT_EQ(zip.GetEntry(3), nullptr);
  EXPECT_EQ(zip.LastError(), XZIP_ERR_NO_ENTRY);
}

TEST(ZipExtract, StoredAndDeflateGiveTheSameBytes) {
  std::vector<uint8_t> text = test::TextData(200000);
  std::vector<uint8_t> random = test::RandomData(70000);
  std::vector<uint8_t> bytes = MakeZip({{"text", text}, {"random", random}, {"empty", {}}});
  XZipReader zip;
  ASSERT_TRUE(zip.OpenMemory(bytes.data(), bytes.size()));
  EXPECT_EQ(zip.GetEntry(0)->method, 8);
  EXPECT_EQ(zip.GetEntry(1)->method, 0) << "random data is stored";
  XByteBuffer out;
  ASSERT_TRUE(zip.ExtractToMemory(0, &out));
  EXPECT_EQ(std::vector<uint8_t>(out.data(), out.data() + out.length), text);
  EXPECT_EQ(out.storage.size(), text.size() + 2);
  EXPECT_EQ(out.storage[text.size()], 0);
  EXPECT_EQ(out.storage[text.size() + 1], 0);
  ASSERT_TRUE(zip.ExtractToMemory(1, &out));
  EXPECT_EQ(std::vector<uint8_t>(out.data(), out.data() + out.length), random);
  ASSERT_TRUE(zip.ExtractToMemory(2, &out));
  EXPECT_EQ(out.length, 0u);
  EXPECT_EQ(out.storage, (std::vector<uint8_t>{0, 0}));
}

TEST(ZipExtract, ChangedByteInEitherMethodFails) {
  for (bool compressible : {true, false}) {
    std::vector<uint8_t> content = compressible ? test::TextData(5000) : test::RandomData(5000);
    std::vector<uint8_t> bytes = MakeZip({{"f", content}});
    XZipReader zip;
    // Change the last data byte, just before the central directory.
    bytes[CentralOffset(bytes) - 1] ^= 0x01;
    ASSERT_TRUE(zip.OpenMemory(bytes.data(), bytes.size()));
    XByteBuffer out;
    EXPECT_FALSE(zip.ExtractToMemory(0, &out));
    // Stored data must fail its CRC; changed Deflate data may also decode to another length.
    int error = zip.LastError();
    EXPECT_TRUE(error == XZIP_ERR_CRC ||
                (compressible && (error == XZIP_ERR_CORRUPT || error == XZIP_ERR_TOO_MUCH_DATA)))
        << error;
  }
}

TEST(ZipDirectory, FoldersAreNotListed) {
  std::vector<uint8_t> bytes = MakeZip({{"dir/", {}}, {"dir/file", test::Bytes("x")}});
  SetLe32(bytes, CentralOffset(bytes) + 38, 0x10);
  XZipReader zip;
  ASSERT_TRUE(zip.OpenMemory(bytes.data(), bytes.size()));
  EXPECT_EQ(zip.EntryCount(), 1);
  EXPECT_EQ(Extract(zip, u"dir\\file"), "x");
}

struct Corruption {
  const char* name;
  void (*apply)(std::vector<uint8_t>&);
  bool atOpen;
  int error;
};

TEST(ZipErrors, EachCodeFromCraftedArchive) {
  const Corruption cases[] = {
      {"empty source", [](std::vector<uint8_t>& b) { b.clear(); }, true, XZIP_ERR_OPEN},
      {"not a local header first", [](std::vector<uint8_t>& b) { b[0] = 'X'; }, true,
       XZIP_ERR_NOT_ZIP},
      {"archive comment",
       [](std::vector<uint8_t>& b) {
         SetLe16(b, b.size() - 2, 3), b.insert(b.end(), {'a', 'b', 'c'});
       },
       true, XZIP_ERR_NOT_ZIP},
      {"shorter than an end record", [](std::vector<uint8_t>& b) { b.resize(10); }, true,
       XZIP_ERR_TRUNCATED},
      {"unknown signature in the directory",
       [](std::vector<uint8_t>& b) { b[CentralOffset(b)] = 'X'; }, true, XZIP_ERR_BAD_DIRECTORY},
      {"short central header",
       [](std::vector<uint8_t>& b) {
         SetLe32(b, b.size() - 6, static_cast<uint32_t>(b.size() - 30));
       },
       true, XZIP_ERR_BAD_DIRECTORY},
      {"method 12", [](std::vector<uint8_t>& b) { SetLe16(b, CentralOffset(b) + 10, 12); }, true,
       XZIP_ERR_UNSUPPORTED},
      {"encrypted", [](std::vector<uint8_t>& b) { SetLe16(b, CentralOffset(b) + 8, 1); }, true,
       XZIP_ERR_UNSUPPORTED},
      {"local header without signature",
       [](std::vector<uint8_t>& b) { b[0] = 'P', b[CentralOffset(b) + 42] = 1; }, false,
       XZIP_ERR_BAD_DIRECTORY},
      {"local header beyond the end",
       [](std::vector<uint8_t>& b) { SetLe32(b, CentralOffset(b) + 42, 0x7FFFFFF0); }, false,
       XZIP_ERR_TRUNCATED},
      {"corrupt deflate data", [](std::vector<uint8_t>& b) { b[30 + 1] = 0xFF; }, false,
       XZIP_ERR_CORRUPT},
      {"wrong CRC", [](std::vector<uint8_t>& b) { b[CentralOffset(b) + 16] ^= 1; }, false,
       XZIP_ERR_CRC},
      {"more data than the size",
       [](std::vector<uint8_t>& b) { SetLe32(b, CentralOffset(b) + 24, 100); }, false,
       XZIP_ERR_TOO_MUCH_DATA},
      {"less data than the size",
       [](std::vector<uint8_t>& b) { SetLe32(b, CentralOffset(b) + 24, 3000); }, false,
       XZIP_ERR_CORRUPT},
      {"compressed size beyond the archive",
       [](std::vector<uint8_t>& b) { SetLe32(b, CentralOffset(b) + 20, 0x7FFFFFFF); }, false,
       XZIP_ERR_TRUNCATED},
      {"absurd uncompressed size",
       [](std::vector<uint8_t>& b) { SetLe32(b, CentralOffset(b) + 24, 0xFFFFFFF0); }, false,
       XZIP_ERR_CORRUPT},
  };
  for (const Corruption& c : cases) {
    std::vector<uint8_t> bytes = MakeZip({{"a", test::TextData(2000)}});
    c.apply(bytes);
    XZipReader zip;
    bool opened = zip.OpenMemory(bytes.data(), bytes.size());
    if (c.atOpen) {
      EXPECT_FALSE(opened) << c.name;
      EXPECT_EQ(zip.LastError(), c.error) << c.name;
      EXPECT_EQ(zip.EntryCount(), 0) << c.name;
      continue;
    }
    ASSERT_TRUE(opened) << c.name;
    XByteBuffer out;
    EXPECT_FALSE(zip.ExtractToMemory(0, &out)) << c.name;
    EXPECT_EQ(zip.LastError(), c.error) << c.name;
  }
}

TEST(ZipErrors, SizesBeyondMemoryFailWithoutAllocating) {
  // 4.2 MB of Deflate data could claim 4 GiB by the ratio: the buffer (size + 2) must not wrap
  // in a 32-bit process.
  std::vector<uint8_t> bytes = MakeZip({{"a", test::RandomData(4200000)}});
  SetLe16(bytes, 8, 8);
  SetLe16(bytes, CentralOffset(bytes) + 10, 8);
  for (uint32_t size : {0xFFFFFFFFu, 0xFFFFFFFEu, XZipReader::kMaxEntrySize + 1}) {
    SetLe32(bytes, CentralOffset(bytes) + 24, size);
    XZipReader zip;
    ASSERT_TRUE(zip.OpenMemory(bytes.data(), bytes.size()));
    XByteBuffer out;
    EXPECT_FALSE(zip.ExtractToMemory(0, &out)) << size;
    EXPECT_EQ(zip.LastError(), XZIP_ERR_NO_BUFFER) << size;
  }
}

TEST(ZipErrors, ReaderStaysUsableAfterAFailedEntry) {
  std::vector<uint8_t> bytes =
      MakeZip({{"bad", test::TextData(3000)}, {"good", test::Bytes("fine")}});
  bytes[CentralOffset(bytes) + 16] ^= 1;  // CRC of the first entry
  XZipReader zip;
  ASSERT_TRUE(zip.OpenMemory(bytes.data(), bytes.size()));
  EXPECT_EQ(Extract(zip, u"bad"), "<error 10>");
  EXPECT_EQ(Extract(zip, u"good"), "fine");
}

// Archives made by other tools, read through the file stream.
class ForeignZip : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("qorin-zip-" + std::to_string(::getpid()));
    fs::create_directories(dir_ / "in" / "folder");
    Write("in/folder/text.txt", test::TextData(100000));
    Write("in/random.bin", test::RandomData(40000));
    Write("in/empty", {});
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(dir_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  void ExpectSameAsInput(const fs::path& archive) {
    XZipReader zip;
    ASSERT_TRUE(zip.OpenFile(archive.u16string())) << zip.LastError();
    for (const char* name : {"folder/text.txt", "random.bin", "empty"}) {
      std::string key(name);
      std::replace(key.begin(), key.end(), '/', '\\');
      std::ifstream in(dir_ / "in" / name, std::ios::binary);
      std::string expected((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      EXPECT_EQ(Extract(zip, std::u16string(key.begin(), key.end()).c_str()), expected) << name;
    }
  }
  fs::path dir_;
};

TEST_F(ForeignZip, PythonZipfile) {
  std::string command = "cd '" + (dir_ / "in").string() +
                        "' && python3 -c \"import zipfile,os\n"
                        "z=zipfile.ZipFile('../py.zip','w',zipfile.ZIP_DEFLATED)\n"
                        "[z.write(os.path.join(r,f)[2:]) for r,d,fs in os.walk('.') for f in fs]\n"
                        "z.write('folder')\nz.close()\"";
  ASSERT_EQ(std::system(command.c_str()), 0);
  ExpectSameAsInput(dir_ / "py.zip");
}

TEST_F(ForeignZip, SevenZipTool) {
  std::string command =
      "cd '" + (dir_ / "in").string() + "' && 7zz a -tzip -bso0 -bsp0 ../7z.zip . >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  ExpectSameAsInput(dir_ / "7z.zip");
}

}  // namespace
}  // namespace qorin
