#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <unistd.h>

#include "DataTestSupport.h"
#include "data/DataFileSet.h"
#include "data/FileIo.h"

namespace {

const char kPrompt[] = "大戦略をインストールしたフォルダを選択し、\n「UNITINFO.DAT」を指定してください";
const char kGiveUp[] = "インストールフォルダを指定しない場合本ソフトフェアは使用出来ません";
const char kSaveFailed[] = "保存に失敗しました";

struct GameFolder : TempFolder {
    std::vector<std::uint8_t> units = Pattern(kUnitTableSize, 1);
    std::vector<std::uint8_t> weapons = Pattern(WeaponTable::kImageSize, 2);
    std::vector<std::uint8_t> kinds = Pattern(KindTable::kImageSize, 3);
    std::vector<std::uint8_t> costs = Pattern(MoveCostTable::kImageSize, 4);

    GameFolder()
    {
        WriteBytes(path() / "UNITINFO.DAT", units);
        WriteBytes(path() / "WEAPONKD.DAT", weapons);
        WriteBytes(path() / "UNITKIND.DAT", kinds);
        WriteBytes(path() / "MVCOSTKD.DAT", costs);
    }
    std::string file(const char* name) const { return (path() / name).string(); }
};

template <class Image>
std::vector<std::uint8_t> Copy(const Image& image)
{
    return std::vector<std::uint8_t>(image.begin(), image.end());
}

std::unique_ptr<GameImages> Load(const GameFolder& game)
{
    auto images = std::make_unique<GameImages>();
    ScriptedPrompts prompts;
    EXPECT_TRUE(LoadGameImages(game.text(), *images, prompts));
    EXPECT_TRUE(prompts.messages.empty());
    return images;
}

}  // namespace

// ---- Locating the game folder ----

TEST(LocateGameFolder, FoundAtOnceWithoutAWord)
{
    GameFolder game;
    fs::rename(game.path() / "UNITINFO.DAT", game.path() / "unitinfo.dat");
    std::string folder = game.text();
    ScriptedPrompts prompts;
    EXPECT_TRUE(LocateGameFolder(folder, prompts));
    EXPECT_EQ(folder, game.text());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST(LocateGameFolder, AnEmptyFolderTextMeansTheCurrentFolder)
{
    GameFolder game;
    const fs::path before = fs::current_path();
    fs::current_path(game.path());
    std::string folder;
    ScriptedPrompts prompts;
    const bool found = LocateGameFolder(folder, prompts);
    fs::current_path(before);
    EXPECT_TRUE(found);
    EXPECT_EQ(folder, "");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST(LocateGameFolder, OkThenAChosenFileGivesItsFolder)
{
    GameFolder game;
    TempFolder elsewhere;
    std::string folder = elsewhere.text();
    ScriptedPrompts prompts;
    prompts.answers = {MsgAnswer::Ok};
    prompts.files = {game.file("WEAPONKD.DAT")};  // any file of the folder will do
    EXPECT_TRUE(LocateGameFolder(folder, prompts));
    EXPECT_EQ(folder, game.text());

    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, kPrompt);
    EXPECT_EQ(prompts.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(prompts.messages[0].buttons, MsgButtons::OkCancel);
    ASSERT_EQ(prompts.requests.size(), 1u);
    const OpenFileRequest& request = prompts.requests[0];
    EXPECT_EQ(request.title, "大戦略インストールフォルダの選択");
    EXPECT_EQ(request.filter, "ﾃﾞｰﾀﾌｧｲﾙ (*.dat)|*.dat|全てのﾌｧｲﾙ (*.*)|*.*||");
    EXPECT_EQ(request.initialName, "UNITINFO.DAT");
    EXPECT_EQ(request.initialFolder, "");
    EXPECT_EQ(request.defaultExt, "");
    EXPECT_FALSE(request.save);
}

TEST(LocateGameFolder, CancellingTheFileDialogAsksAgain)
{
    GameFolder game;
    TempFolder elsewhere;
    std::string folder = elsewhere.text();
    ScriptedPrompts prompts;
    prompts.answers = {MsgAnswer::Ok, MsgAnswer::Ok};
    prompts.files = {std::nullopt, game.file("UNITINFO.DAT")};
    EXPECT_TRUE(LocateGameFolder(folder, prompts));
    EXPECT_EQ(folder, game.text());
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text, kPrompt);
}

TEST(LocateGameFolder, GivingUpEmptiesTheFolder)
{
    TempFolder elsewhere;
    std::string folder = elsewhere.text();
    ScriptedPrompts prompts;
    prompts.answers = {MsgAnswer::Cancel, MsgAnswer::Ok};
    EXPECT_FALSE(LocateGameFolder(folder, prompts));
    EXPECT_EQ(folder, "");
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text, kGiveUp);
    EXPECT_EQ(prompts.messages[1].icon, MsgIcon::Stop);
    EXPECT_EQ(prompts.messages[1].buttons, MsgButtons::OkCancel);
    EXPECT_TRUE(prompts.requests.empty());
}

TEST(LocateGameFolder, CancellingTheWarningAsksAgain)
{
    GameFolder game;
    TempFolder elsewhere;
    std::string folder = elsewhere.text();
    ScriptedPrompts prompts;
    prompts.answers = {MsgAnswer::Cancel, MsgAnswer::Cancel, MsgAnswer::Ok};
    prompts.files = {game.file("UNITINFO.DAT")};
    EXPECT_TRUE(LocateGameFolder(folder, prompts));
    EXPECT_EQ(folder, game.text());
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_EQ(prompts.messages[0].text, kPrompt);
    EXPECT_EQ(prompts.messages[1].text, kGiveUp);
    EXPECT_EQ(prompts.messages[2].text, kPrompt);
}

TEST(LocateGameFolder, AFolderNamedUnitInfoDoesNotCount)
{
    TempFolder game;
    fs::create_directory(game.path() / "UNITINFO.DAT");
    std::string folder = game.text();
    ScriptedPrompts prompts;
    prompts.answers = {MsgAnswer::Ok, MsgAnswer::Cancel, MsgAnswer::Ok};
    prompts.files = {(game.path() / "UNITINFO.DAT").string()};  // choosing the folder itself does not count either
    EXPECT_FALSE(LocateGameFolder(folder, prompts));
    EXPECT_EQ(prompts.messages.size(), 3u);
}

// ---- Loading ----

TEST(LoadGameImages, LoadsTheFourImages)
{
    GameFolder game;
    auto images = Load(game);
    EXPECT_EQ(Copy(images->units.image()), game.units);
    EXPECT_EQ(Copy(images->weapons.image()), game.weapons);
    EXPECT_EQ(Copy(images->kinds.image()), game.kinds);
    EXPECT_EQ(Copy(images->moveCosts.image()), game.costs);
}

TEST(LoadGameImages, EachMissingFileHasItsMessage)
{
    const std::pair<const char*, const char*> files[] = {
        {"UNITINFO.DAT", "兵器データファイルをオープンできません"},
        {"WEAPONKD.DAT", "武器データファイルをオープンできません"},
        {"UNITKIND.DAT", "兵種データファイルをオープンできません"},
        {"MVCOSTKD.DAT", "移動力データファイルをオープンできません"},
    };
    for (std::size_t missing = 0; missing < 4; ++missing) {
        GameFolder game;
        fs::remove(game.path() / files[missing].first);
        auto images = std::make_unique<GameImages>();
        images->moveCosts.image()[0] = 0xee;
        ScriptedPrompts prompts;
        EXPECT_FALSE(LoadGameImages(game.text(), *images, prompts));
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].text, files[missing].second);
        EXPECT_EQ(prompts.messages[0].icon, MsgIcon::Stop);
        EXPECT_EQ(prompts.messages[0].buttons, MsgButtons::Ok);
        // Files before the missing one are loaded; the last image is untouched.
        EXPECT_EQ(images->units.image()[0], missing > 0 ? game.units[0] : 0);
        EXPECT_EQ(images->moveCosts.image()[0], 0xee);
    }
}

TEST(LoadGameImages, AFolderInPlaceOfADataFileCannotBeOpened)
{
    GameFolder game;
    fs::remove(game.path() / "UNITKIND.DAT");
    fs::create_directory(game.path() / "UNITKIND.DAT");
    auto images = std::make_unique<GameImages>();
    ScriptedPrompts prompts;
    EXPECT_FALSE(LoadGameImages(game.text(), *images, prompts));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "兵種データファイルをオープンできません");
}

TEST(LoadGameImages, AShortUnitTableIsRefused)
{
    GameFolder game;
    WriteBytes(game.path() / "UNITINFO.DAT", Pattern(kUnitTableSize - 1, 9));
    auto images = std::make_unique<GameImages>();
    ScriptedPrompts prompts;
    EXPECT_FALSE(LoadGameImages(game.text(), *images, prompts));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "兵器データファイルのサイズが正しくありません\n" + game.file("UNITINFO.DAT"));
    EXPECT_EQ(prompts.messages[0].icon, MsgIcon::Stop);
    EXPECT_EQ(images->units.image()[100], 0);  // nothing of it was taken
}

TEST(LoadGameImages, ALongerUnitTableGivesItsFirstBytes)
{
    GameFolder game;
    auto longer = game.units;
    longer.resize(kUnitTableSize + 500, 0x77);
    WriteBytes(game.path() / "UNITINFO.DAT", longer);
    EXPECT_EQ(Copy(Load(game)->units.image()), game.units);
}

TEST(LoadGameImages, ShortReferenceTablesLoadWithZerosForTheMissingBytes)
{
    GameFolder game;
    WriteBytes(game.path() / "WEAPONKD.DAT", Pattern(100, 5));
    WriteBytes(game.path() / "UNITKIND.DAT", {});
    WriteBytes(game.path() / "MVCOSTKD.DAT", Pattern(30639, 6));
    auto images = std::make_unique<GameImages>();
    images->weapons.image()[200] = 0xee;
    images->kinds.image()[0] = 0xee;
    images->moveCosts.image()[30639] = 0xee;
    ScriptedPrompts prompts;
    EXPECT_TRUE(LoadGameImages(game.text(), *images, prompts));
    EXPECT_EQ(images->weapons.image()[99], Pattern(100, 5)[99]);
    EXPECT_EQ(images->weapons.image()[200], 0);
    EXPECT_EQ(images->kinds.image()[0], 0);
    EXPECT_EQ(images->moveCosts.image()[30638], Pattern(30639, 6)[30638]);
    EXPECT_EQ(images->moveCosts.image()[30639], 0);
}

#ifdef __linux__
TEST(LoadGameImages, AReadErrorGivesTheFileErrorText)
{
    GameFolder game;
    fs::remove(game.path() / "UNITINFO.DAT");
    fs::create_symlink("/proc/self/mem", game.path() / "UNITINFO.DAT");  // reading its start fails with EIO
    auto images = std::make_unique<GameImages>();
    ScriptedPrompts prompts;
    EXPECT_FALSE(LoadGameImages(game.text(), *images, prompts));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, game.file("UNITINFO.DAT") + " へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。");
    EXPECT_EQ(prompts.messages[0].icon, MsgIcon::Stop);
}
#endif

// ---- Saving ----

class SaveUnitTableTest : public ::testing::Test {
protected:
    void TearDown() override { corvane::fileWriteHooks = savedHooks_; }

    // Saves and expects failure with exactly one stop message; returns its text.
    std::string FailingSave(const GameFolder& game, const UnitTable& table)
    {
        ScriptedPrompts prompts;
        EXPECT_FALSE(SaveUnitTable(game.text(), table, prompts));
        if (prompts.messages.size() != 1u) {
            ADD_FAILURE() << "messages: " << prompts.messages.size();
            return {};
        }
        EXPECT_EQ(prompts.messages[0].icon, MsgIcon::Stop);
        EXPECT_EQ(prompts.messages[0].buttons, MsgButtons::Ok);
        return prompts.messages[0].text;
    }

    // The folder holds just the four data files, UNITINFO.DAT with its original bytes, and no backup.
    static void ExpectUntouched(const GameFolder& game)
    {
        EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.DAT"), game.units);
        EXPECT_EQ(Names(game.path()), (std::set<std::string>{"UNITINFO.DAT", "WEAPONKD.DAT", "UNITKIND.DAT", "MVCOSTKD.DAT"}));
    }

    static inline int writesBeforeFailure_ = 0;
    static long FailingWrite(int fd, const void* data, std::size_t size)
    {
        if (writesBeforeFailure_-- <= 0) {
            errno = ENOSPC;
            return -1;
        }
        return ::write(fd, data, std::min<std::size_t>(size, 1000));
    }

private:
    corvane::FileWriteHooks savedHooks_ = corvane::fileWriteHooks;
};

TEST_F(SaveUnitTableTest, FirstSaveKeepsTheOldFileAndLaterSavesLeaveItAlone)
{
    GameFolder game;
    auto images = Load(game);
    ScriptedPrompts prompts;

    images->units.record(16).setPrice(1000);
    EXPECT_TRUE(SaveUnitTable(game.text(), images->units, prompts));
    EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.DAT"), Copy(images->units.image()));
    EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.ORG"), game.units);

    images->units.record(1279).setName("LAST");
    EXPECT_TRUE(SaveUnitTable(game.text(), images->units, prompts));
    EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.DAT"), Copy(images->units.image()));
    EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.ORG"), game.units);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(Names(game.path()).size(), 5u);  // no temporary file remains
}

TEST_F(SaveUnitTableTest, AnUnchangedTableSavesByteForByte)
{
    GameFolder game;
    WriteBytes(game.path() / "UNITINFO.ORG", {1, 2, 3});
    auto images = Load(game);
    ScriptedPrompts prompts;
    EXPECT_TRUE(SaveUnitTable(game.text(), images->units, prompts));
    EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.DAT"), game.units);
    EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.ORG"), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(SaveUnitTableTest, ALongerFileBecomesTheBackupWholeAndTheSaveWritesTheTableOnly)
{
    GameFolder game;
    auto longer = game.units;
    longer.resize(kUnitTableSize + 500, 0x77);
    WriteBytes(game.path() / "UNITINFO.DAT", longer);
    auto images = Load(game);
    ScriptedPrompts prompts;
    EXPECT_TRUE(SaveUnitTable(game.text(), images->units, prompts));
    EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.DAT"), game.units);
    EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.ORG"), longer);
}

TEST_F(SaveUnitTableTest, SavesToTheNamesFoundWhateverTheirCase)
{
    GameFolder game;
    fs::rename(game.path() / "UNITINFO.DAT", game.path() / "unitinfo.dat");
    WriteBytes(game.path() / "Unitinfo.Org", {9});
    auto images = Load(game);
    images->units.record(0).setKind(3);
    ScriptedPrompts prompts;
    EXPECT_TRUE(SaveUnitTable(game.text(), images->units, prompts));
    EXPECT_EQ(ReadBytes(game.path() / "unitinfo.dat"), Copy(images->units.image()));
    EXPECT_EQ(ReadBytes(game.path() / "Unitinfo.Org"), (std::vector<std::uint8_t>{9}));
    EXPECT_EQ(Names(game.path()).count("UNITINFO.DAT"), 0u);
    EXPECT_EQ(Names(game.path()).count("UNITINFO.ORG"), 0u);
}

TEST_F(SaveUnitTableTest, AFolderThatRefusesNewFiles)
{
    GameFolder game;
    auto images = Load(game);
    images->units.record(1).setPrice(5);
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root; the next test covers the same failure";
    fs::permissions(game.path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(FailingSave(game, images->units), kSaveFailed);
    fs::permissions(game.path(), fs::perms::owner_all);
    ExpectUntouched(game);
}

TEST_F(SaveUnitTableTest, WhenTheNewFileCannotBeCreated)
{
    GameFolder game;
    auto images = Load(game);
    images->units.record(1).setPrice(5);
    corvane::fileWriteHooks.createFile = [](const fs::path&) {
        errno = EACCES;
        return -1;
    };
    EXPECT_EQ(FailingSave(game, images->units), kSaveFailed);
    ExpectUntouched(game);
}

TEST_F(SaveUnitTableTest, AFolderInPlaceOfTheUnitTable)
{
    GameFolder game;
    auto images = Load(game);
    fs::remove(game.path() / "UNITINFO.DAT");
    fs::create_directory(game.path() / "UNITINFO.DAT");
    WriteBytes(game.path() / "UNITINFO.DAT" / "inside", {1});
    EXPECT_EQ(FailingSave(game, images->units), kSaveFailed);
    EXPECT_TRUE(fs::is_directory(game.path() / "UNITINFO.DAT"));
    EXPECT_EQ(Names(game.path() / "UNITINFO.DAT"), std::set<std::string>{"inside"});
    EXPECT_EQ(Names(game.path()).size(), 4u);
}

TEST_F(SaveUnitTableTest, AWriteFailingMidwayChangesNothing)
{
    for (bool withBackup : {false, true}) {
        GameFolder game;
        if (withBackup)
            WriteBytes(game.path() / "UNITINFO.ORG", {4, 5});
        auto images = Load(game);
        images->units.record(2).setPrice(77);
        writesBeforeFailure_ = 3;
        corvane::fileWriteHooks.writeSome = FailingWrite;
        EXPECT_EQ(FailingSave(game, images->units),
                  game.file("UNITINFO.DAT") + " へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。");
        EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.DAT"), game.units);
        if (withBackup) {
            EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.ORG"), (std::vector<std::uint8_t>{4, 5}));
            fs::remove(game.path() / "UNITINFO.ORG");
        }
        ExpectUntouched(game);
    }
}

TEST_F(SaveUnitTableTest, WhenTheBackupCannotBeMade)
{
    GameFolder game;
    auto images = Load(game);
    fs::remove(game.path() / "UNITINFO.DAT");  // gone since it was loaded: nothing to keep
    EXPECT_EQ(FailingSave(game, images->units), game.file("UNITINFO.DAT") + " が見つかりませんでした。");
    EXPECT_EQ(Names(game.path()), (std::set<std::string>{"WEAPONKD.DAT", "UNITKIND.DAT", "MVCOSTKD.DAT"}));
}

TEST_F(SaveUnitTableTest, WithoutHardLinksTheBackupIsACopy)
{
    GameFolder game;
    auto images = Load(game);
    images->units.record(3).setPrice(3);
    corvane::fileWriteHooks.hardLink = [](const fs::path&, const fs::path&) { return EXDEV; };
    ScriptedPrompts prompts;
    EXPECT_TRUE(SaveUnitTable(game.text(), images->units, prompts));
    EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.DAT"), Copy(images->units.image()));
    EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.ORG"), game.units);
    EXPECT_EQ(Names(game.path()).size(), 5u);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(SaveUnitTableTest, ACopiedBackupFailingMidwayChangesNothing)
{
    GameFolder game;
    auto images = Load(game);
    images->units.record(3).setPrice(3);
    corvane::fileWriteHooks.hardLink = [](const fs::path&, const fs::path&) { return EPERM; };
    writesBeforeFailure_ = 277 + 2;  // the new table takes 277 writes, then the copy begins
    corvane::fileWriteHooks.writeSome = FailingWrite;
    EXPECT_EQ(FailingSave(game, images->units),
              game.file("UNITINFO.ORG") + " へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。");
    ExpectUntouched(game);
}

TEST_F(SaveUnitTableTest, AFailedReplaceRemovesTheBackupItMade)
{
    GameFolder game;
    auto images = Load(game);
    // Someone puts a folder where UNITINFO.DAT was just after the backup is made.
    corvane::fileWriteHooks.hardLink = [](const fs::path& from, const fs::path& to) {
        fs::create_hard_link(from, to);
        fs::rename(from, from.string() + ".moved");
        fs::create_directories(from / "inside");
        return 0;
    };
    EXPECT_EQ(FailingSave(game, images->units).find(game.file("UNITINFO.DAT") + " "), 0u);
    EXPECT_EQ(Names(game.path()), (std::set<std::string>{"UNITINFO.DAT", "UNITINFO.DAT.moved", "WEAPONKD.DAT",
                                                         "UNITKIND.DAT", "MVCOSTKD.DAT"}));
}
