// Launching through the shell: a real program started with its parameters
// and working directory, from a launch thread as the dock does it.
#include <windows.h>

#include "TestSupport.h"
#include "win32/Win32.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <cstring>
#include <thread>
#include <vector>

namespace
{

using pw::win32::test::TempDir;

// Long enough for any machine to start a small program; the wait ends as
// soon as the program reports.
constexpr DWORD kStartLimitMs = 60000;

std::vector<std::wstring> lines(const std::string& utf16)
{
    std::wstring text(utf16.size() / 2, L'\0');
    std::memcpy(text.data(), utf16.data(), text.size() * 2);
    std::vector<std::wstring> out;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
        out.push_back(text.substr(start, end - start));
    return out;
}

std::wstring withSlashes(std::wstring path)
{
    for (wchar_t& c : path) {
        if (c == L'\\')
            c = L'/';
    }
    return path;
}

// The probe program, copied into a directory whose name has a space and
// Japanese letters, and an event it signals once it has written its report.
class Launch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        program = dir.file(L"プローブ.exe");
        const std::wstring built = pw::win32::test::programDirectory() + L"\\pw_win32_probe.exe";
        ASSERT_TRUE(CopyFileW(built.c_str(), program.c_str(), TRUE));
        eventName = L"pw-launch-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(++serial);
        done = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
        ASSERT_NE(done, nullptr);
    }

    void TearDown() override { CloseHandle(done); }

    // The probe's parameter string: the event, the report file (a path with a
    // space, so it must arrive as one argument) and then extra.
    std::wstring params(const std::wstring& extra) const
    {
        return eventName + L" \"" + report() + L"\" " + extra;
    }
    std::wstring report() const { return dir.file(L"report file.txt"); }

    // Launches on a thread of its own, as the dock does, and waits for the
    // probe's report: its working directory, then its command line's
    // arguments, its own name first.
    std::vector<std::wstring> launchAndRead(const std::wstring& file, const std::wstring& extra,
                                            const std::wstring& workDir)
    {
        bool ok = false;
        std::thread([&] { ok = pw::win32::shellOpen(0, file, params(extra), workDir); }).join();
        EXPECT_TRUE(ok);
        if (!ok)
            return {};
        EXPECT_EQ(WaitForSingleObject(done, kStartLimitMs), WAIT_OBJECT_0)
            << "the probe did not report";
        return lines(pw::win32::test::readFile(report()));
    }

    static inline int serial = 0;
    TempDir dir;
    TempDir workDir;
    std::wstring program;
    std::wstring eventName;
    HANDLE done = nullptr;
};

TEST_F(Launch, StartsTheProgramWithItsParametersInTheWorkingDirectory)
{
    const std::vector<std::wstring> report =
        launchAndRead(program, L"plain \"two words\" ツール", workDir.path());
    const std::vector<std::wstring> expected = {
        workDir.path(), program, eventName, this->report(), L"plain", L"two words", L"ツール",
    };
    EXPECT_EQ(report, expected);
}

TEST_F(Launch, ForwardSlashesInFileAndDirectoryButNotInParameters)
{
    // The parameters keep their "/": they start options there.
    const std::vector<std::wstring> report =
        launchAndRead(withSlashes(program), L"/x a/b", withSlashes(workDir.path()));
    // The program's name as the shell wrote it into the command line.
    const std::vector<std::wstring> expected = {
        workDir.path(), program, eventName, this->report(), L"/x", L"a/b",
    };
    EXPECT_EQ(report, expected);
}

TEST_F(Launch, NoWorkingDirectoryKeepsTheCallers)
{
    wchar_t current[MAX_PATH] = {};
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, current), 0u);
    const std::vector<std::wstring> report = launchAndRead(program, L"", L"");
    ASSERT_FALSE(report.empty());
    EXPECT_EQ(report[0], current);
}

// The launch initialises COM on its thread for the call and leaves the
// thread as it found it: a thread without COM has none afterwards, and a
// thread in the multithreaded apartment stays in it.
class LaunchComState : public Launch, public ::testing::WithParamInterface<bool>
{
};

TEST_P(LaunchComState, IsLeftAsTheLaunchFoundIt)
{
    const bool callerInMta = GetParam();
    HRESULT afterwards = E_FAIL;
    bool ok = false;
    std::thread([&] {
        if (callerInMta) {
            ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        }
        ok = pw::win32::shellOpen(0, program, params(L""), L"");
        // S_OK: COM was not initialised on this thread any more; S_FALSE:
        // still in the multithreaded apartment. A single-threaded apartment
        // left behind answers RPC_E_CHANGED_MODE.
        afterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(afterwards))
            CoUninitialize();
        if (callerInMta)
            CoUninitialize();
    }).join();
    ASSERT_TRUE(ok);
    EXPECT_EQ(WaitForSingleObject(done, kStartLimitMs), WAIT_OBJECT_0);
    EXPECT_EQ(afterwards, callerInMta ? S_FALSE : S_OK);
}

INSTANTIATE_TEST_SUITE_P(Launch, LaunchComState, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "CallerInMultithreadedApartment"
                                                           : "CallerWithoutCom");
                         });

TEST_F(Launch, SeparatorsBecomeBackslashes)
{
    EXPECT_EQ(pw::win32::nativeSeparators(L"C:/Tools/app.exe"), L"C:\\Tools\\app.exe");
    EXPECT_EQ(pw::win32::nativeSeparators(L"//server/share\\dir/"), L"\\\\server\\share\\dir\\");
    EXPECT_EQ(pw::win32::nativeSeparators(L"app.exe"), L"app.exe");
}

} // namespace
