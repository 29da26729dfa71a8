#include "demo/DemoGameFolder.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "demo/DemoPlan.h"

GameFolderFiles MakeDemoGameFiles()
{
    using namespace corvane::demo;
    GameFolderFiles files;
    files.unitInfo = MakeDemoUnitInfo();
    files.weapons = MakeDemoWeapons();
    files.kinds = MakeDemoKinds();
    files.moveCosts = MakeDemoMoveCosts();
    files.productionTypes = MakeDemoProductionTypes();
    files.pictures = MakeDemoPictures();
    return files;
}

namespace {

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot create " + path.string() + ": " + std::strerror(errno));
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path.string() + ": " + std::strerror(errno));
}

void MakeFolder(const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw std::runtime_error("cannot create folder " + folder.string() + ": " + error.message());
    if (!std::filesystem::is_directory(folder))
        throw std::runtime_error("cannot create folder " + folder.string() + ": a file of that name is in the way");
}

bool IsPlainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos
        && name.find('\0') == std::string::npos;
}

} // namespace

void WriteGameFolder(const std::filesystem::path& folder, const GameFolderFiles& files)
{
    for (const auto& [name, bytes] : files.pictures)
        if (!IsPlainFileName(name))
            throw std::invalid_argument("not a plain picture file name: " + name);
    MakeFolder(folder);
    WriteFile(folder / "UNITINFO.DAT", files.unitInfo);
    WriteFile(folder / "WEAPONKD.DAT", files.weapons);
    WriteFile(folder / "UNITKIND.DAT", files.kinds);
    WriteFile(folder / "MVCOSTKD.DAT", files.moveCosts);
    WriteFile(folder / "prokind.dat", files.productionTypes);
    const std::filesystem::path pictureFolder = folder / "Unit";
    MakeFolder(pictureFolder);
    for (const auto& [name, bytes] : files.pictures)
        WriteFile(pictureFolder / name, bytes);
}
