#include "exchange/core/UnitPack.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <span>
#include <system_error>

#include "data/FileIo.h"
#include "exchange/core/UnitFile.h"

namespace fs = std::filesystem;

namespace {

int ErrnoOf(const std::error_code& ec) { return ec.category() == std::generic_category() ? ec.value() : EIO; }

// Undoes the writes of a run that failed, the last first.
void Undo(const std::vector<corvane::KeptExport>& written, const fs::path& madeFolder)
{
    std::error_code ec;
    for (auto it = written.rbegin(); it != written.rend(); ++it) {
        if (it->kept.empty())
            fs::remove(it->file, ec);
        else
            fs::rename(it->kept, it->file, ec);
    }
    if (!madeFolder.empty())
        fs::remove(madeFolder, ec);
}

}  // namespace

std::vector<int> DifferingUnits(const UnitTable& base, const UnitTable& table)
{
    std::vector<int> units;
    for (int u = 0; u < kUnitCount; ++u)
        if (base.record(u).bytes != table.record(u).bytes)
            units.push_back(u);
    return units;
}

std::string PackUnitFileName(int unitNumber)
{
    char name[16];
    std::snprintf(name, sizeof name, "unit%04d.sui", unitNumber);
    return name;
}

std::string PackCommandText(const std::vector<int>& units)
{
    std::string text;
    for (int u : units)
        text += PackUnitFileName(u) + "\r\n";
    return text;
}

std::vector<std::string> PackClashes(const fs::path& folder, const std::vector<int>& units,
                                     const fs::path& commandFileName)
{
    std::vector<std::string> names;
    for (int u : units)
        names.push_back(PackUnitFileName(u));
    names.push_back(corvane::TextFromPath(commandFileName));
    std::vector<std::string> clashes;
    for (const std::string& name : names) {
        std::error_code ec;
        if (fs::symlink_status(folder / corvane::PathFromText(name), ec).type() != fs::file_type::not_found)
            clashes.push_back(name);
    }
    return clashes;
}

std::optional<PackFailure> WritePack(const fs::path& folder, const UnitTable& table, const std::vector<int>& units,
                                     const fs::path& commandFileName, std::span<const fs::path> protectedFiles)
{
    fs::path madeFolder;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        if (!fs::create_directory(folder, ec) || ec)
            return PackFailure{PackFailure::Step::Create, ec ? ErrnoOf(ec) : EEXIST, folder};
        madeFolder = folder;
    }
    std::vector<int> sorted = units;
    std::sort(sorted.begin(), sorted.end());
    std::vector<corvane::KeptExport> written;
    const auto write = [&](const fs::path& file, std::span<const std::uint8_t> bytes) -> std::optional<PackFailure> {
        corvane::KeptExport done;
        const auto error = corvane::WriteExportFile(file, bytes, protectedFiles, &done);
        if (!error || error->replaced) {
            written.push_back(std::move(done));
            return std::nullopt;
        }
        Undo(written, madeFolder);
        return PackFailure{error->step, error->err, file};
    };
    for (int u : sorted)
        if (auto failure = write(folder / PackUnitFileName(u), UnitFileBytes(u, table.record(u))))
            return failure;
    const std::string text = PackCommandText(sorted);
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (auto failure = write(folder / commandFileName, bytes))
        return failure;
    for (const corvane::KeptExport& done : written)
        if (!done.kept.empty())
            fs::remove(done.kept, ec);
    return std::nullopt;
}
