#pragma once
// What the Qt-free tests need of the system, on Linux and on Windows alike.
#include <cstddef>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

// A new, empty folder under the system's temporary folder, named prefix + a random number.
inline std::filesystem::path MakeTempFolder(const std::string& prefix)
{
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate = std::filesystem::temp_directory_path() / (prefix + std::to_string(random()));
        if (std::filesystem::create_directory(candidate))
            return candidate;
    }
    throw std::runtime_error("no temporary folder for " + prefix);
}

// The plain write of a file descriptor, for hooks that pass some bytes on.
inline long RawWrite(int fd, const void* data, std::size_t size)
{
#ifdef _WIN32
    return ::_write(fd, data, static_cast<unsigned>(size));
#else
    return ::write(fd, data, size);
#endif
}

// Whether file permissions stop this process from writing (not so for root, nor for a Windows folder).
inline bool PermissionsStopWrites()
{
#ifdef _WIN32
    return false;
#else
    return ::geteuid() != 0;
#endif
}

// Whether the program runs under Wine rather than on Windows itself.
inline bool RunsUnderWine()
{
#ifdef _WIN32
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}
