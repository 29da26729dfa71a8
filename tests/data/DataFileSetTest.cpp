#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>

#include "DataTestSupport.h"
#include "data/DataFileSet.h"
#include "data/FileIo.h"

namespace {

const std::string kPrompt = "大戦略をインストールしたフォルダを選択し、\n「UNITINFO.DAT」を指定してください";
const std::string kGiveUp = "インストールフォルダを指定しない場合本ソフトフェアは使用出来ません";
const std::string kSaveFailed = "保存に失敗しました";
const std::set<std::string> kDataFiles = {"UNITINFO.DAT", "WEAPONKD.DAT", "UNITKIND.DAT", "MVCOSTKD.DAT"};

struct GameFolder : TempFolder {
    std::vector<std::uint8_t> units = Pattern(kUnitTableSize, 1);
    GameFolder()
    {
        WriteBytes(path() / "UNITINFO.DAT", units);
        WriteBytes(path() / "WEAPONKD.DAT", Pattern(WeaponTable::kImageSize, 2));
        WriteBytes(path() / "UNITKIND.DAT", Pattern(KindTable::kImageSize, 3));
        WriteBytes(path() / "MVCOSTKD.DAT", Pattern(MoveCostTable::kImageSize, 4));
    }
};

template <class Image>
std::vector<std::uint8_t> Copy(const Image& image)
{
    return std::vector<std::uint8_t>(image.begin(), image.end());
}

// Runs a load that is expected to fail with one stop message, and returns that message.
std::string FailedLoad(const std::string& folder, GameImages& images)
{
    ScriptedPrompts prompts;
    EXPECT_FALSE(LoadGameImages(folder, images, prompts));
    if (prompts.messages.size() != 1)
        return "messages: " + std::to_string(prompts.messages.size());
    EXPECT_EQ(prompts.messages[0].icon, MsgIcon::Stop);
    EXPECT_EQ(prompts.messages[0].buttons, MsgButtons::Ok);
    return prompts.messages[0].text;
}

}  // namespace

TEST(LocateGameFolder, FoundWithoutAWord)
{
    GameFolder game;
    fs::rename(game.path() / "UNITINFO.DAT", game.path() / "Unitinfo.Dat");
    std::string folder = game.text();
    ScriptedPrompts prompts;
    EXPECT_TRUE(LocateGameFolder(folder, prompts));
    EXPECT_EQ(folder, game.text());

    // An empty folder text means the current folder.
    const fs::path before = fs::current_path();
    fs::current_path(game.path());
    folder.clear();
    EXPECT_TRUE(LocateGameFolder(folder, prompts));
    fs::current_path(before);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST(LocateGameFolder, ThePromptLoop)
{
    struct Case {
        std::deque<MsgAnswer> answers;
        std::deque<const char*> files;  // chosen in the game folder; nullptr cancels the dialog
        bool found;
        std::vector<std::string> texts;
    };
    using enum MsgAnswer;
    const Case cases[] = {
        {{Ok}, {"WEAPONKD.DAT"}, true, {kPrompt}},  // any file of the game folder will do
        {{Ok, Ok}, {nullptr, "UNITINFO.DAT"}, true, {kPrompt, kPrompt}},
        {{Cancel, Ok}, {}, false, {kPrompt, kGiveUp}},
        {{Cancel, Cancel, Ok}, {"UNITINFO.DAT"}, true, {kPrompt, kGiveUp, kPrompt}},
    };
    for (const Case& c : cases) {
        GameFolder game;
        TempFolder elsewhere;
        std::string folder = elsewhere.text();
        ScriptedPrompts prompts;
        prompts.answers = c.answers;
        for (const char* name : c.files)
            prompts.files.push_back(name ? std::optional(game.file(name)) : std::nullopt);
        EXPECT_EQ(LocateGameFolder(folder, prompts), c.found);
        EXPECT_EQ(folder, c.found ? game.text() : "");
        ASSERT_EQ(prompts.messages.size(), c.texts.size());
        for (std::size_t i = 0; i < c.texts.size(); ++i) {
            EXPECT_EQ(prompts.messages[i].text, c.texts[i]);
            EXPECT_EQ(prompts.messages[i].icon, c.texts[i] == kPrompt ? MsgIcon::Exclamation : MsgIcon::Stop);
            EXPECT_EQ(prompts.messages[i].buttons, MsgButtons::OkCancel);
        }
        for (const OpenFileRequest& request : prompts.requests) {
            EXPECT_EQ(request.title, "大戦略インストールフォルダの選択");
            EXPECT_EQ(request.filter, "ﾃﾞｰﾀﾌｧｲﾙ (*.dat)|*.dat|全てのﾌｧｲﾙ (*.*)|*.*||");
            EXPECT_EQ(request.initialName, "UNITINFO.DAT");
            EXPECT_EQ(request.initialFolder + request.defaultExt, "");
            EXPECT_FALSE(request.save);
        }
    }
}

TEST(LocateGameFolder, AFolderNamedUnitInfoDoesNotCount)
{
    TempFolder game;
    fs::create_directory(game.path() / "UNITINFO.DAT");
    std::string folder = game.text();
    ScriptedPrompts prompts;
    prompts.answers = {MsgAnswer::Ok, MsgAnswer::Cancel, MsgAnswer::Ok};
    prompts.files = {game.file("UNITINFO.DAT")};
    EXPECT_FALSE(LocateGameFolder(folder, prompts));
    EXPECT_EQ(prompts.messages.size(), 3u);
}

TEST(LoadGameImages, LoadsFirstBytesAndZeroFillsShortTables)
{
    GameFolder game;
    auto longer = game.units;
    longer.resize(kUnitTableSize + 500, 0x77);
    WriteBytes(game.path() / "UNITINFO.DAT", longer);
    WriteBytes(game.path() / "UNITKIND.DAT", {});
    WriteBytes(game.path() / "MVCOSTKD.DAT", Pattern(30639, 6));
    auto images = std::make_unique<GameImages>();
    images->kinds.image()[0] = images->moveCosts.image()[30639] = 0xee;
    ScriptedPrompts prompts;
    EXPECT_TRUE(LoadGameImages(game.text(), *images, prompts));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(Copy(images->units.image()), game.units);
    EXPECT_EQ(Copy(images->weapons.image()), Pattern(WeaponTable::kImageSize, 2));
    EXPECT_EQ(images->kinds.image()[0], 0);
    EXPECT_EQ(images->moveCosts.image()[30638], Pattern(30639, 6)[30638]);
    EXPECT_EQ(images->moveCosts.image()[30639], 0);
}

TEST(LoadGameImages, EachFileThatCannotBeOpenedHasItsMessage)
{
    const std::pair<const char*, const char*> files[] = {
        {"UNITINFO.DAT", "兵器データファイルをオープンできません"},
        {"WEAPONKD.DAT", "武器データファイルをオープンできません"},
        {"UNITKIND.DAT", "兵種データファイルをオープンできません"},
        {"MVCOSTKD.DAT", "移動力データファイルをオープンできません"},
    };
    for (int i = 0; i < 4; ++i) {
        GameFolder game;
        fs::remove(game.path() / files[i].first);
        if (i == 2)
            fs::create_directory(game.path() / files[i].first);  // a folder cannot be opened either
        auto images = std::make_unique<GameImages>();
        images->moveCosts.image()[0] = 0xee;
        EXPECT_EQ(FailedLoad(game.text(), *images), files[i].second);
        EXPECT_EQ(images->units.image()[0], i > 0 ? game.units[0] : 0);  // files before it are loaded
        EXPECT_EQ(images->moveCosts.image()[0], 0xee);                    // the last one is untouched
    }
}

TEST(LoadGameImages, ShortOrUnreadableUnitTable)
{
    GameFolder game;
    WriteBytes(game.path() / "UNITINFO.DAT", Pattern(kUnitTableSize - 1, 9));
    auto images = std::make_unique<GameImages>();
    EXPECT_EQ(FailedLoad(game.text(), *images), "兵器データファイルのサイズが正しくありません\n" + game.file("UNITINFO.DAT"));
    EXPECT_EQ(images->units.image()[100], 0);
#ifdef __linux__
    fs::remove(game.path() / "UNITINFO.DAT");
    fs::create_symlink("/proc/self/mem", game.path() / "UNITINFO.DAT");  // reading its start fails with EIO
    EXPECT_EQ(FailedLoad(game.text(), *images), game.file("UNITINFO.DAT") + " へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。");
#endif
}

class SaveUnitTableTest : public ::testing::Test {
protected:
    void TearDown() override { corvane::fileWriteHooks = savedHooks_; }

    // A loaded table with one change.
    std::unique_ptr<UnitTable> Edited(const GameFolder& game)
    {
        auto table = std::make_unique<UnitTable>();
        table->load(game.units);
        table->record(16).setPrice(1000);
        return table;
    }
    bool Save(const GameFolder& game, const UnitTable& table, std::vector<ScriptedPrompts::Message>* messages = nullptr)
    {
        ScriptedPrompts prompts;
        const bool saved = SaveUnitTable(game.text(), table, prompts);
        if (messages)
            *messages = prompts.messages;
        else
            EXPECT_TRUE(prompts.messages.empty());
        return saved;
    }

    // Lets `writes` writes of 1000 bytes through, then fails with a full disk.
    static inline int writes = 0;
    static long FailingWrite(int fd, const void* data, std::size_t size)
    {
        if (writes-- > 0)
            return RawWrite(fd, data, std::min<std::size_t>(size, 1000));
        errno = ENOSPC;
        return -1;
    }

private:
    corvane::FileWriteHooks savedHooks_ = corvane::fileWriteHooks;
};

TEST_F(SaveUnitTableTest, FirstSaveKeepsTheOldFileLaterSavesLeaveItAlone)
{
    for (bool hardLinks : {true, false}) {
        GameFolder game;
        if (!hardLinks)
            corvane::fileWriteHooks.hardLink = [](const fs::path&, const fs::path&) { return EXDEV; };
        auto table = Edited(game);
        EXPECT_TRUE(Save(game, *table));
        EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.DAT"), Copy(table->image()));
        EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.ORG"), game.units);

        table->record(1279).setName("LAST");
        EXPECT_TRUE(Save(game, *table));
        EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.DAT"), Copy(table->image()));
        EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.ORG"), game.units);
        EXPECT_EQ(Names(game.path()).size(), 5u);  // no temporary file remains
    }
}

TEST_F(SaveUnitTableTest, WritesExactlyTheTableToTheNamesFound)
{
    GameFolder game;
    auto longer = game.units;
    longer.resize(kUnitTableSize + 500, 0x77);
    WriteBytes(game.path() / "UNITINFO.DAT", longer);
    fs::rename(game.path() / "UNITINFO.DAT", game.path() / "unitinfo.dat");
    auto table = Edited(game);
    EXPECT_TRUE(Save(game, *table));
    EXPECT_EQ(ReadBytes(game.path() / "unitinfo.dat"), Copy(table->image()));
    EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.ORG"), longer);

    WriteBytes(game.path() / "UNITINFO.ORG", {9});
    fs::rename(game.path() / "UNITINFO.ORG", game.path() / "Unitinfo.Org");
    table->load(game.units);
    EXPECT_TRUE(Save(game, *table));
    EXPECT_EQ(ReadBytes(game.path() / "unitinfo.dat"), game.units);  // unchanged table: byte for byte
    EXPECT_EQ(ReadBytes(game.path() / "Unitinfo.Org"), std::vector<std::uint8_t>{9});
    EXPECT_EQ(Names(game.path()).size(), 5u);
}

// Every failure leaves UNITINFO.DAT and UNITINFO.ORG as they were, no temporary file, and one message.
TEST_F(SaveUnitTableTest, FailuresChangeNothing)
{
    struct Case {
        const char* what;
        bool withBackup;  // UNITINFO.ORG present before the save
        std::function<void(const GameFolder&)> arrange;
        std::function<std::string(const GameFolder&)> message;
    };
    const auto saveFailed = [](const GameFolder&) { return kSaveFailed; };
    const auto diskFull = [](const char* name) {
        return [name](const GameFolder& g) { return g.file(name) + " へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。"; };
    };
    const Case cases[] = {
        {"read-only folder", false,
         [](const GameFolder& g) {
             if (!PermissionsStopWrites()) {  // as for root: refuse the new file instead
                 corvane::fileWriteHooks.createFile = [](const fs::path&) { errno = EACCES; return -1; };
             } else {
                 fs::permissions(g.path(), fs::perms::owner_read | fs::perms::owner_exec);
             }
         },
         saveFailed},
        {"folder in place of the table", true,
         [](const GameFolder& g) {
             fs::remove(g.path() / "UNITINFO.DAT");
             WriteBytes(g.path() / "UNITINFO.DAT" / "inside", {1});
         },
         saveFailed},
        {"write fails midway", false, [](const GameFolder&) { writes = 3; corvane::fileWriteHooks.writeSome = FailingWrite; },
         diskFull("UNITINFO.DAT")},
        {"write fails midway, backup present", true,
         [](const GameFolder&) { writes = 3; corvane::fileWriteHooks.writeSome = FailingWrite; }, diskFull("UNITINFO.DAT")},
        {"copied backup fails midway", false,
         [](const GameFolder&) {
             corvane::fileWriteHooks.hardLink = [](const fs::path&, const fs::path&) { return EPERM; };
             writes = 277 + 2;  // the new table takes 277 writes, then the copy begins
             corvane::fileWriteHooks.writeSome = FailingWrite;
         },
         diskFull("UNITINFO.ORG")},
        {"table gone since loading: nothing to keep", false,
         [](const GameFolder& g) { fs::rename(g.path() / "UNITINFO.DAT", g.path() / "elsewhere"); },
         [](const GameFolder& g) { return g.file("UNITINFO.DAT") + " が見つかりませんでした。"; }},
        // The hook moves UNITINFO.DAT to "elsewhere" and leaves a folder in its place.
        {"replace fails after the backup was made", false,
         [](const GameFolder&) {
             corvane::fileWriteHooks.hardLink = [](const fs::path& from, const fs::path& to) {
                 fs::create_hard_link(from, to);
                 fs::rename(from, from.parent_path() / "elsewhere");
                 WriteBytes(from / "inside", {1});  // a folder the new file cannot replace
                 return 0;
             };
         },
         [](const GameFolder& g) { return g.file("UNITINFO.DAT") + " へのｱｸｾｽは拒否されました。"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameFolder game;
        if (c.withBackup)
            WriteBytes(game.path() / "UNITINFO.ORG", {4, 5});
        auto table = Edited(game);
        const auto hooks = corvane::fileWriteHooks;
        c.arrange(game);
        auto names = Names(game.path());
        const auto dat = ReadBytes(game.path() / "UNITINFO.DAT");
        std::vector<ScriptedPrompts::Message> messages;
        EXPECT_FALSE(Save(game, *table, &messages));
        corvane::fileWriteHooks = hooks;
        fs::permissions(game.path(), fs::perms::owner_all);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, c.message(game));
        EXPECT_EQ(messages[0].icon, MsgIcon::Stop);
        EXPECT_EQ(messages[0].buttons, MsgButtons::Ok);
        if (names.count("UNITINFO.DAT") && !fs::exists(game.path() / "elsewhere")) {
            EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.DAT"), dat);
        } else if (names.count("UNITINFO.DAT")) {
            names.insert("elsewhere");  // moved there by the hook, with the old bytes
            EXPECT_EQ(ReadBytes(game.path() / "elsewhere"), game.units);
        }
        EXPECT_EQ(Names(game.path()), names);
        const std::vector<std::uint8_t> backup = c.withBackup ? std::vector<std::uint8_t>{4, 5} : std::vector<std::uint8_t>{};
        EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.ORG"), backup);
    }
}

// A save attempt on a prepared folder: the message it shows (none for success) and every entry after it,
// byte for byte and mode for mode.
class SaveAttemptTest : public SaveUnitTableTest {
protected:
    std::string Attempt(const GameFolder& game, const UnitTable& table)
    {
        ScriptedPrompts prompts;
        const bool saved = SaveUnitTable(game.text(), table, prompts);
        EXPECT_EQ(saved, prompts.messages.empty());
        if (prompts.messages.empty())
            return "";
        EXPECT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].icon, MsgIcon::Stop);
        EXPECT_EQ(prompts.messages[0].buttons, MsgButtons::Ok);
        return prompts.messages[0].text;
    }
    static Entry File(const std::vector<std::uint8_t>& bytes, fs::perms perms)
    {
        return {fs::file_type::regular, perms, bytes, {}};
    }
    static constexpr fs::perms kReadWrite = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    static constexpr fs::perms kReadOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
};

#ifndef _WIN32
TEST_F(SaveAttemptTest, LinkedTableIsReplacedWhereItLiesAndTheBackupIsACopy)
{
    for (bool hardLinks : {true, false}) {
        SCOPED_TRACE(hardLinks ? "hard link" : "copy");
        GameFolder game;
        fs::create_directory(game.path() / "real");
        fs::rename(game.path() / "UNITINFO.DAT", game.path() / "real" / "units.bin");
        fs::permissions(game.path() / "real" / "units.bin", kReadWrite);
        fs::create_symlink("real/units.bin", game.path() / "UNITINFO.DAT");
        if (!hardLinks)
            corvane::fileWriteHooks.hardLink = [](const fs::path&, const fs::path&) { return EXDEV; };
        Snapshot expected = Snap(game.path());
        Snapshot expectedReal = Snap(game.path() / "real");
        auto table = Edited(game);

        EXPECT_EQ(Attempt(game, *table), "");
        expected["UNITINFO.ORG"] = File(game.units, kReadWrite);
        expectedReal["units.bin"] = File(Copy(table->image()), kReadWrite);
        EXPECT_EQ(Snap(game.path()), expected);
        EXPECT_EQ(Snap(game.path() / "real"), expectedReal);

        // The backup follows no later change.
        table->record(3).setPrice(3);
        EXPECT_EQ(Attempt(game, *table), "");
        expectedReal["units.bin"] = File(Copy(table->image()), kReadWrite);
        EXPECT_EQ(Snap(game.path()), expected);
        EXPECT_EQ(Snap(game.path() / "real"), expectedReal);
    }
}

TEST_F(SaveAttemptTest, DanglingLinkIsNotFound)
{
    GameFolder game;
    fs::remove(game.path() / "UNITINFO.DAT");
    fs::create_symlink("gone.dat", game.path() / "UNITINFO.DAT");
    const Snapshot before = Snap(game.path());
    EXPECT_EQ(Attempt(game, *Edited(game)), game.file("UNITINFO.DAT") + " が見つかりませんでした。");
    EXPECT_EQ(Snap(game.path()), before);
}
#endif

TEST_F(SaveAttemptTest, BackupNameTakenByWhatIsNoReadableFile)
{
    const std::function<void(const fs::path&)> takers[] = {
        [](const fs::path& org) { WriteBytes(org / "inside", {1}); },
#ifndef _WIN32
        [](const fs::path& org) { fs::create_symlink("nowhere", org); },
        [](const fs::path& org) { fs::create_directory(org.parent_path() / "sub"); fs::create_symlink("sub", org); },
        [](const fs::path& org) { WriteBytes(org, {1, 2}); fs::permissions(org, fs::perms::owner_write); },
#endif
    };
    for (const auto& take : takers) {
        GameFolder game;
        take(game.path() / "UNITINFO.ORG");
        const Snapshot before = Snap(game.path());
        EXPECT_EQ(Attempt(game, *Edited(game)), game.file("UNITINFO.ORG") + " へのｱｸｾｽは拒否されました。");
        EXPECT_EQ(Snap(game.path()), before);
        std::error_code ec;
        fs::permissions(game.path() / "UNITINFO.ORG", fs::perms::owner_all, fs::perm_options::add, ec);
    }
}

TEST_F(SaveAttemptTest, ReadOnlyTable)
{
    // With the backup there, the table would be written over in place: refused, nothing changes.
    GameFolder game;
    WriteBytes(game.path() / "UNITINFO.ORG", {7});
    fs::permissions(game.path() / "UNITINFO.DAT", kReadOnly);
    const Snapshot before = Snap(game.path());
    auto table = Edited(game);
    EXPECT_EQ(Attempt(game, *table), kSaveFailed);
    EXPECT_EQ(Snap(game.path()), before);

    // The first save moves the old file aside and makes a new one, with the old file's permissions.
    fs::remove(game.path() / "UNITINFO.ORG");
    Snapshot expected = Snap(game.path());
    EXPECT_EQ(Attempt(game, *table), "");
    expected["UNITINFO.ORG"] = File(game.units, kReadOnly);
    expected["UNITINFO.DAT"] = File(Copy(table->image()), kReadOnly);
    EXPECT_EQ(Snap(game.path()), expected);
}

TEST_F(SaveAttemptTest, PermissionsThatCannotBeSetStopTheSaveBeforeTheReplace)
{
    GameFolder game;
    WriteBytes(game.path() / "UNITINFO.ORG", {7});
    const Snapshot before = Snap(game.path());
    corvane::fileWriteHooks.copyPermissions = [](const fs::path&, const fs::path&) { return EPERM; };
    EXPECT_EQ(Attempt(game, *Edited(game)), game.file("UNITINFO.DAT") + " へのｱｸｾｽは拒否されました。");
    EXPECT_EQ(Snap(game.path()), before);
}

TEST_F(SaveAttemptTest, LeftoversOfAKilledSaveGoOthersStay)
{
    GameFolder game;
    WriteBytes(game.path() / "UNITINFO.ORG", {7});
    for (const char* name : {".corvane-0BADF00D.tmp", ".corvane-123.tmp", "x.corvane-0badf00d.tmp"})
        WriteBytes(game.path() / name, {1});
    fs::create_directory(game.path() / ".corvane-00000000.tmp");
    Snapshot expected = Snap(game.path());
    WriteBytes(game.path() / ".corvane-0badf00d.tmp", {1});
    // A second name of UNITINFO.DAT keeps the old table: the file is replaced, not written through.
    fs::create_hard_link(game.path() / "UNITINFO.DAT", game.path() / "other.dat");
    expected["other.dat"] = File(game.units, fs::status(game.path() / "UNITINFO.DAT").permissions());
    auto table = Edited(game);
    EXPECT_EQ(Attempt(game, *table), "");
    expected["UNITINFO.DAT"].bytes = Copy(table->image());
    EXPECT_EQ(Snap(game.path()), expected);
}
