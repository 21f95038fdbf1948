// The start-up decisions with the system calls replaced: elevation refused or granted, COM
// failing, and the log lines and exit codes of each path. Also the temporary-copy name rule.
#include <gtest/gtest.h>

#include "elevation.h"
#include "process_entry.h"
#include "receiver_window.h"

namespace qorin {
namespace {

using test::ReceiverWindow;

struct FakeHost : IXStartupHost {
  bool com = true, elevated = true, runasSucceeds = true;
  unsigned long runasError = 1223;  // ERROR_CANCELLED: the user said no
  int installerExit = 0;
  std::vector<std::wstring> calls;

  bool InitialiseCom() override { return calls.push_back(L"com"), com; }
  void UninitialiseCom() override { calls.push_back(L"uncom"); }
  bool IsElevated() override { return elevated; }
  bool RunElevated(const std::wstring& commandLine, unsigned long* error) override {
    calls.push_back(L"runas:" + commandLine);
    *error = runasError;
    return runasSucceeds;
  }
  int RunInstaller(const std::wstring& commandLine) override {
    calls.push_back(L"installer:" + commandLine);
    return installerExit;
  }
};

TEST(Startup, ElevatedRunsTheInstallerAndReturnsItsCode) {
  ReceiverWindow log;
  FakeHost host;
  host.installerExit = 7;
  EXPECT_EQ(RunStartup(host, L" /S "), 7);
  EXPECT_EQ(host.calls, (std::vector<std::wstring>{L"com", L"installer: /S ", L"uncom"}));
  EXPECT_EQ(log.Texts(),
            (std::vector<std::wstring>{L"pelra-start", L"pelra-(IsElevated2() == TRUE )",
                                       L"pelra exit : 7"}));
}

TEST(Startup, NotElevatedRelaunchesWithTheUntrimmedLineAndEnds) {
  ReceiverWindow log;
  FakeHost host;
  host.elevated = false;
  host.installerExit = 5;
  EXPECT_EQ(RunStartup(host, L"  /S  "), 0) << "whatever the elevated process returns later";
  EXPECT_EQ(host.calls, (std::vector<std::wstring>{L"com", L"runas:  /S  ", L"uncom"}));
  EXPECT_EQ(log.Texts(),
            (std::vector<std::wstring>{L"pelra-start", L"pelra-(IsElevated2() == FALSE )",
                                       L"pelra exit : 0"}));
}

TEST(Startup, RefusedElevationRunsTheInstallerUnelevated) {
  ReceiverWindow log;
  FakeHost host;
  host.elevated = false;
  host.runasSucceeds = false;
  host.installerExit = 3;
  EXPECT_EQ(RunStartup(host, L"/x"), 3);
  EXPECT_EQ(host.calls,
            (std::vector<std::wstring>{L"com", L"runas:/x", L"installer:/x", L"uncom"}));
  EXPECT_EQ(log.Texts(), (std::vector<std::wstring>{
                             L"pelra-start", L"pelra-(IsElevated2() == FALSE )",
                             L"pelra-(RunElevated() == FALSE ), err=1223", L"pelra exit : 3"}));
}

TEST(Startup, ComFailureEndsWith99AndNoLog) {
  ReceiverWindow log;
  FakeHost host;
  host.com = false;
  EXPECT_EQ(RunStartup(host, L""), kExitCoInitializeFailed);
  EXPECT_EQ(host.calls, std::vector<std::wstring>{L"com"});
  EXPECT_TRUE(log.Texts().empty());
}

TEST(Startup, TemporaryCopyIsRecognisedInAnyCase) {
  EXPECT_TRUE(IsTempCopyPath(L"C:\\Temp\\Demo~qorin~temp~.exe"));
  EXPECT_TRUE(IsTempCopyPath(L"C:\\TEMP\\DEMO~QORIN~TEMP~.EXE"));
  EXPECT_FALSE(IsTempCopyPath(L"C:\\Temp\\Demo~qorin~temp.exe"));
  EXPECT_FALSE(IsRunningAsTempCopy()) << "the test program is no temporary copy";
}

TEST(Startup, ThisProcessIsTreatedAsElevatedUnderWine) {
  EXPECT_TRUE(IsElevated2());
}

}  // namespace
}  // namespace qorin
