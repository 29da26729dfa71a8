#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliCommands.h"

#ifdef _WIN32
#include <streambuf>

#include <windows.h>
#include <shellapi.h>

#include "data/FileError.h"
#include "data/FileIo.h"

namespace {

// Standard output or error on Windows. The program's texts are UTF-8: a console gets them as wide
// characters, so that Japanese shows whatever the console's code page; a file or a pipe gets the UTF-8
// bytes themselves. Writes go through the Windows API and keep its error.
class WindowsOutput : public std::streambuf {
public:
    explicit WindowsOutput(DWORD which) : handle_(::GetStdHandle(which))
    {
        DWORD mode = 0;
        console_ = handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle_, &mode);
    }
    ~WindowsOutput() override { sync(); }

    DWORD error() const { return error_; }  // of the first write that failed; 0 while none has

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        pending_.push_back(traits_type::to_char_type(c));
        if (pending_.size() >= kChunk && !writePending())
            return traits_type::eof();
        return c;
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        pending_.append(text, static_cast<std::size_t>(count));
        if (pending_.size() >= kChunk && !writePending())
            return 0;
        return count;
    }
    int sync() override { return writePending() ? 0 : -1; }

private:
    static constexpr std::size_t kChunk = 8192;

    // The length of pending_ without a UTF-8 sequence cut at its end (it waits for its other bytes).
    std::size_t completeLength() const
    {
        const std::size_t size = pending_.size();
        for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
            const auto byte = static_cast<unsigned char>(pending_[size - back]);
            if ((byte & 0xc0) == 0x80)
                continue;  // a continuation byte: look further back for the lead byte
            const std::size_t length = byte >= 0xf0 ? 4 : byte >= 0xe0 ? 3 : byte >= 0xc0 ? 2 : 1;
            return length > back ? size - back : size;
        }
        return size;
    }

    bool writePending()
    {
        if (pending_.empty() || error_ != 0)
            return error_ == 0;
        if (handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) {  // no output at all: nothing to tell
            pending_.clear();
            return true;
        }
        if (console_) {
            const std::size_t length = completeLength();
            const int units = ::MultiByteToWideChar(CP_UTF8, 0, pending_.data(), static_cast<int>(length), nullptr, 0);
            std::wstring wide(static_cast<std::size_t>(units), L'\0');
            ::MultiByteToWideChar(CP_UTF8, 0, pending_.data(), static_cast<int>(length), wide.data(), units);
            for (std::size_t done = 0; done < wide.size();) {
                DWORD written = 0;
                if (!::WriteConsoleW(handle_, wide.data() + done, static_cast<DWORD>(wide.size() - done), &written, nullptr)) {
                    error_ = ::GetLastError();
                    return false;
                }
                done += written;
            }
            pending_.erase(0, length);
            return true;
        }
        for (std::size_t done = 0; done < pending_.size();) {
            DWORD written = 0;
            if (!::WriteFile(handle_, pending_.data() + done, static_cast<DWORD>(pending_.size() - done), &written, nullptr)) {
                error_ = ::GetLastError();
                return false;
            }
            done += written;
        }
        pending_.clear();
        return true;
    }

    HANDLE handle_;
    bool console_ = false;
    DWORD error_ = 0;
    std::string pending_;
};

// The arguments after the program's name, from the wide command line, as UTF-8 texts; false when one
// holds something that is no text (a lone surrogate).
bool WideArguments(std::vector<std::string>& args)
{
    int count = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (argv == nullptr)
        return false;
    bool ok = true;
    for (int i = 1; i < count && ok; ++i) {
        const int length = static_cast<int>(std::wcslen(argv[i]));
        const int bytes = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, argv[i], length, nullptr, 0, nullptr, nullptr);
        std::string text(static_cast<std::size_t>(bytes), '\0');
        ok = length == 0
            || (bytes > 0 && ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, argv[i], length, text.data(), bytes,
                                                   nullptr, nullptr) == bytes);
        args.push_back(std::move(text));
    }
    ::LocalFree(argv);
    return ok;
}

}  // namespace
#endif

int main([[maybe_unused]] int argc, [[maybe_unused]] char** argv)
{
#ifdef _WIN32
    WindowsOutput outBuffer(STD_OUTPUT_HANDLE), errBuffer(STD_ERROR_HANDLE);
    std::ostream out(&outBuffer), err(&errBuffer);
    std::vector<std::string> args;
    if (!WideArguments(args)) {
        err << "corvane-cli: コマンドラインに文字にならない部分があります\n" << std::flush;
        return 2;
    }
#else
    std::ios::sync_with_stdio(false);
    std::ostream& out = std::cout;
    std::ostream& err = std::cerr;
    const std::vector<std::string> args(argv + 1, argv + argc);
#endif
    int status = 1;
    try {
        status = RunCli(args, out, err);
    } catch (const std::exception& e) {
        err << "corvane-cli: 予期しないエラーで中断しました: " << e.what() << '\n';
        status = 1;
    } catch (...) {
        err << "corvane-cli: 予期しないエラーで中断しました\n";
        status = 1;
    }
    out.flush();
    if (!out) {
#ifdef _WIN32
        const std::string cause = FileErrorText(CauseFromErrno(corvane::ErrnoOfWindowsError(outBuffer.error())), "標準出力");
#else
        const std::string cause = "標準出力";
#endif
        err << "corvane-cli: 標準出力に書き込めませんでした: " << cause << '\n';
        status = 1;
    }
    err.flush();
    return status;
}
