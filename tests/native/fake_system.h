// An installer system for tests: records message boxes and console lines, answers the UI
// language, environment and file-listing questions from its fields; everything else about files
// goes to the real file system.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "installer_system.h"

namespace qorin::test {

// Files as the system has them: every call goes to the real file access; fakes derive from it
// and answer some calls themselves.
struct ForwardingFiles : IXFileAccess {
  Handle OpenForReading(const std::u16string& path) override { return real.OpenForReading(path); }
  Handle CreateForWriting(const std::u16string& path) override {
    return real.CreateForWriting(path);
  }
  bool Read(Handle file, void* buffer, uint32_t length, uint32_t* bytesRead) override {
    return real.Read(file, buffer, length, bytesRead);
  }
  bool Write(Handle file, const void* buffer, uint32_t length) override {
    return real.Write(file, buffer, length);
  }
  int64_t SeekTo(Handle file, int64_t position) override { return real.SeekTo(file, position); }
  int64_t Size(Handle file) override { return real.Size(file); }
  bool SetLastWriteTime(Handle file, int64_t unixSeconds) override {
    return real.SetLastWriteTime(file, unixSeconds);
  }
  void Close(Handle file) override { real.Close(file); }
  bool FileExists(const std::u16string& path) override { return real.FileExists(path); }
  std::u16string FullPathName(const std::u16string& path) override {
    return real.FullPathName(path);
  }
  std::u16string Canonicalize(const std::u16string& path) override {
    return real.Canonicalize(path);
  }
  std::vector<std::u16string> ListFiles(const std::u16string& folder,
                                        std::u16string_view pattern) override {
    return real.ListFiles(folder, pattern);
  }
  std::vector<XFoundEntry> Find(const std::u16string& pattern) override {
    return real.Find(pattern);
  }
  bool MakeFolders(const std::u16string& path) override { return real.MakeFolders(path); }
  bool CreateFolder(const std::u16string& path) override { return real.CreateFolder(path); }
  bool RemoveFolder(const std::u16string& path) override { return real.RemoveFolder(path); }
  bool Rename(const std::u16string& from, const std::u16string& to) override {
    return real.Rename(from, to);
  }
  bool Copy(const std::u16string& from, const std::u16string& to) override {
    return real.Copy(from, to);
  }
  bool Remove(const std::u16string& path) override { return real.Remove(path); }
  std::optional<uint32_t> Attributes(const std::u16string& path) override {
    return real.Attributes(path);
  }
  bool SetAttributes(const std::u16string& path, uint32_t attributes) override {
    return real.SetAttributes(path, attributes);
  }
  bool IsLink(const std::u16string& path) override { return real.IsLink(path); }
  std::u16string TempFolder() override { return real.TempFolder(); }
  std::u16string TempFileName(const std::u16string& folder, const std::u16string& prefix) override {
    return real.TempFileName(folder, prefix);
  }
  uint32_t LastError() override { return real.LastError(); }

  IXFileAccess& real = SystemFileAccess();
};

struct FakeSystem : IXMessageBox, IXConsole, IXEnvironment, ForwardingFiles {
  struct Box {
    std::u16string text, caption;
    unsigned style;
  };
  std::vector<Box> boxes;
  std::vector<std::u16string> console;
  uint16_t uiLanguage = 0x0409;
  std::map<std::u16string, std::u16string> environment;
  std::u16string programFiles = u"C:\\Program Files";
  std::map<std::u16string, std::vector<std::u16string>> folders;  // folder -> file names

  operator XInstallerSystem() { return {*this, *this, *this, *this}; }

  int ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                     unsigned style) override {
    boxes.push_back({std::u16string(text), std::u16string(caption), style});
    return 1;  // IDOK
  }
  void ScriptConsoleLog(std::u16string_view text) override { console.emplace_back(text); }
  uint16_t UserDefaultUILanguage() override { return uiLanguage; }
  std::u16string GetEnvironment(std::u16string_view name) override {
    auto it = environment.find(std::u16string(name));
    return it == environment.end() ? u"" : it->second;
  }
  std::u16string ProgramFilesDir() override { return programFiles; }

  std::vector<std::u16string> ListFiles(const std::u16string& folder,
                                        std::u16string_view pattern) override;
  std::u16string FullPathName(const std::u16string& path) override { return path; }
};

}  // namespace qorin::test
