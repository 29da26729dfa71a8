// corvane-cli.exe on Windows, started with a wide command line as Explorer and cmd.exe start it:
// Japanese folder and file names reach the files unchanged, messages come out as UTF-8 when they go to
// a file or a pipe, and a full disk is reported as a full disk.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "data/FileIo.h"
#include "demo/DemoGameFolder.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// One argument as CommandLineToArgvW reads it back.
std::wstring Quote(const std::wstring& arg)
{
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}

// corvane-cli.exe is built beside the tests.
fs::path CliPath()
{
    std::wstring self(MAX_PATH, L'\0');
    self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    return fs::path(self).parent_path() / L"corvane-cli.exe";
}

struct Outcome {
    DWORD status = 0;
    std::string out;
    std::string err;
};

HANDLE InheritableFile(const fs::path& file, DWORD disposition)
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return ::CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

class CliWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        static int count = 0;
        root_ = fs::temp_directory_path()
                / (L"コルベイン試験-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++count));
        game_ = root_ / L"ゲーム" / L"大戦略";
        WriteGameFolder(game_, MakeDemoGameFiles());
    }
    void TearDown() override
    {
        // A program that has just ended may hold its files for a moment under Wine.
        std::error_code ec;
        for (int attempt = 0; attempt < 20 && (fs::remove_all(root_, ec), ec); ++attempt)
            ::Sleep(100);
    }

    // Runs corvane-cli.exe in root_ with the arguments; standard output goes to `out` when given.
    Outcome Run(const std::vector<std::wstring>& args, const fs::path& out = {})
    {
        std::wstring line = Quote(CliPath().wstring());
        for (const auto& arg : args)
            line += L" " + Quote(arg);
        const fs::path outFile = out.empty() ? root_ / L"out.txt" : out;
        const fs::path errFile = root_ / L"err.txt";
        HANDLE outHandle = InheritableFile(outFile, out.empty() ? CREATE_ALWAYS : OPEN_EXISTING);
        HANDLE errHandle = InheritableFile(errFile, CREATE_ALWAYS);
        EXPECT_NE(outHandle, INVALID_HANDLE_VALUE);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = outHandle;
        startup.hStdError = errHandle;
        PROCESS_INFORMATION process{};
        Outcome outcome;
        if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                             root_.c_str(), &startup, &process)) {
            ::WaitForSingleObject(process.hProcess, INFINITE);
            ::GetExitCodeProcess(process.hProcess, &outcome.status);
            ::CloseHandle(process.hThread);
            ::CloseHandle(process.hProcess);
        } else {
            ADD_FAILURE() << "corvane-cli.exe did not start: error " << ::GetLastError();
        }
        ::CloseHandle(outHandle);
        ::CloseHandle(errHandle);
        if (out.empty())
            outcome.out = ReadBytes(outFile);
        outcome.err = ReadBytes(errFile);
        return outcome;
    }

    fs::path root_;
    fs::path game_;
};

}  // namespace

TEST_F(CliWindows, JapaneseFolderAndFileNamesReachTheFiles)
{
    const Outcome show = Run({L"show", game_.wstring(), L"1"});
    EXPECT_EQ(show.status, 0u) << show.err;
    EXPECT_NE(show.out.find("番号: 0001\n"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("名前: "), std::string::npos);

    // A relative name counts from the current folder, in the characters typed.
    const Outcome csv = Run({L"csv-export", game_.wstring(), L"テスト.csv"});
    EXPECT_EQ(csv.status, 0u) << csv.err;
    EXPECT_EQ(csv.out, "1280個の兵器を書き出しました\n");
    EXPECT_TRUE(fs::is_regular_file(root_ / L"テスト.csv"));
    const Outcome sui = Run({L"export", game_.wstring(), L"737", (root_ / L"第1歩兵.sui").wstring()});
    EXPECT_EQ(sui.status, 0u) << sui.err;
    EXPECT_EQ(fs::file_size(root_ / L"第1歩兵.sui"), 154u);
    const Outcome back = Run({L"import", game_.wstring(), L"第1歩兵.sui"});
    EXPECT_EQ(back.status, 0u) << back.err;
    EXPECT_TRUE(fs::exists(game_ / L"UNITINFO.ORG"));
}

TEST_F(CliWindows, MessagesNameJapanesePathsInUtf8)
{
    const std::wstring missing = (root_ / L"ゲーム" / L"無い").wstring();
    const Outcome outcome = Run({L"show", missing, L"1"});
    EXPECT_EQ(outcome.status, 1u);
    const std::u8string expected = u8"corvane-cli: " + (root_ / L"ゲーム" / L"無い").u8string()
                                   + u8": ゲームフォルダが見つかりません\n";
    EXPECT_EQ(outcome.err, std::string(expected.begin(), expected.end()));
    EXPECT_TRUE(outcome.out.empty());
}

// Wine hands the device of a full disk through to Windows programs; Windows itself has none to open.
TEST_F(CliWindows, FullDiskIsReportedAsOne)
{
    const fs::path full = L"Z:\\dev\\full";
    const int fd = ::_wopen(full.c_str(), _O_WRONLY | _O_BINARY);
    if (fd < 0)
        GTEST_SKIP() << "no device that is always full (Z:\\dev\\full opens under Wine only)";

    // The safe save's write: the Windows error becomes ENOSPC, and so the message of a full disk.
    const char bytes[16] = {};
    errno = 0;
    EXPECT_EQ(corvane::fileWriteHooks.writeSome(fd, bytes, sizeof bytes), -1);
    EXPECT_EQ(errno, ENOSPC);
    ::_close(fd);

    // Standard output on a full disk: the command fails and says why.
    const Outcome outcome = Run({L"show", game_.wstring(), L"1"}, full);
    EXPECT_EQ(outcome.status, 1u);
    EXPECT_NE(outcome.err.find("ﾃﾞｨｽｸがいっぱいになりました"), std::string::npos) << outcome.err;
}
#endif
