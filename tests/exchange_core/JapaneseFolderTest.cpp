// A game folder with a Japanese name: found, loaded, saved, exported to and imported from, on Linux and on
// Windows (under Wine it is C:\ゲーム\DS6\ itself).

#include <gtest/gtest.h>

#include "../data/DataTestSupport.h"
#include "data/DataFileSet.h"
#include "data/GamePaths.h"
#include "demo/DemoGameFolder.h"
#include "exchange/core/CommandFile.h"
#include "exchange/core/UnitFile.h"

namespace {

const char kGame[] = "\xe3\x82\xb2\xe3\x83\xbc\xe3\x83\xa0";           // ゲーム
const char kUnitFile[] = "\xe3\x83\xa6\xe3\x83\x8b\xe3\x83\x83\xe3\x83\x88.sui";  // ユニット.sui
const char kUnitFileCp932[] = "\x83\x86\x83\x6a\x83\x62\x83\x67.sui";

}  // namespace

TEST(JapaneseGameFolder, LoadsSavesAndExports)
{
    const fs::path root = RunsUnderWine() ? corvane::PathFromText(std::string("C:\\") + kGame)
                                          : MakeTempFolder("corvane-jp-") / corvane::PathFromText(kGame);
    std::error_code ec;
    fs::remove_all(root, ec);
    const GameFolderFiles files = MakeDemoGameFiles();
    WriteGameFolder(root / "DS6", files);
    std::string folder = corvane::TextFromPath(root / "DS6" / "");
    if (RunsUnderWine()) {
        EXPECT_EQ(folder, std::string("C:\\") + kGame + "\\DS6\\");
    }

    ScriptedPrompts prompts;
    ASSERT_TRUE(LocateGameFolder(folder, prompts));
    auto images = std::make_unique<GameImages>();
    ASSERT_TRUE(LoadGameImages(folder, *images, prompts));
    images->units.record(7).setPrice(4321);
    ASSERT_TRUE(SaveUnitTable(folder, images->units, prompts));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(ReadBytes(root / "DS6" / "UNITINFO.ORG"), files.unitInfo);
    EXPECT_EQ(ReadBytes(root / "DS6" / "UNITINFO.DAT"),
              std::vector<std::uint8_t>(images->units.image().begin(), images->units.image().end()));

    ASSERT_TRUE(WriteUnitFile(corvane::PathFromText(folder + kUnitFile), 7, images->units.record(7)));
    PathLookup lookup;
    const auto fromLine = CommandLinePath(lookup, folder, kUnitFileCp932);
    ASSERT_TRUE(fromLine);
    UnitFileHeader head;
    UnitRecord record;
    ASSERT_TRUE(ReadUnitFile(*fromLine, head, record));
    EXPECT_TRUE(IsUsableUnitFile(head));
    EXPECT_EQ(head.unitNumber, 7);
    EXPECT_EQ(record.price(), 4321);

    fs::remove_all(RunsUnderWine() ? root : root.parent_path(), ec);
}
