#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <thread>

#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#endif

#include "DataTestSupport.h"
#include "data/DataFileSet.h"
#include "data/FileError.h"
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

// Read through a second table the caller keeps: a short file leaves the images as they were.
TEST(LoadGameImages, ThroughTheCallersCopy)
{
    GameFolder game;
    auto images = std::make_unique<GameImages>();
    auto scratch = std::make_unique<UnitTable>();
    ScriptedPrompts prompts;
    ASSERT_TRUE(LoadGameImages(game.text(), *images, prompts, *scratch));
    EXPECT_EQ(Copy(images->units.image()), game.units);
    EXPECT_EQ(Copy(scratch->image()), game.units);

    auto shorter = Pattern(kUnitTableSize, 9);
    shorter.pop_back();
    WriteBytes(game.path() / "UNITINFO.DAT", shorter);
    EXPECT_FALSE(LoadGameImages(game.text(), *images, prompts, *scratch));
    EXPECT_EQ(Copy(images->units.image()), game.units);
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
        bool keepsBackup = false;  // UNITINFO.ORG made and kept: UNITINFO.DAT is no longer the file it was made from
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
        // The hook moves UNITINFO.DAT to "elsewhere" and leaves a folder in its place: the backup made may now
        // be the only copy of the old table, so it stays, and the message says so.
        {"replace fails after the backup was made", false,
         [](const GameFolder&) {
             corvane::fileWriteHooks.hardLink = [](const fs::path& from, const fs::path& to) {
                 fs::create_hard_link(from, to);
                 fs::rename(from, from.parent_path() / "elsewhere");
                 WriteBytes(from / "inside", {1});  // a folder the new file cannot replace
                 return 0;
             };
         },
         [](const GameFolder& g) {
             return g.file("UNITINFO.DAT") + " へのｱｸｾｽは拒否されました。\n" + g.file("UNITINFO.ORG") + " は残してあります。";
         },
         true},
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
        if (c.keepsBackup)
            names.insert("UNITINFO.ORG");
        EXPECT_EQ(Names(game.path()), names);
        const std::vector<std::uint8_t> backup = c.withBackup ? std::vector<std::uint8_t>{4, 5}
                                               : c.keepsBackup ? game.units
                                                               : std::vector<std::uint8_t>{};
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

TEST_F(SaveAttemptTest, ReadOnlyTableIsNeverReplaced)
{
    // The read-only mark is honoured by the first save (no backup is made) as by every later one, and the
    // message gives the cause.
    for (const bool withBackup : {false, true}) {
        SCOPED_TRACE(withBackup ? "later save" : "first save");
        GameFolder game;
        if (withBackup)
            WriteBytes(game.path() / "UNITINFO.ORG", {7});
        fs::permissions(game.path() / "UNITINFO.DAT", kReadOnly);
        const Snapshot before = Snap(game.path());
        auto table = Edited(game);
        EXPECT_EQ(Attempt(game, *table), game.file("UNITINFO.DAT") + " へのｱｸｾｽは拒否されました。");
        EXPECT_EQ(Snap(game.path()), before);
        fs::permissions(game.path() / "UNITINFO.DAT", kReadWrite);
    }
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

TEST_F(SaveAttemptTest, BackupThatIsTheTableItselfIsRefused)
{
    // A backup that is the same file as the table would leave no copy of the original after the save.
    const std::function<void(const fs::path&, const fs::path&)> makers[] = {
        [](const fs::path& dat, const fs::path& org) { fs::create_hard_link(dat, org); },
#ifndef _WIN32
        [](const fs::path&, const fs::path& org) { fs::create_symlink("UNITINFO.DAT", org); },
        [](const fs::path& dat, const fs::path& org) { fs::create_symlink(dat, org); },
#endif
    };
    for (const auto& make : makers) {
        GameFolder game;
        make(game.path() / "UNITINFO.DAT", game.path() / "UNITINFO.ORG");
        const Snapshot before = Snap(game.path());
        EXPECT_EQ(Attempt(game, *Edited(game)), game.file("UNITINFO.ORG") + " へのｱｸｾｽは拒否されました。");
        EXPECT_EQ(Snap(game.path()), before);
    }
}

// After the rename the new table is in place: a folder that could not be flushed, or permissions that
// could not be read, are told (with a warning) rather than passed over.
TEST_F(SaveAttemptTest, SavedButNotFlushedOrModeNotKeptIsTold)
{
    struct Case {
        const char* what;
        void (*arrange)();
        std::string (*message)(const GameFolder&);
    };
    const Case cases[] = {
        {"folder not flushed", [] { corvane::fileWriteHooks.syncFolder = [](const fs::path&) { return EIO; }; },
         [](const GameFolder& g) {
             return g.file("UNITINFO.DAT") + " は新しい内容に置き換えましたが、ディスクに書き込まれていない可能性があります。\n"
                 + corvane::TextFromPath(g.path()) + " へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。";
         }},
        {"mode not read", [] { corvane::fileWriteHooks.statFile = [](const fs::path&) { return EIO; }; },
         [](const GameFolder& g) {
             return g.file("UNITINFO.DAT") + " は新しい内容に置き換えましたが、元のファイルのアクセス許可を引き継げませんでした。\n"
                 + g.file("UNITINFO.DAT") + " へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameFolder game;
        WriteBytes(game.path() / "UNITINFO.ORG", {7});
        const auto hooks = corvane::fileWriteHooks;
        c.arrange();
        auto table = Edited(game);
        ScriptedPrompts prompts;
        const SaveOutcome outcome = SaveUnitTable(game.text(), *table, prompts, SaveRequest{});
        corvane::fileWriteHooks = hooks;
        EXPECT_TRUE(outcome.saved);
        EXPECT_TRUE(outcome.warned);
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].text, c.message(game));
        EXPECT_EQ(prompts.messages[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.DAT"), Copy(table->image()));
        EXPECT_EQ(Names(game.path()).size(), 5u);
    }
}

TEST_F(SaveAttemptTest, ChangedOnDiskIsFoundBeforeAnythingIsWritten)
{
    GameFolder game;
    auto table = Edited(game);
    auto other = game.units;
    other[100] ^= 0xFF;  // another program's save
    WriteBytes(game.path() / "UNITINFO.DAT", other);
    const Snapshot before = Snap(game.path());
    ScriptedPrompts prompts;
    SaveRequest request;
    request.expected = game.units;
    const SaveOutcome outcome = SaveUnitTable(game.text(), *table, prompts, request);
    EXPECT_FALSE(outcome.saved);
    EXPECT_TRUE(outcome.changedOnDisk);
    EXPECT_EQ(outcome.found, other);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(Snap(game.path()), before);

    request.expected = other;  // the user said to overwrite what was found
    EXPECT_TRUE(SaveUnitTable(game.text(), *table, prompts, request).saved);
    EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.DAT"), Copy(table->image()));
    EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.ORG"), other);
}

#ifdef _WIN32
// Another program holds UNITINFO.DAT open without letting it be replaced: the first save fails before it
// makes a backup it could not take back, and leaves the file's attributes and the folder as they were.
TEST_F(SaveAttemptTest, TableHeldOpenByAnotherProgram)
{
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "writable");
        GameFolder game;
        const fs::path dat = game.path() / "UNITINFO.DAT";
        if (readOnly)
            fs::permissions(dat, kReadOnly);
        const DWORD attributes = ::GetFileAttributesW(dat.c_str());
        const HANDLE held = ::CreateFileW(dat.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        const Snapshot before = Snap(game.path());
        EXPECT_EQ(Attempt(game, *Edited(game)),
                  game.file("UNITINFO.DAT") + (readOnly ? " へのｱｸｾｽは拒否されました。" : " へのｱｸｾｽ中に共有違反が発生しました。"));
        EXPECT_EQ(::GetFileAttributesW(dat.c_str()), attributes);
        EXPECT_EQ(Snap(game.path()), before);
        ::CloseHandle(held);
        fs::permissions(dat, kReadWrite);
    }
}
#endif

TEST(FolderLock, ExcludesAnotherHolderUntilReleased)
{
    TempFolder folder;
    int err = 0;
    auto first = corvane::FolderLock::take(folder.path(), 0, err);
    ASSERT_TRUE(first) << err;
    EXPECT_FALSE(corvane::FolderLock::take(folder.path(), 50, err));
    EXPECT_EQ(err, EWOULDBLOCK);
    first.reset();
    EXPECT_TRUE(corvane::FolderLock::take(folder.path(), 0, err));
    EXPECT_EQ(Names(folder.path()).size(), 0u);  // only the lock's own file is there
    EXPECT_TRUE(fs::exists(folder.path() / corvane::FolderLock::kFileName));
}

TEST(FolderLock, SaveWaitsForAnotherSaveToEnd)
{
    GameFolder game;
    int err = 0;
    auto held = corvane::FolderLock::take(game.path(), 0, err);
    ASSERT_TRUE(held);
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        held.reset();
    });
    auto table = std::make_unique<UnitTable>();
    table->load(game.units);
    table->record(5).setPrice(5);
    ScriptedPrompts prompts;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(SaveUnitTable(game.text(), *table, prompts));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
    other.join();
    EXPECT_EQ(ReadBytes(game.path() / "UNITINFO.DAT"), Copy(table->image()));
}

#ifdef _WIN32
// Run as a child process by FolderLock.KilledHolderLeavesTheFolderFree: holds the lock of the folder the
// environment names until it is killed. Skipped when run on its own.
TEST(FolderLockHolder, HoldsUntilKilled)
{
    wchar_t folder[MAX_PATH];
    if (!::GetEnvironmentVariableW(L"CORVANE_TEST_HOLD_LOCK", folder, MAX_PATH))
        GTEST_SKIP() << "run by FolderLock.KilledHolderLeavesTheFolderFree";
    int err = 0;
    const auto lock = corvane::FolderLock::take(folder, 0, err);
    if (lock)
        WriteBytes(fs::path(folder) / "held", {1});
    ::Sleep(INFINITE);
}

// The system takes a lock back when its holder ends, however it ends.
TEST(FolderLock, KilledHolderLeavesTheFolderFree)
{
    TempFolder folder;
    wchar_t self[MAX_PATH];
    ASSERT_GT(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=FolderLockHolder.*";
    ASSERT_TRUE(::SetEnvironmentVariableW(L"CORVANE_TEST_HOLD_LOCK", folder.path().c_str()));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const bool started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                          nullptr, &startup, &child);
    ::SetEnvironmentVariableW(L"CORVANE_TEST_HOLD_LOCK", nullptr);
    ASSERT_TRUE(started);
    for (int waited = 0; waited < 600 && !fs::exists(folder.path() / "held"); ++waited)
        ::Sleep(50);
    ASSERT_TRUE(fs::exists(folder.path() / "held"));
    int err = 0;
    EXPECT_FALSE(corvane::FolderLock::take(folder.path(), 0, err));
    ::TerminateProcess(child.hProcess, 1);
    ::WaitForSingleObject(child.hProcess, INFINITE);
    ::CloseHandle(child.hProcess);
    ::CloseHandle(child.hThread);
    EXPECT_TRUE(corvane::FolderLock::take(folder.path(), 0, err));
}
#else
// The system takes a lock back when its holder ends, however it ends.
TEST(FolderLock, KilledHolderLeavesTheFolderFree)
{
    TempFolder folder;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int err = 0;
        auto lock = corvane::FolderLock::take(folder.path(), 0, err);
        const char byte = lock ? 1 : 0;
        (void)!::write(ready[1], &byte, 1);
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, 1);
    int err = 0;
    EXPECT_FALSE(corvane::FolderLock::take(folder.path(), 0, err));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(corvane::FolderLock::take(folder.path(), 0, err));
    ::close(ready[0]);
    ::close(ready[1]);
}
#endif

// A save or export in a folder removes the temporary files that killed runs left there, never the one
// that a live writer is still filling.
TEST(TemporaryFiles, ALiveWritersFileStays)
{
    TempFolder folder;
    static std::promise<void> writing;
    static std::promise<void> goOn;
    writing = {};
    goOn = {};
    static std::atomic<bool> first{true};
    first = true;
    const auto hooks = corvane::fileWriteHooks;
    corvane::fileWriteHooks.writeSome = [](int fd, const void* data, std::size_t size) -> long {
        if (first.exchange(false)) {
            writing.set_value();
            goOn.get_future().wait();
        }
        return RawWrite(fd, data, size);
    };
    const std::vector<std::uint8_t> slow = Pattern(1000, 1), quick = Pattern(500, 2);
    std::optional<corvane::ReplaceError> slowError;
    std::thread writer([&] { slowError = corvane::ReplaceFileKeepingBackup(folder.path() / "slow.bin", {}, slow); });
    writing.get_future().wait();
    WriteBytes(folder.path() / ".corvane-0badf00d.tmp", {1});  // a leftover of a killed run
    EXPECT_FALSE(corvane::ReplaceFileKeepingBackup(folder.path() / "quick.bin", {}, quick));
    EXPECT_EQ(Names(folder.path()).size(), 2u);  // quick.bin and the live temporary file
    goOn.set_value();
    writer.join();
    corvane::fileWriteHooks = hooks;
    EXPECT_FALSE(slowError);
    EXPECT_EQ(ReadBytes(folder.path() / "slow.bin"), slow);
    EXPECT_EQ(ReadBytes(folder.path() / "quick.bin"), quick);
    EXPECT_EQ(Names(folder.path()), (std::set<std::string>{"quick.bin", "slow.bin"}));
}

TEST(WriteExportFile, TheGamesTablesAreRefusedHoweverSpelled)
{
    GameFolder game;
    WriteBytes(game.path() / "UNITINFO.ORG", {4, 5});
    fs::create_directory(game.path() / "sub");
    fs::create_hard_link(game.path() / "UNITINFO.ORG", game.path() / "second.org");
    std::vector<fs::path> spellings = {game.path() / "UNITINFO.DAT", game.path() / "sub" / ".." / "UNITINFO.ORG",
                                       game.path() / "second.org"};
#ifdef _WIN32
    spellings.push_back(game.path() / "unitinfo.dat");
#else
    fs::create_symlink("../UNITINFO.DAT", game.path() / "sub" / "link.csv");
    spellings.push_back(game.path() / "sub" / "link.csv");
#endif
    const auto protectedFiles = GameTableFiles(game.text());
    const Snapshot before = Snap(game.path());
    for (const fs::path& path : spellings) {
        SCOPED_TRACE(corvane::TextFromPath(path));
        const auto error = corvane::WriteExportFile(path, std::vector<std::uint8_t>{1, 2, 3}, protectedFiles);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->step, corvane::ReplaceError::Step::Refused);
        EXPECT_EQ(ReplaceErrorText(*error, "X"),
                  "X はゲームの兵器データファイル (UNITINFO.DAT または UNITINFO.ORG) です。別のファイルを指定してください。");
    }
    EXPECT_EQ(Snap(game.path()), before);
    EXPECT_FALSE(corvane::WriteExportFile(game.path() / "units.csv", std::vector<std::uint8_t>{1}, protectedFiles));
}
