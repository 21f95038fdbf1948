// The process, file, system and network natives against fakes of Windows: what they decide and
// the log lines they write.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "fake_system.h"
#include "file_removal.h"
#include "http_rules.h"
#include "system_rules.h"
#include "version_check.h"

namespace qorin {
namespace {

bool Matches(std::u16string_view pattern, std::u16string_view name) {
  if (pattern.empty()) return name.empty();
  if (pattern[0] == u'*') {
    for (size_t skip = 0; skip <= name.size(); ++skip)
      if (Matches(pattern.substr(1), name.substr(skip))) return true;
    return false;
  }
  return !name.empty() && (pattern[0] == u'?' || pattern[0] == name[0]) &&
         Matches(pattern.substr(1), name.substr(1));
}

// A file system of paths: attributes per path; "locked" files refuse deletion. A junction lists
// the files of its target; deleting one of them is recorded as following it.
struct FakeFiles : test::ForwardingFiles {
  std::map<std::u16string, uint32_t> entries;  // path -> attributes
  std::set<std::u16string> locked, calls, followed;
  std::vector<std::u16string> created;
  uint32_t error = 0;
  static constexpr uint32_t kReadOnly = 1, kReparse = 0x400;

  bool Fail(uint32_t code) {
    error = code;
    return false;
  }
  bool HasChildren(const std::u16string& folder) {
    auto next = entries.upper_bound(folder + u"\\");
    return next != entries.end() && next->first.starts_with(folder + u"\\");
  }
  bool Remove(const std::u16string& path) override {
    if (path.find(u"\\link\\") != std::u16string::npos) followed.insert(path);
    auto it = entries.find(path);
    if (it == entries.end() || (it->second & kAttributeFolder)) return Fail(2);
    if ((it->second & kReadOnly) || locked.count(path)) return Fail(kErrorAccessDenied);
    entries.erase(it);
    return true;
  }
  bool Rename(const std::u16string& from, const std::u16string& to) override {
    calls.insert(u"move " + to);
    if (!entries.count(from) || entries.count(to)) return Fail(183);
    entries[to] = entries[from];
    entries.erase(from);
    return true;
  }
  bool Copy(const std::u16string&, const std::u16string&) override { return false; }
  bool RemoveFolder(const std::u16string& path) override {
    if (!entries.count(path) || HasChildren(path) || locked.count(path)) return Fail(145);
    entries.erase(path);
    return true;
  }
  bool CreateFolder(const std::u16string& path) override {
    created.push_back(path);
    return entries.emplace(path, kAttributeFolder).second;
  }
  std::optional<uint32_t> Attributes(const std::u16string& path) override {
    auto it = entries.find(path);
    if (it != entries.end()) return it->second;
    error = kErrorPathNotFound;
    return std::nullopt;
  }
  bool SetAttributes(const std::u16string& path, uint32_t attributes) override {
    entries[path] = attributes;
    return true;
  }
  std::vector<XFoundEntry> Find(const std::u16string& pattern) override {
    std::u16string folder = pattern.substr(0, pattern.rfind(u'\\'));
    std::vector<XFoundEntry> found{{u".", true}, {u"..", true}};
    if (entries.count(folder) && (entries[folder] & kReparse)) found.push_back({u"target.txt"});
    for (auto it = entries.lower_bound(folder + u"\\"); it != entries.end(); ++it) {
      auto& [path, attributes] = *it;
      if (!path.starts_with(folder + u"\\")) break;
      std::u16string name = path.substr(folder.size() + 1);
      if (name.find(u'\\') == std::u16string::npos &&
          Matches(pattern.substr(folder.size() + 1), name))
        found.push_back({name, (attributes & kAttributeFolder) != 0, (attributes & kReparse) != 0});
    }
    return found;
  }
  std::u16string TempFolder() override { return u"T:\\"; }
  std::u16string TempFileName(const std::u16string& folder, const std::u16string& prefix) override {
    entries[folder + prefix + u"1"] = 0;
    return folder + prefix + u"1";
  }
  std::u16string Canonicalize(const std::u16string& path) override { return path; }
  uint32_t LastError() override { return error; }
};

TEST(SystemRules, VersionClassesPlatformsAndAccounts) {
  struct Case {
    XOsVersion version;
    int cls;
  } cases[] = {{{true, 5, 0, 4, 1}, 1},  {{true, 5, 1, 0, 1}, 2},   {{true, 5, 1, 3, 1}, 5},
               {{true, 5, 1, 4, 1}, 2},  {{true, 5, 2, 0, 3}, 6},   {{true, 6, 0, 2, 1}, 9},
               {{true, 6, 0, 0, 3}, 10}, {{true, 6, 1, 1, 1}, 12},  {{true, 6, 1, 1, 2}, 13},
               {{true, 6, 3, 0, 1}, 15}, {{true, 10, 0, 0, 1}, 17}, {{false, 10, 0, 0, 1}, 18},
               {{true, 11, 0, 0, 1}, 18}};
  for (const Case& c : cases)
    EXPECT_EQ(WindowsVersionClass(c.version), c.cls) << c.version.major << "." << c.version.minor;
  EXPECT_EQ(WindowsVersionClass(std::nullopt), 18);

  EXPECT_EQ(PlatformName(0xAA64, 12), u"ARM64");
  EXPECT_EQ(PlatformName(0x14C, 9), u"x86") << "the native machine wins";
  EXPECT_EQ(PlatformName(0x1C4, 9), u"x64") << "an unknown machine asks the architecture";
  EXPECT_EQ(PlatformName(std::nullopt, std::nullopt), u"x86");

  EXPECT_EQ(AccountTypeName(kGroupUsers | kGroupAdministrators), u"Admin");
  EXPECT_EQ(AccountTypeName(kGroupUsers | kGroupGuests), u"Guest");
  EXPECT_EQ(AccountTypeName(0u), u"");
  EXPECT_EQ(AccountTypeName(std::nullopt), u"");

  EXPECT_EQ(ExecCommandLine(u"C:\\a b\\x.exe", u""), u"\"C:\\a b\\x.exe\" ");
  EXPECT_EQ(ExtendedLengthPath(u"C:\\x"), u"\\\\?\\C:\\x");
  EXPECT_EQ(ExtendedLengthPath(u"\\\\srv\\share\\x"), u"\\\\?\\UNC\\srv\\share\\x");
  EXPECT_EQ(ExtendedLengthPath(u"\\\\?\\C:\\x"), u"\\\\?\\C:\\x");
}

TEST(FileRules, TreeDeletionNeverFollowsJunctions) {
  FakeFiles f;
  std::u16string deep = u"C:\\app";
  f.entries[deep] = kAttributeFolder;
  for (int i = 0; i < 300; ++i) {
    deep += u"\\d";
    f.entries[deep] = kAttributeFolder;
  }
  f.entries[deep + u"\\readonly.txt"] = FakeFiles::kReadOnly;
  f.entries[u"C:\\app\\link"] = kAttributeFolder | FakeFiles::kReparse;
  f.entries[u"C:\\app\\sub"] = kAttributeFolder;
  f.entries[u"C:\\keep"] = kAttributeFolder;
  f.locked.insert(u"C:\\app\\sub");
  EXPECT_FALSE(DeleteTree(f, u"C:\\app")) << "an undeletable folder keeps its parent";
  EXPECT_EQ(f.entries.count(u"C:\\app\\d"), 0u) << "300 levels, read-only file included";
  EXPECT_TRUE(f.followed.empty()) << "the junction is removed, its target left alone";
  f.locked.clear();
  EXPECT_TRUE(DeleteTree(f, u"C:\\app"));
  EXPECT_EQ(f.entries.size(), 1u);
  f.entries[u"C:\\link"] = kAttributeFolder | FakeFiles::kReparse;  // lists "target.txt"
  EXPECT_TRUE(DeleteTree(f, u"C:\\link")) << "a folder that is itself a link: the link goes";
  EXPECT_TRUE(f.followed.empty() && f.entries.count(u"C:\\link") == 0);
}

TEST(FileRules, WildcardsMovingAsideDiggingAndLongPaths) {
  FakeFiles f;
  f.entries = {{u"C:\\a", kAttributeFolder},
               {u"C:\\a\\x.log", 0},
               {u"C:\\a\\y.log", 0},
               {u"C:\\a\\z.log", kAttributeFolder},
               {u"C:\\a\\keep.txt", 0}};
  EXPECT_TRUE(DeleteMatching(f, u"C:\\a\\?.log"));
  EXPECT_EQ(f.entries.size(), 3u) << "\"?\" is a pattern too; folders are left";
  EXPECT_TRUE(DeleteMatching(f, u"C:\\a\\*.none"));
  EXPECT_FALSE(DeleteMatching(f, u"C:\\a\\missing.txt"));

  f.locked = {u"C:\\a\\keep.txt"};
  EXPECT_TRUE(DeleteOrMove(f, u"C:\\a\\keep.txt"));
  EXPECT_EQ(f.entries.count(u"T:\\keep.txt"), 1u);
  f.entries[u"C:\\a\\keep.txt"] = 0;
  f.locked = {u"C:\\a\\keep.txt"};
  EXPECT_TRUE(DeleteOrMove(f, u"C:\\a\\keep.txt")) << "a name already taken: a fresh one";
  EXPECT_EQ(f.entries.count(u"T:\\tmp.1"), 1u);

  DigPath(f, u"C:\\a\\b\\c");
  EXPECT_EQ(f.created, (std::vector<std::u16string>{u"C:\\a", u"C:\\a\\b", u"C:\\a\\b\\c"}));
  f.created.clear();
  DigPath(f, u"C:\\a");
  EXPECT_TRUE(f.created.empty()) << "an existing folder";

  std::u16string longPath = u"C:\\" + std::u16string(270, u'x');
  f.entries[ExtendedLengthPath(longPath)] = 0;
  EXPECT_TRUE(IsFileAt(f, longPath));
  EXPECT_FALSE(IsFileAt(f, u"C:\\a")) << "a folder";
}

TEST(HttpRules, UrlsStatusesAndVersionAnswers) {
  EXPECT_EQ(EncodeUrl(u"http://h/a b?n=\u00e9\t"), "http://h/a%20b?n=%C3%A9%09");
  EXPECT_EQ(StatusError(204), XHTTP_ERR_NONE);
  EXPECT_EQ(StatusError(301), XHTTP_ERR_STATUS_3XX);
  EXPECT_EQ(StatusError(404), XHTTP_ERR_STATUS_4XX);
  EXPECT_EQ(StatusError(600), XHTTP_ERR_STATUS_OTHER);
  EXPECT_EQ(ErrorReportUrl(u"https://e", u"qorin", 2026, 3, 7, u"20200106", u"s.exe; bad x"),
            u"https://e/error/app.php?name=qorin&buildDate=20260307&version=20200106"
            u"&log=s.exe; bad x");

  XVersionCheck check{u"http://h/v.ini", u"Version", u"Build", 120};
  std::string ini = "[version]\r\nbuild=135\r\n";
  EXPECT_EQ(VersionCheckAnswer(check, {ini.begin(), ini.end()}), u"OnCheckVersion(135, 120);");
  ini = "[Version]\r\nOther=1\r\n";
  EXPECT_FALSE(VersionCheckAnswer(check, {ini.begin(), ini.end()})) << "no number, no call";
  EXPECT_FALSE(VersionCheckAnswer(check, {}));
}

}  // namespace
}  // namespace qorin
