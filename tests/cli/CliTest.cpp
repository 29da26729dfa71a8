// corvane-cli, run as the built executable on demo game folders: each command's work, its refusals with
// their exit status and message, and a game folder left exactly as it was whenever a command fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>

#include "data/UnitTable.h"
#include "demo/DemoGameFolder.h"
#include "exchange/core/UnitFile.h"

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const fs::path& file, const std::string& text)
{
    std::ofstream(file, std::ios::binary) << text;
}

std::string Quote(const std::string& arg)
{
    std::string quoted = "'";
    for (char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "corvane-cli-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        game_ = root_ / "Ds6";
        WriteGameFolder(game_, MakeDemoGameFiles());
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    Outcome run(const std::vector<std::string>& args) { return runProgram(CORVANE_CLI_PATH, args); }

    // A program run in root_, stopped when it takes more than a minute (exit status 124).
    Outcome runProgram(const char* program, const std::vector<std::string>& args)
    {
        std::string command = "cd " + Quote(root_.string()) + " && timeout 60 " + Quote(program);
        for (const auto& arg : args)
            command += " " + Quote(arg);
        command += " >" + Quote((root_ / "out.txt").string()) + " 2>" + Quote((root_ / "err.txt").string());
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(root_ / "out.txt"), ReadText(root_ / "err.txt")};
    }

    // Every file of the game folder (pictures and the folder lock's empty file left out) with its bytes.
    std::map<std::string, std::string> snapshot() const
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(game_))
            if (entry.is_regular_file() && entry.path().filename() != ".corvane.lock")
                files[entry.path().filename().string()] = ReadText(entry.path());
        return files;
    }

    UnitTable table(const fs::path& file) const
    {
        const std::string bytes = ReadText(file);
        UnitTable t;
        t.load(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
        return t;
    }

    std::string g() const { return game_.string(); }
    std::string at(const char* name) const { return (root_ / name).string(); }

    fs::path root_;
    fs::path game_;
};

}  // namespace

TEST_F(Cli, HelpAndWrongUsage)
{
    Outcome r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("  diff TABLE_A TABLE_B"), std::string::npos);
    r = run({"bulk", "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("使い方: corvane-cli bulk GAME LIST.cmd\n", 0), 0u);

    const std::string more = "詳しくは corvane-cli --help を見てください。\n";
    EXPECT_EQ(run({}).err, "corvane-cli: コマンドがありません\n" + more);
    r = run({"frobnicate"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "corvane-cli: 「frobnicate」というコマンドはありません\n" + more);
    r = run({"show", g()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "corvane-cli: 引数の数が違います。使い方: corvane-cli show GAME UNIT\n" + more);
    r = run({"export", g(), "1280", at("x.sui")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "corvane-cli: 「1280」は 0 から 1279 までの兵器番号ではありません\n" + more);
    EXPECT_FALSE(fs::exists(at("x.sui")));
}

TEST_F(Cli, ShowPrintsEveryFieldAsTheFormLabelsIt)
{
    const Outcome r = run({"show", g() + "/", "737"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("番号: 0737\n名前: ", 0), 0u);
    EXPECT_NE(r.out.find("\n価格: 1000\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n生産可能国: "), std::string::npos);
    EXPECT_NE(r.out.find("\ndata11: "), std::string::npos);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1 + 137);  // 番号 and the 137 fields
    // The game folder is found without regard to letter case, like the editor finds it.
    fs::rename(game_ / "UNITINFO.DAT", game_ / "unitinfo.dat");
    EXPECT_EQ(run({"show", g(), "1279"}).status, 0);
}

TEST_F(Cli, CsvExportEditImportChangesOnlyThatCellAndKeepsABackup)
{
    const auto before = snapshot();
    Outcome r = run({"csv-export", g(), at("units.csv")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(snapshot(), before);
    std::string csv = ReadText(at("units.csv"));
    ASSERT_EQ(csv.rfind("\xEF\xBB\xBF番号,名前,兵種,", 0), 0u);
    const std::size_t row = csv.find("\r\n737,");
    const std::size_t price = csv.find(",1000,", row);
    ASSERT_NE(price, std::string::npos);
    csv.replace(price, 6, ",1200,");
    WriteText(at("units.csv"), csv);

    r = run({"csv-import", g(), at("units.csv")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1280個の兵器を読み込みました\n");
    EXPECT_EQ(ReadText(game_ / "UNITINFO.ORG"), before.at("UNITINFO.DAT"));
    UnitTable expected = table(game_ / "UNITINFO.ORG");
    expected.record(737).setPrice(1200);
    const auto image = expected.image();
    EXPECT_EQ(ReadText(game_ / "UNITINFO.DAT"), std::string(image.begin(), image.end()));

    r = run({"diff", (game_ / "UNITINFO.ORG").string(), g()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "0737 価格: 1000 -> 1200\n");
    r = run({"diff", g(), (game_ / "UNITINFO.DAT").string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
}

TEST_F(Cli, ExportImportAndBulkPutUnitsBack)
{
    ASSERT_EQ(run({"export", g(), "5", at("u5.sui")}).status, 0);
    ASSERT_EQ(run({"export", g(), "6", at("u6.sui")}).status, 0);
    EXPECT_EQ(fs::file_size(at("u5.sui")), 154u);
    // Unit 6's file names unit 5 after the edit: bulk puts unit 6's record into unit 5, then unit 6.
    std::string six = ReadText(at("u6.sui"));
    six[2] = 5;
    WriteText(at("six-as-five.sui"), six);
    WriteText(at("list.cmd"), "six-as-five.sui\r\nu6.sui\r\n");
    Outcome r = run({"bulk", g(), at("list.cmd")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2個の兵器を読み込みました\n");
    const UnitTable after = table(game_ / "UNITINFO.DAT");
    EXPECT_EQ(after.record(5).bytes, after.record(6).bytes);

    r = run({"import", g(), at("u5.sui")});
    ASSERT_EQ(r.status, 0) << r.err;
    const UnitTable back = table(game_ / "UNITINFO.DAT");
    EXPECT_EQ(back.record(5).bytes, table(game_ / "UNITINFO.ORG").record(5).bytes);
}

TEST_F(Cli, FailuresNameTheFileAndLeaveTheFolderAlone)
{
    ASSERT_EQ(run({"export", g(), "5", at("u5.sui")}).status, 0);
    WriteText(at("short.sui"), ReadText(at("u5.sui")).substr(0, 100));
    WriteText(at("bad.csv"), "番号,価格,耐久\n3,x,7\n4,5,300\n");
    WriteText(at("list.cmd"), "u5.sui\nnone.sui\n");
    const auto before = snapshot();
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"show", at("nowhere"), "1"}, "corvane-cli: " + at("nowhere") + ": ゲームフォルダが見つかりません\n"},
        {{"import", g(), at("short.sui")}, "corvane-cli: " + at("short.sui") + ": このデータは使用できません\n"},
        {{"import", g(), at("none.sui")}, "corvane-cli: 読み込みに失敗しました: " + at("none.sui") + " が見つかりませんでした。\n"},
        {{"csv-import", g(), at("bad.csv")},
         "corvane-cli: " + at("bad.csv") + ": 2 個のエラーがあるため、何も変更していません\n"
         "行 2 (0003), 列「価格」: 「x」は整数ではありません\n"
         "行 3 (0004), 列「耐久」: 「300」は 0 から 255 までの整数ではありません\n"},
        {{"csv-import", g(), root_.string()}, "corvane-cli: 読み込みに失敗しました: " + root_.string() + " はフォルダです。ファイルを指定してください。\n"},
        {{"bulk", g(), at("list.cmd")},
         "corvane-cli: " + at("list.cmd") + ": 行 2「none.sui」: 読み込みに失敗しました (" + at("none.sui") + " が見つかりませんでした。)\n"
         "corvane-cli: 1個の兵器を正常に読み込み、1個の兵器の読み込みに失敗しました。UNITINFO.DAT は変更していません\n"},
        {{"csv-export", g(), root_.string()}, ""},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, 1) << c.args[0];
        if (!c.err.empty())
            EXPECT_EQ(r.err, c.err);
        else
            EXPECT_EQ(r.err.rfind("corvane-cli: 書き出しに失敗しました: ", 0), 0u) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(snapshot(), before) << c.args[0];
    }

    // A table cut short is refused before anything is read or written.
    const std::string full = ReadText(game_ / "UNITINFO.DAT");
    WriteText(game_ / "UNITINFO.DAT", full.substr(0, 1000));
    const auto cut = snapshot();
    Outcome r = run({"csv-import", g(), at("bad.csv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("corvane-cli: 兵器データファイルのサイズが正しくありません\n", 0), 0u) << r.err;
    EXPECT_EQ(snapshot(), cut);
    r = run({"diff", g(), (root_ / "Ds6" / "UNITINFO.DAT").string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("兵器データファイルのサイズが正しくありません (1000 バイト、276016 バイト必要です)"), std::string::npos);
}

// Commands that change UNITINFO.DAT take the game folder's lock from their read to the end of their save:
// many at once apply one after another, and the first save's backup stays the original.
TEST_F(Cli, ParallelImportsApplyOneAfterAnother)
{
    const std::string original = ReadText(game_ / "UNITINFO.DAT");
    constexpr int kUnits = 32;
    for (int u = 0; u < kUnits; ++u) {
        ASSERT_EQ(run({"export", g(), std::to_string(u), at(("u" + std::to_string(u) + ".sui").c_str())}).status, 0);
        std::string bytes = ReadText(at(("u" + std::to_string(u) + ".sui").c_str()));
        bytes[16 + 30] = static_cast<char>(bytes[16 + 30] + 1);
        WriteText(at(("u" + std::to_string(u) + ".sui").c_str()), bytes);
    }
    const std::string command = "cd " + Quote(root_.string()) + " && ls u*.sui | xargs -P 16 -n 1 sh -c '"
        + std::string(CORVANE_CLI_PATH) + " import Ds6 \"$0\" >/dev/null 2>&1 && echo \"$0\" >>ok.txt'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string ok = ReadText(root_ / "ok.txt");
    EXPECT_EQ(std::count(ok.begin(), ok.end(), '\n'), kUnits);  // each waited for the lock, none failed
    const UnitTable now = table(game_ / "UNITINFO.DAT");
    const UnitTable before = table(game_ / "UNITINFO.ORG");
    EXPECT_EQ(ReadText(game_ / "UNITINFO.ORG"), original);
    for (int u = 0; u < kUnits; ++u)
        EXPECT_EQ(static_cast<std::uint8_t>(now.record(u).bytes[30] - before.record(u).bytes[30]), 1) << u;
    for (const auto& entry : fs::directory_iterator(game_))
        EXPECT_EQ(entry.path().filename().string().find(".corvane-"), std::string::npos) << entry.path();
}

// csv-export goes through the same routine as export: links are written through, read-only files, what
// is no file, and the game's own tables are refused; "-" writes to standard output.
TEST_F(Cli, CsvExportWritesOnlyWhatAnExportMay)
{
    Outcome r = run({"csv-export", g(), at("units.csv")});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string csv = ReadText(at("units.csv"));
    r = run({"csv-export", g(), "-"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, csv);
    EXPECT_EQ(r.err, "");

    fs::create_directory(root_ / "real");
    WriteText(root_ / "real" / "target.csv", "old");
    fs::create_symlink("real/target.csv", root_ / "link.csv");
    fs::create_symlink("real/new.csv", root_ / "dangling.csv");
    for (const char* link : {"link.csv", "dangling.csv"})
        ASSERT_EQ(run({"csv-export", g(), at(link)}).status, 0) << link;
    EXPECT_TRUE(fs::is_symlink(root_ / "link.csv"));
    EXPECT_EQ(ReadText(root_ / "real" / "target.csv"), csv);
    EXPECT_EQ(ReadText(root_ / "real" / "new.csv"), csv);

    WriteText(at("readonly.csv"), "keep");
    fs::permissions(at("readonly.csv"), fs::perms::owner_read);
    ASSERT_EQ(::mkfifo(at("fifo.csv").c_str(), 0600), 0);
    fs::create_symlink("Ds6/UNITINFO.DAT", root_ / "table.csv");
    const auto before = snapshot();
    const struct {
        std::vector<std::string> args;
        std::string err;
    } refused[] = {
        {{"csv-export", g(), at("readonly.csv")}, at("readonly.csv") + " へのｱｸｾｽは拒否されました。"},
        {{"csv-export", g(), at("fifo.csv")}, at("fifo.csv") + " へのｱｸｾｽは拒否されました。"},
        {{"csv-export", g(), at("table.csv")}, at("table.csv") + " はゲームの兵器データファイル (UNITINFO.DAT または UNITINFO.ORG) です。別のファイルを指定してください。"},
        {{"csv-export", g(), g() + "/./UNITINFO.DAT"}, g() + "/./UNITINFO.DAT はゲームの兵器データファイル (UNITINFO.DAT または UNITINFO.ORG) です。別のファイルを指定してください。"},
        {{"export", g(), "737", at("table.csv")}, at("table.csv") + " はゲームの兵器データファイル (UNITINFO.DAT または UNITINFO.ORG) です。別のファイルを指定してください。"},
    };
    for (const auto& c : refused) {
        r = run(c.args);
        EXPECT_EQ(r.status, 1) << c.args.back();
        EXPECT_EQ(r.err, "corvane-cli: 書き出しに失敗しました: " + c.err + "\n");
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(ReadText(at("readonly.csv")), "keep");
    EXPECT_EQ(fs::symlink_status(at("fifo.csv")).type(), fs::file_type::fifo);
}

// The built-in country names stand in for a missing prokind.dat only: one that is there but cannot be
// read is an error that names it.
TEST_F(Cli, UnreadableProductionTypesAreAnError)
{
    const std::string prokind = g() + "/prokind.dat";
    fs::remove(game_ / "prokind.dat");
    fs::create_directory(game_ / "prokind.dat");
    Outcome r = run({"csv-export", g(), at("units.csv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "corvane-cli: 読み込みに失敗しました: " + prokind + " へのｱｸｾｽは拒否されました。\n");
    fs::remove(game_ / "prokind.dat");
    fs::create_symlink("/proc/self/mem", game_ / "prokind.dat");  // reading its start fails with EIO
    WriteText(at("in.csv"), "番号\r\n");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"csv-export", g(), at("units.csv")}, {"show", g(), "5"}, {"csv-import", g(), at("in.csv")}}) {
        r = run(args);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_EQ(r.err, "corvane-cli: 読み込みに失敗しました: " + prokind + " へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。\n");
    }
    EXPECT_FALSE(fs::exists(at("units.csv")));
    fs::remove(game_ / "prokind.dat");
    EXPECT_EQ(run({"csv-export", g(), at("units.csv")}).status, 0);
}

TEST_F(Cli, CsvImportRefusesPipesAndHugeFilesAtOnce)
{
    const auto before = snapshot();
    ASSERT_EQ(::mkfifo(at("pipe.csv").c_str(), 0600), 0);  // nobody writes to it
    Outcome r = run({"csv-import", g(), at("pipe.csv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "corvane-cli: 読み込みに失敗しました: " + at("pipe.csv") + " へのｱｸｾｽは拒否されました。\n");

    WriteText(at("huge.csv"), "番号\n");
    fs::resize_file(at("huge.csv"), 100u << 20);
    r = run({"csv-import", g(), at("huge.csv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "corvane-cli: 読み込みに失敗しました: " + at("huge.csv")
                         + " は 100 MB あり、兵器の CSV としては大きすぎます (16 MB まで)\n");
    EXPECT_EQ(snapshot(), before);
}

TEST_F(Cli, DemoFolderMakerAnswersHelp)
{
    for (const char* help : {"--help", "-h"}) {
        const Outcome r = runProgram(CORVANE_DEMO_FOLDER_PATH, {help});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.rfind("usage: make_demo_folder <output-folder>\n", 0), 0u) << r.out;
        EXPECT_FALSE(fs::exists(root_ / help));
    }
    const Outcome r = runProgram(CORVANE_DEMO_FOLDER_PATH, {"--frobnicate"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "usage: make_demo_folder <output-folder>\n");
    EXPECT_FALSE(fs::exists(root_ / "--frobnicate"));
}

// A pack of random changes (table B against table A), bulk-imported into a copy of A, gives B; a clash
// needs --force; a failure leaves the folder as it was.
TEST_F(Cli, PackOfRandomChangesBulkImportsBackToTheChangedTable)
{
    std::mt19937 random(20261207);
    for (int round = 0; round < 3; ++round) {
        const std::string a = ReadText(game_ / "UNITINFO.DAT");
        std::string b = a;
        std::set<int> changed;
        for (int n = 0; n < 1 + round * 40; ++n) {
            const int unit = int(random() % kUnitCount);
            changed.insert(unit);
            for (std::size_t i = 0; i < kUnitRecordSize; ++i)
                b[UnitTable::recordOffset(unit) + i] = char(random());
        }
        const fs::path tableB = root_ / "B.DAT";
        WriteText(tableB, b);
        const fs::path out = root_ / ("pack" + std::to_string(round));
        Outcome r = run({"pack", g(), tableB.string(), out.string()});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, (out / "units.cmd").string() + "\n" + std::to_string(changed.size()) + "個の兵器を書き出しました\n");
        std::string list;
        for (int u : changed) {
            char name[16];
            std::snprintf(name, sizeof name, "unit%04d.sui", u);
            list += std::string(name) + "\r\n";
        }
        EXPECT_EQ(ReadText(out / "units.cmd"), list);
        EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), std::ptrdiff_t(changed.size() + 1));

        r = run({"bulk", g(), (out / "units.cmd").string()});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(ReadText(game_ / "UNITINFO.DAT") == b);
        WriteText(game_ / "UNITINFO.DAT", a);
    }

    // The folder's own changes against its backup; a second pack clashes with the first.
    const fs::path out = root_ / "pack0";
    const auto listing = [&] {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(out))
            files[entry.path().filename().string()] = entry.is_directory() ? "<folder>" : ReadText(entry.path());
        return files;
    };
    ASSERT_EQ(run({"bulk", g(), (out / "units.cmd").string()}).status, 0);
    const auto before = listing();
    Outcome r = run({"pack", (game_ / "UNITINFO.ORG").string(), g(), out.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("同じ名前のファイルがあります: unit"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(" units.cmd\n置き換えるには --force を付けてください。"), std::string::npos) << r.err;
    EXPECT_EQ(listing(), before);
    r = run({"pack", (game_ / "UNITINFO.ORG").string(), g(), out.string(), "--force"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(listing(), before);  // the same units, the same bytes

    // A file of the pack that cannot be replaced: the others written before it get their old bytes back.
    WriteText(out / "unit9999.sui", "");
    fs::remove(out / "units.cmd");
    fs::create_directory(out / "units.cmd");
    const auto blocked = listing();
    WriteText(game_ / "UNITINFO.DAT", ReadText(root_ / "B.DAT"));
    r = run({"pack", (game_ / "UNITINFO.ORG").string(), g(), out.string(), "--force"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("書き出しに失敗しました: " + (out / "units.cmd").string()), std::string::npos) << r.err;
    EXPECT_EQ(listing(), blocked);
    EXPECT_FALSE(fs::exists(out / "unit0000.sui.corvane-old"));

    r = run({"pack", g(), g(), at("same")});
    EXPECT_EQ(r.status, 0);
    EXPECT_FALSE(fs::exists(at("same")));
    EXPECT_EQ(run({"pack", g(), at("none.dat"), at("x")}).status, 1);
    EXPECT_EQ(run({"pack", g(), g()}).status, 2);
}

// The check of a clean demo folder finds nothing; each kind of problem is found in a table built to hold it.
TEST_F(Cli, CheckListsEveryValueTheGameCannotUse)
{
    Outcome r = run({"check", g()});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "問題はありません\n");

    UnitTable t = table(game_ / "UNITINFO.DAT");
    t.record(123).setWeapon(2, 501);
    t.record(123).setKind(128);
    t.record(124).setMoveSet(174);
    t.record(124).setTransformTarget(1281);
    t.record(125).setName("\x83\x41\x83");  // a double-byte character cut short
    t.record(126).setGraphicNumber(999);
    t.record(127).setAltitude(6);
    t.record(127).setDefenceType(9);
    t.record(127).setCarrierClass(3);
    t.record(5).setMoveSet(255);  // none: fine
    t.record(5).setTransformTarget(1280);
    t.record(5).setWeapon(5, 472);
    const auto image = t.image();
    WriteText(game_ / "UNITINFO.DAT", std::string(image.begin(), image.end()));
    // A picture that exists but is no bitmap the editor shows; the other one of the pair is missing.
    const int graphic = t.record(129).graphicNumber();
    char name[32];
    std::snprintf(name, sizeof name, "Unit%03d.bmp", graphic);
    WriteText(game_ / "Unit" / name, "BM not a picture");
    std::snprintf(name, sizeof name, "Unit%03ds.bmp", graphic);
    fs::remove(game_ / "Unit" / name);

    r = run({"check", g()});
    EXPECT_EQ(r.status, 1);
    const std::string out = r.out;
    for (const char* line : {"0123 兵種: 128: 兵種は 0 から 127 までです\n", "0123 兵装3: 501: 武器番号は 472 までです\n",
                             "0124 変形 ユニット: 1280: 変形先のユニット番号は 1279 までです\n",
                             "0124 移動力 SET: 174: 移動力のセットは 0 から 173 までか、255 (無し) です\n",
                             "0125 名前: ア\\x83: シフトJIS (コードページ 932) の文字として読めないバイトがあります\n",
                             "0126 グラフィック №: 999: Unit\\Unit999.bmp も Unit\\Unit999s.bmp もありません\n",
                             "0127 部隊高度: 6: ", "0127 防御タイプ: 9: ", "0127 搭載: 3: "})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
    EXPECT_EQ(out.find("0005 "), std::string::npos) << out;
    // Every unit with that graphic number shows it.
    EXPECT_NE(out.find("0129 グラフィック №: " + std::to_string(graphic) + ": "), std::string::npos) << out;
    EXPECT_NE(out.find("は表示できる画像ではありません\n"), std::string::npos) << out;
    const long rows = std::count(out.begin(), out.end(), '\n');
    EXPECT_EQ(r.err, std::to_string(rows) + "個の問題があります\n");

    EXPECT_EQ(run({"check", at("nowhere")}).status, 2);
    EXPECT_EQ(run({"check"}).status, 2);
}
