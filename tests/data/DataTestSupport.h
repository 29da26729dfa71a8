#pragma once
// Temporary game folders and a scripted stand-in for the user, shared by the data tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "../support/CoreTestSupport.h"
#include "data/FileIo.h"
#include "data/UserPrompts.h"

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        path_ = MakeTempFolder("corvane-data-");
    }
    ~TempFolder()
    {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    std::string file(const char* name) const { return corvane::TextFromPath(path_ / name); }
    // As a folder text: UTF-8, ending in the platform's separator.
    std::string text() const { return file("") ; }

private:
    fs::path path_;
};

inline std::vector<std::uint8_t> Pattern(std::size_t size, int seed)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251 + static_cast<std::size_t>(seed));
    return bytes;
}

inline void WriteBytes(const fs::path& file, const std::vector<std::uint8_t>& bytes)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The bytes of a file; none for anything that is not a file.
inline std::vector<std::uint8_t> ReadBytes(const fs::path& file)
{
    if (!fs::is_regular_file(file))
        return {};
    std::ifstream in(file, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// What a test can see of each entry of a folder: its kind, permission bits and bytes (or link target).
struct Entry {
    fs::file_type type;
    fs::perms perms;
    std::vector<std::uint8_t> bytes;
    std::string linkTo;
    bool operator==(const Entry&) const = default;
};
using Snapshot = std::map<std::string, Entry>;

// The folder lock's file is left out: an empty file that a save makes once and that holds no data.
inline bool IsLockFile(const fs::path& item) { return item.filename() == corvane::FolderLock::kFileName; }

inline Snapshot Snap(const fs::path& folder)
{
    Snapshot snapshot;
    for (const auto& item : fs::directory_iterator(folder)) {
        if (IsLockFile(item.path()))
            continue;
        const fs::file_status status = fs::symlink_status(item.path());
        Entry entry{status.type(), status.permissions(), {}, {}};
        if (status.type() == fs::file_type::symlink)
            entry.linkTo = fs::read_symlink(item.path()).string();
        else
            entry.bytes = ReadBytes(item.path());
        snapshot[item.path().filename().string()] = std::move(entry);
    }
    return snapshot;
}

inline std::ostream& operator<<(std::ostream& out, const Entry& entry)
{
    return out << "type " << static_cast<int>(entry.type) << ", mode " << std::oct << static_cast<int>(entry.perms)
               << std::dec << ", " << entry.bytes.size() << " bytes" << (entry.linkTo.empty() ? "" : ", link to ")
               << entry.linkTo;
}

inline std::set<std::string> Names(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (!IsLockFile(entry.path()))
            names.insert(entry.path().filename().string());
    return names;
}

// Records every prompt. Questions take the scripted answers (one missing fails the test and ends it);
// file dialogs take the scripted files (none left: cancelled).
class ScriptedPrompts : public UserPrompts {
public:
    struct Message {
        std::string text;
        MsgIcon icon;
        MsgButtons buttons;
    };
    std::deque<MsgAnswer> answers;
    std::deque<std::optional<std::string>> files;
    std::vector<Message> messages;
    std::vector<OpenFileRequest> requests;

    MsgAnswer message(std::string_view text, MsgIcon icon, MsgButtons buttons) override
    {
        messages.push_back({std::string(text), icon, buttons});
        if (buttons == MsgButtons::Ok)
            return MsgAnswer::Ok;
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            throw std::runtime_error("no scripted answer");
        }
        const MsgAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> chooseFile(const OpenFileRequest& request) override
    {
        requests.push_back(request);
        std::optional<std::string> file;
        if (!files.empty()) {
            file = files.front();
            files.pop_front();
        }
        return file;
    }
};
