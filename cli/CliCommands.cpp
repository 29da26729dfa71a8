#include "cli/CliCommands.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string_view>
#include <system_error>

#include "data/DataFileSet.h"
#include "data/FileError.h"
#include "data/FileIo.h"
#include "data/GamePaths.h"
#include "data/TableCheck.h"
#include "data/UnitFields.h"
#include "data/Utf8.h"
#include "exchange/core/CommandFile.h"
#include "exchange/core/UnitCsv.h"
#include "exchange/core/UnitFile.h"
#include "exchange/core/UnitPack.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr std::size_t kMaxCsvErrors = 100;

constexpr char kOverview[] =
    "使い方: corvane-cli <コマンド> [引数...]\n"
    "\n"
    "ゲームフォルダ (GAME) の UNITINFO.DAT を、エディタと同じ規則でウィンドウなしに読み書きします。\n"
    "UNITINFO.DAT を書き換えるときは、初回だけ元のファイルを UNITINFO.ORG として残します。\n"
    "\n"
    "コマンド:\n"
    "  show GAME UNIT              兵器 UNIT (0-1279) の項目をフォームの名前で一行ずつ表示します\n"
    "  csv-export GAME FILE.csv    全兵器を CSV に書き出します (FILE.csv が - なら標準出力へ)\n"
    "  csv-import GAME FILE.csv    CSV にある兵器を読み込み、UNITINFO.DAT に保存します\n"
    "  export GAME UNIT FILE.sui   兵器 UNIT をユニットデータファイルに書き出します\n"
    "  import GAME FILE.sui        ユニットデータファイルを読み込み、保存します\n"
    "  bulk GAME LIST.cmd          コマンドファイルに並ぶユニットデータファイルを読み込み、保存します\n"
    "  diff TABLE_A TABLE_B        二つの UNITINFO.DAT の違う兵器と項目を表示します\n"
    "  pack BASE TABLE FOLDER      TABLE の BASE と違う兵器を、一括読み込みできる形で書き出します\n"
    "  check GAME                  ゲームが使えない値 (武器番号、兵種、画像など) を一行ずつ表示します\n"
    "\n"
    "各コマンドの説明: corvane-cli <コマンド> --help\n"
    "終了コード: 0 成功、1 失敗 (何も書き込みません)、2 使い方の誤り。\n"
    "ただし、書き込んだ後にディスクへの同期やアクセス許可の引き継ぎに失敗したときも 1 で、そう表示します。\n"
    "UNITINFO.DAT を書き換えるコマンドは、同じゲームフォルダを書き換える他のコマンドやエディタの保存と\n"
    "重ならないよう、フォルダのロック (.corvane.lock) を取ってから読み込み、保存し終わるまで持ちます。\n"
    "メッセージは標準エラーに出ます。\n";

struct Command {
    const char* usage;
    const char* help;
    int argCount;
};

const std::map<std::string_view, Command>& Commands()
{
    static const std::map<std::string_view, Command> commands = {
        {"show", {"show GAME UNIT",
                  "兵器 UNIT (0-1279) の全項目を、フォームとツールウィンドウの名前で一行ずつ表示します。\n"
                  "兵種と兵装には名前を添えます。何も書き込みません。\n", 2}},
        {"csv-export", {"csv-export GAME FILE.csv",
                        "全 1280 兵器を CSV (UTF-8、BOM 付き、CRLF) に書き出します。\n"
                        "既にある FILE.csv は、新しいファイルが書き終わってから置き換えます (リンクはその先を)。\n"
                        "読み取り専用のファイル、ファイルでないもの、ゲームの UNITINFO.DAT と UNITINFO.ORG には\n"
                        "書き出しません。FILE.csv が - なら標準出力に書き出します。\n", 2}},
        {"csv-import", {"csv-import GAME FILE.csv",
                        "CSV にある行の兵器を「番号」の列で探して読み込み、UNITINFO.DAT に保存します。\n"
                        "UTF-8 (BOM 付き) と Excel の「CSV (コンマ区切り)」(シフトJIS) を読めます。\n"
                        "一つでも正しくないセルがあれば全て表示し、何も書き込みません。\n", 2}},
        {"export", {"export GAME UNIT FILE.sui",
                    "兵器 UNIT (0-1279) をユニットデータファイル (154 バイト) に書き出します。\n", 3}},
        {"import", {"import GAME FILE.sui",
                    "ユニットデータファイルを、ファイルが示す番号の兵器に読み込み、保存します。\n", 2}},
        {"bulk", {"bulk GAME LIST.cmd",
                  "コマンドファイルの各行が示すユニットデータファイルを順に読み込み、保存します。\n"
                  "一つでも読めないファイルがあれば、その行を全て表示し、何も書き込みません。\n", 2}},
        {"diff", {"diff TABLE_A TABLE_B",
                  "二つの UNITINFO.DAT (ファイルかゲームフォルダ) を比べ、違う兵器と項目を CSV の列名で\n"
                  "表示します。終了コードは diff と同じく、同じなら 0、違えば 1、読めなければ 2 です。\n"
                  "生産可能国の名前は TABLE_A と同じフォルダの prokind.dat から取ります。\n", 2}},
        {"pack", {"pack BASE TABLE FOLDER [--force]",
                  "TABLE (ファイルかゲームフォルダ) の兵器のうち BASE と違うものを、FOLDER に一つずつ\n"
                  "unit0000.sui の名前で書き出し、それらを並べたコマンドファイル units.cmd を添えます。\n"
                  "units.cmd は「兵器データの一括読み込み」と corvane-cli bulk がそのまま読めます。\n"
                  "自分のフォルダの変更なら: corvane-cli pack GAME/UNITINFO.ORG GAME FOLDER\n"
                  "同じ名前のファイルがあれば、--force のときだけ置き換えます。失敗したときは何も残しません。\n", 3}},
        {"check", {"check GAME",
                   "UNITINFO.DAT の値のうちゲームが使えないもの (472 を超える武器番号、128 以上の兵種、\n"
                   "174 から 254 の移動力セット、1279 を超える変形先、Unit フォルダにない画像、\n"
                   "シフトJIS でない名前、一覧にない部隊高度・防御タイプ・搭載) を一行ずつ表示し、\n"
                   "数を標準エラーに出します。終了コードは、なければ 0、あれば 1、読めなければ 2 です。\n", 1}},
    };
    return commands;
}

// How the data-file set asks the user: here its messages go to stderr and nothing is asked.
class CliPrompts : public UserPrompts {
public:
    explicit CliPrompts(std::ostream& err) : err_(err) {}
    MsgAnswer message(std::string_view utf8Text, MsgIcon, MsgButtons) override
    {
        err_ << "corvane-cli: " << utf8Text << '\n';
        return MsgAnswer::Cancel;
    }
    std::optional<std::string> chooseFile(const OpenFileRequest&) override { return std::nullopt; }

private:
    std::ostream& err_;
};

std::string Display(const fs::path& path) { return corvane::TextFromPath(path); }

// Why a file could not be read, naming it.
std::string UnreadableCause(const fs::path& path)
{
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found)
        return FileErrorText(FileErrorCause::FileNotFound, Display(path));
    if (status.type() == fs::file_type::directory)
        return Display(path) + " はフォルダです。ファイルを指定してください。";
    return FileErrorText(FileErrorCause::AccessDenied, Display(path));
}

std::optional<int> ParseUnitNumber(std::string_view text)
{
    int value = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 0 || value >= kUnitCount)
        return std::nullopt;
    return value;
}

std::string UnitLabel(int unit)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04d", unit);
    return text;
}

class Cli {
public:
    Cli(std::ostream& out, std::ostream& err) : out_(out), err_(err), prompts_(err) {}

    int run(const std::vector<std::string>& args);

private:
    int fail(const std::string& message)
    {
        err_ << "corvane-cli: " << message << '\n';
        return kFailed;
    }
    int usage(const std::string& message)
    {
        err_ << "corvane-cli: " << message << "\n詳しくは corvane-cli --help を見てください。\n";
        return kUsage;
    }

    // The game folder of an argument, as a folder text ending in a separator.
    static std::string FolderText(std::string text)
    {
        if (!text.empty() && text.back() != '/' && text.back() != '\\')
            text += text.find('/') == std::string::npos && text.find('\\') != std::string::npos ? '\\' : '/';
        return text;
    }

    bool load(const std::string& game, bool forSaving = false);
    bool save();
    std::optional<std::vector<UnitField>> fields(const std::string& folderText);
    int exported(const std::optional<corvane::ReplaceError>& error, const fs::path& file);
    int show(const std::vector<std::string>& a);
    int csvExport(const std::vector<std::string>& a);
    int csvImport(const std::vector<std::string>& a);
    int exportUnit(const std::vector<std::string>& a);
    int importUnit(const std::vector<std::string>& a);
    int bulk(const std::vector<std::string>& a);
    int diff(const std::vector<std::string>& a);
    int pack(const std::vector<std::string>& a, bool force);
    int check(const std::vector<std::string>& a);
    // The unit table of an argument that names a file or a game folder; false after a message.
    bool readTable(const std::string& arg, UnitTable& table, fs::path& file);

    std::ostream& out_;
    std::ostream& err_;
    CliPrompts prompts_;
    std::string folder_;
    std::unique_ptr<GameImages> game_;
    std::optional<corvane::FolderLock> lock_;  // held by a command that changes UNITINFO.DAT, from its read on
};

bool Cli::load(const std::string& game, bool forSaving)
{
    folder_ = FolderText(game);
    std::error_code ec;
    if (!fs::is_directory(ResolveFolder(folder_), ec)) {
        fail(game + ": ゲームフォルダが見つかりません");
        return false;
    }
    // A command that saves reads the table only once no other save of the folder runs, and keeps others
    // out until its own save is done: parallel commands apply one after another.
    if (forSaving) {
        lock_ = LockGameFolder(folder_, -1, prompts_);
        if (!lock_)
            return false;
    }
    game_ = std::make_unique<GameImages>();
    if (LoadGameImages(folder_, *game_, prompts_))
        return true;
    // The data-file set names the kind of file; say which file it was and why.
    for (const char* name : {kUnitInfoFileName, kWeaponFileName, kKindFileName, kMoveCostFileName}) {
        const fs::path file = ResolveFile(folder_, name);
        if (!corvane::ReadPrefix(file, {}).opened) {
            fail(UnreadableCause(file));
            break;
        }
    }
    return false;
}

// False when not saved, or saved with a warning (shown): the command then ends with status 1.
bool Cli::save()
{
    SaveRequest request;
    request.heldLock = lock_ ? &*lock_ : nullptr;
    const SaveOutcome outcome = SaveUnitTable(folder_, game_->units, prompts_, request);
    if (outcome.saved)
        return !outcome.warned;
    fail(Display(ResolveFile(folder_, kUnitInfoFileName)) + ": 保存できませんでした。UNITINFO.DAT は変更していません");
    return false;
}

// The production-type names of a folder, as column labels; an unreadable prokind.dat is an error.
std::optional<std::vector<UnitField>> Cli::fields(const std::string& folderText)
{
    int err = 0;
    fs::path file;
    const auto names = ReadProductionTypeNames(folderText, err, file);
    if (!names) {
        fail("読み込みに失敗しました: " + FileErrorText(CauseFromErrno(err), Display(file)));
        return std::nullopt;
    }
    return MakeUnitFields(*names);
}

// The outcome of an export through the one safe routine.
int Cli::exported(const std::optional<corvane::ReplaceError>& error, const fs::path& file)
{
    if (!error)
        return kDone;
    if (error->replaced)
        return fail(ReplaceErrorText(*error, Display(file)));
    return fail("書き出しに失敗しました: " + ReplaceErrorText(*error, Display(file)));
}

int Cli::show(const std::vector<std::string>& a)
{
    const auto unit = ParseUnitNumber(a[1]);
    if (!unit)
        return usage("「" + a[1] + "」は 0 から 1279 までの兵器番号ではありません");
    if (!load(a[0]))
        return kFailed;
    const auto catalogue = fields(folder_);
    if (!catalogue)
        return kFailed;
    const UnitRecord& record = game_->units.record(*unit);
    std::string text = std::string(kCsvUnitNumberColumn) + ": " + UnitLabel(*unit) + "\n";
    for (const UnitField& field : *catalogue) {
        text += field.label + ": " + FieldText(field, record);
        if (field.show == FieldShow::Choice && field.offset == 24)
            text += " (" + utf8::fromCp932(game_->kinds.name(record.kind())) + ")";
        else if (field.show == FieldShow::Weapon)
            text += " (" + utf8::fromCp932(game_->weapons.entry(static_cast<int>(FieldValue(field, record))).nameText()) + ")";
        text += '\n';
    }
    out_ << text;
    return kDone;
}

int Cli::csvExport(const std::vector<std::string>& a)
{
    if (!load(a[0]))
        return kFailed;
    const auto catalogue = fields(folder_);
    if (!catalogue)
        return kFailed;
    const std::string csv = WriteUnitCsv(game_->units, game_->weapons, game_->kinds, *catalogue);
    if (a[1] == "-") {  // for a pipe: the bytes as they are, and no word of success among them
#ifdef _WIN32
        if (&out_ == &std::cout)
            ::_setmode(::_fileno(stdout), _O_BINARY);
#endif
        out_.write(csv.data(), static_cast<std::streamsize>(csv.size()));
        out_.flush();
        return out_ ? kDone : fail("書き出しに失敗しました: 標準出力に書き込めません");
    }
    const fs::path file = corvane::PathFromText(a[1]);
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size());
    if (const int status = exported(corvane::WriteExportFile(file, bytes, GameTableFiles(folder_)), file))
        return status;
    out_ << kUnitCount << "個の兵器を書き出しました\n";
    return kDone;
}

int Cli::csvImport(const std::vector<std::string>& a)
{
    if (!load(a[0], true))
        return kFailed;
    const fs::path file = corvane::PathFromText(a[1]);
    const corvane::WholeFile read = corvane::ReadWholeFile(file, kLargestUnitCsv);
    const int err = read.err;
    if (err == EFBIG)
        return fail("読み込みに失敗しました: " + CsvTooLargeText(Display(file), read.size));
    if (err)
        return fail("読み込みに失敗しました: " + (err == EISDIR || err == ENOENT ? UnreadableCause(file)
                                                   : FileErrorText(CauseFromErrno(err), Display(file))));
    const auto catalogue = fields(folder_);
    if (!catalogue)
        return kFailed;
    const UnitCsvChanges changes = ReadUnitCsv(read.bytes, game_->units, *catalogue);
    if (!changes.errors.empty()) {
        err_ << "corvane-cli: " << Display(file) << ": " << changes.errors.size() << " 個のエラーがあるため、何も変更していません\n"
             << CsvErrorReport(changes.errors, kMaxCsvErrors) << '\n';
        return kFailed;
    }
    const int count = ApplyUnitCsv(changes, game_->units);
    if (count > 0 && !save())
        return kFailed;
    out_ << count << "個の兵器を読み込みました\n";
    return kDone;
}

int Cli::exportUnit(const std::vector<std::string>& a)
{
    const auto unit = ParseUnitNumber(a[1]);
    if (!unit)
        return usage("「" + a[1] + "」は 0 から 1279 までの兵器番号ではありません");
    if (!load(a[0]))
        return kFailed;
    const fs::path file = corvane::PathFromText(a[2]);
    return exported(corvane::WriteExportFile(file, UnitFileBytes(*unit, game_->units.record(*unit)), GameTableFiles(folder_)),
                    file);
}

int Cli::importUnit(const std::vector<std::string>& a)
{
    if (!load(a[0], true))
        return kFailed;
    const fs::path file = corvane::PathFromText(a[1]);
    UnitFileHeader head;
    UnitRecord record;
    if (!ReadUnitFile(file, head, record))
        return fail("読み込みに失敗しました: " + UnreadableCause(file));
    if (!IsUsableUnitFile(head))
        return fail(Display(file) + ": このデータは使用できません");
    game_->units.record(head.unitNumber) = record;
    if (!save())
        return kFailed;
    out_ << UnitListText(head.unitNumber, record).substr(0, 5) << utf8::fromCp932(record.nameText()) << '\n'
         << "1個の兵器を読み込みました\n";
    return kDone;
}

int Cli::bulk(const std::vector<std::string>& a)
{
    if (!load(a[0], true))
        return kFailed;
    const fs::path commandFile = corvane::PathFromText(a[1]);
    const auto lines = ReadCommandFile(commandFile);
    if (!lines)
        return fail(Display(commandFile) + ": コマンドファイルのオープンに失敗しました");
    const std::string folder = FolderTextOf(commandFile);
    PathLookup lookup;
    int imported = 0;
    int failed = 0;
    std::string problems;
    for (std::size_t i = 0; i < lines->size(); ++i) {
        const std::string& line = (*lines)[i];
        const std::string where = Display(commandFile) + ": 行 " + std::to_string(i + 1) + "「" + utf8::fromCp932(line) + "」: ";
        UnitFileHeader head;
        UnitRecord record;
        if (!ReadCommandLineFile(lookup, folder, line, head, record)) {
            ++failed;
            const auto path = CommandLinePath(lookup, folder, line);
            problems += "corvane-cli: " + where + "読み込みに失敗しました"
                + (path ? " (" + UnreadableCause(*path) + ")" : std::string(" (ファイル名になりません)")) + "\n";
        } else if (!IsUsableUnitFile(head)) {
            ++failed;
            problems += "corvane-cli: " + where + "このデータは使用できません\n";
        } else {
            game_->units.record(head.unitNumber) = record;
            ++imported;
        }
    }
    if (failed > 0) {
        err_ << problems << "corvane-cli: " << imported << "個の兵器を正常に読み込み、" << failed
             << "個の兵器の読み込みに失敗しました。UNITINFO.DAT は変更していません\n";
        return kFailed;
    }
    if (imported > 0 && !save())
        return kFailed;
    out_ << imported << "個の兵器を読み込みました\n";
    return kDone;
}

bool Cli::readTable(const std::string& arg, UnitTable& table, fs::path& file)
{
    std::error_code ec;
    file = fs::is_directory(corvane::PathFromText(arg), ec) ? ResolveFile(FolderText(arg), kUnitInfoFileName)
                                                          : corvane::PathFromText(arg);
    std::vector<std::uint8_t> bytes(kUnitTableSize);
    const corvane::ReadResult read = corvane::ReadPrefix(file, bytes);
    if (!read.opened || read.err != 0) {
        err_ << "corvane-cli: 読み込みに失敗しました: "
             << (read.opened ? FileErrorText(CauseFromErrno(read.err), Display(file)) : UnreadableCause(file)) << '\n';
        return false;
    }
    if (read.count < kUnitTableSize) {
        err_ << "corvane-cli: " << Display(file) << ": 兵器データファイルのサイズが正しくありません ("
             << read.count << " バイト、" << kUnitTableSize << " バイト必要です)\n";
        return false;
    }
    table.load(bytes);
    return true;
}

int Cli::diff(const std::vector<std::string>& a)
{
    fs::path files[2];
    auto tables = std::make_unique<std::array<UnitTable, 2>>();
    for (int i = 0; i < 2; ++i)
        if (!readTable(a[i], (*tables)[i], files[i]))
            return kUsage;
    const UnitTable& left = (*tables)[0];
    const UnitTable& right = (*tables)[1];
    const auto catalogue = fields(FolderTextOf(files[0]));
    if (!catalogue)
        return kUsage;
    std::string text;
    const auto l = left.image();
    const auto r = right.image();
    if (!std::equal(l.begin(), l.begin() + kUnitTableHeadSize, r.begin()))
        text += "先頭の 16 バイトが違います\n";
    for (int u = 0; u < kUnitCount; ++u) {
        if (left.record(u).bytes == right.record(u).bytes)
            continue;
        for (const UnitField& field : *catalogue) {
            const std::string a1 = FieldText(field, left.record(u));
            const std::string b1 = FieldText(field, right.record(u));
            if (a1 != b1)
                text += UnitLabel(u) + " " + field.label + ": " + a1 + " -> " + b1 + "\n";
        }
    }
    if (!std::equal(l.end() - kUnitTableTailSize, l.end(), r.end() - kUnitTableTailSize))
        text += "兵器 1279 の後の 99360 バイトが違います\n";
    out_ << text;
    return text.empty() ? 0 : 1;
}

int Cli::pack(const std::vector<std::string>& a, bool force)
{
    fs::path files[2];
    auto tables = std::make_unique<std::array<UnitTable, 2>>();
    for (int i = 0; i < 2; ++i)
        if (!readTable(a[i], (*tables)[i], files[i]))
            return kFailed;
    const std::vector<int> units = DifferingUnits((*tables)[0], (*tables)[1]);
    if (units.empty()) {
        err_ << "corvane-cli: " << Display(files[1]) << " は " << Display(files[0])
             << " と同じです。何も書き出していません\n";
        return kDone;
    }
    const fs::path folder = corvane::PathFromText(a[2]);
    if (!force) {
        const std::vector<std::string> clashes = PackClashes(folder, units, kPackCommandFileName);
        if (!clashes.empty()) {
            std::string names;
            for (const std::string& name : clashes)
                names += " " + name;
            return fail(Display(folder) + " に同じ名前のファイルがあります:" + names
                        + "\n置き換えるには --force を付けてください。何も書き出していません");
        }
    }
    std::vector<fs::path> protectedFiles;
    for (const fs::path& file : files)
        for (const fs::path& table : GameTableFiles(FolderTextOf(file)))
            protectedFiles.push_back(table);
    if (const auto failure = WritePack(folder, (*tables)[1], units, kPackCommandFileName, protectedFiles))
        return fail("書き出しに失敗しました: " + ReplaceErrorText(*failure, Display(failure->path))
                    + "\n書き出したファイルは取り除きました");
    out_ << Display(folder / kPackCommandFileName) << '\n' << units.size() << "個の兵器を書き出しました\n";
    return kDone;
}

int Cli::check(const std::vector<std::string>& a)
{
    if (!load(a[0]))
        return kUsage;
    UnitPictureFiles pictures(folder_);
    const auto problems = CheckUnitTable(game_->units, MakeUnitFields(ReadProductionTypeNames(folder_)), pictures);
    std::string text;
    for (const TableProblem& problem : problems)
        text += TableProblemLine(problem) + '\n';
    out_ << text;
    if (problems.empty()) {
        err_ << "問題はありません\n";
        return kDone;
    }
    err_ << problems.size() << "個の問題があります\n";
    return kFailed;
}

int Cli::run(const std::vector<std::string>& args)
{
    if (args.empty())
        return usage("コマンドがありません");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out_ << kOverview;
        return kDone;
    }
    const auto it = Commands().find(args[0]);
    if (it == Commands().end())
        return usage("「" + args[0] + "」というコマンドはありません");
    const Command& command = it->second;
    std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const std::string& arg : rest) {
        if (arg == "--help" || arg == "-h") {
            out_ << "使い方: corvane-cli " << command.usage << "\n\n" << command.help;
            return kDone;
        }
    }
    if (!rest.empty() && rest.front() == "--")
        rest.erase(rest.begin());
    bool force = false;
    if (const auto option = std::find(rest.begin(), rest.end(), "--force"); args[0] == "pack" && option != rest.end()) {
        force = true;
        rest.erase(option);
    }
    if (static_cast<int>(rest.size()) != command.argCount)
        return usage(std::string("引数の数が違います。使い方: corvane-cli ") + command.usage);

    const std::string name(args[0]);
    if (name == "show")
        return show(rest);
    if (name == "csv-export")
        return csvExport(rest);
    if (name == "csv-import")
        return csvImport(rest);
    if (name == "export")
        return exportUnit(rest);
    if (name == "import")
        return importUnit(rest);
    if (name == "bulk")
        return bulk(rest);
    if (name == "pack")
        return pack(rest, force);
    if (name == "check")
        return check(rest);
    return diff(rest);
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Cli cli(out, err);
    return cli.run(args);
}
