#pragma once
// The program's own texts (UTF-8): messages, prompts and formats, exactly as the user sees them.

namespace str {
// Field exchange (the dialog framework's messages).
inline constexpr char kParseInt[] = "整数を入力してください。";
inline constexpr char kParseByte[] = "0 から 255 までの整数を入力してください。";
inline constexpr char kTextTooLong[] = "%1 文字以内で入力してください。";
// A character the game's code page cannot store (%1 is the character).
inline constexpr char kNotCp932[] = "「%1」はゲームのデータに保存できない文字です。";

// Main dialog.
inline constexpr char kAboutMenu[] = "Corvane のﾊﾞｰｼﾞｮﾝ情報(&A)...";
inline constexpr char kHelpMenu[] = "ﾍﾙﾌﾟ(&H)";
inline constexpr char kSaveQuestion[] = "保存してよろしいですか？";
// Our own question, when UNITINFO.DAT was changed by another program since it was read or saved (%1: its path).
inline constexpr char kSaveChangedOnDisk[] =
    "%1 は、読み込んだ後か前回保存した後に、ほかのプログラムで変更されています。\n上書きして保存しますか？";

// Clone.
inline constexpr char kCloneBadTarget[] = "コピー先ユニットが不正です";
inline constexpr char kCloneSameUnit[] = "コピー元とコピー先のユニットが同じです";
inline constexpr char kCloneQuestion[] = "複製してよろしいですか？";

// Producing countries.
inline constexpr char kProkindOpenFailed[] = "生産タイプファイルをオープンできません";

// Exchange files.
inline constexpr char kUnitFileFilter[] = "ﾕﾆｯﾄﾃﾞｰﾀﾌｧｲﾙ (*.sui)|*.sui|全てのﾌｧｲﾙ (*.*)|*.*||";
inline constexpr char kExportTitle[] = "兵器データの保存";
inline constexpr char kExportName[] = "unit%1.sui";  // %1: unit number, four digits
inline constexpr char kExportFailed[] = "書き出しに失敗しました";
inline constexpr char kImportTitle[] = "兵器データの読み込み";
inline constexpr char kImportFailed[] = "読み込みに失敗しました";
inline constexpr char kImportUnusable[] = "このデータは使用できません";
inline constexpr char kImportQuestion[] = "%1にデータを読み込んでよろしいですか？";  // %1: four digits
inline constexpr char kNotUnitFile[] = "兵器データファイルではありません";
inline constexpr char kBulkTitle[] = "兵器データの一括読み込み";
inline constexpr char kCommandFileFilter[] = "ｺﾏﾝﾄﾞﾌｧｲﾙ (*.cmd)|*.cmd|全てのﾌｧｲﾙ (*.*)|*.*||";
inline constexpr char kCommandFileOpenFailed[] = "コマンドファイルのオープンに失敗しました";
inline constexpr char kBulkAllRead[] = "%1個の兵器を読み込みました";
inline constexpr char kBulkSomeFailed[] = "%1個の兵器を正常に読み込み、%2個の兵器の読み込みに失敗しました";

// The whole table as CSV.
inline constexpr char kCsvFilter[] = "CSVﾌｧｲﾙ (*.csv)|*.csv|全てのﾌｧｲﾙ (*.*)|*.*||";
inline constexpr char kCsvExportTitle[] = "CSVに書き出し";
inline constexpr char kCsvExportName[] = "unitinfo.csv";
inline constexpr char kCsvImportTitle[] = "CSVから読み込み";
inline constexpr char kStepCsvImport[] = "%1個のCSV読み込み";  // the undo step of a CSV read
inline constexpr char kCsvHasErrors[] = "CSVファイルに%1個の誤りがあるため、何も読み込みませんでした。";

// Edit menu: undo and redo, with the name of the step they act on (%1 of a step: four digits or a count).
inline constexpr char kUndoMenu[] = "元に戻す(&U)";
inline constexpr char kRedoMenu[] = "やり直し(&R)";
inline constexpr char kStepApply[] = "%1の適用";
inline constexpr char kStepClone[] = "%1への複製";
inline constexpr char kStepImport[] = "%1の読み込み";
inline constexpr char kStepBulkImport[] = "%1個の一括読み込み";
inline constexpr char kStepPendingEdits[] = "適用していない変更";  // what undo drops first

// Find window: the outcome line (%1: the text looked for).
inline constexpr char kFindNoText[] = "検索する文字列を入力してください";
inline constexpr char kFindNoMatch[] = "「%1」は見つかりません";
inline constexpr char kFindWrappedToFirst[] = "最後まで検索したので、先頭から続けました";
inline constexpr char kFindWrappedToLast[] = "先頭まで検索したので、最後から続けました";

// Compare window.
inline constexpr char kCompareBackupTitle[] = "ﾊﾞｯｸｱｯﾌﾟと比較";
inline constexpr char kCompareFileTitle[] = "他のﾌｧｲﾙと比較";
inline constexpr char kCompareFileFilter[] = "ﾕﾆｯﾄﾃﾞｰﾀ (*.dat;*.org)|*.dat;*.org|全てのﾌｧｲﾙ (*.*)|*.*||";
inline constexpr char kCompareNoBackup[] =
    "ゲームフォルダにﾊﾞｯｸｱｯﾌﾟ (UNITINFO.ORG) がありません。\nﾊﾞｯｸｱｯﾌﾟは最初の上書き保存のときに作られます。";
inline constexpr char kCompareReadFailed[] = "%1 を読み込めませんでした";
inline constexpr char kCompareTooShort[] =
    "%1 はユニットデータではありません。\n276,016 バイト以上必要ですが、%2 バイトしかありません。";
inline constexpr char kCompareSource[] = "比較先: %1";
inline constexpr char kCompareCount[] = "違いのあるユニット: %1";
inline constexpr char kCompareNone[] = "違いのあるユニットはありません";
inline constexpr char kStepRevert[] = "%1を比較先に戻す";   // %1: four digits, or a count
inline constexpr char kStepRevertCount[] = "%1個を比較先に戻す";

// Changed units as a pack of exchange files with a command file.
inline constexpr char kPackTitle[] = "変更をﾕﾆｯﾄﾃﾞｰﾀとして書き出し";
inline constexpr char kPackBackup[] = "ﾊﾞｯｸｱｯﾌﾟ (%1)(&B)";
inline constexpr char kPackCompared[] = "比較ｳｨﾝﾄﾞｳの比較先 (%1)(&C)";
inline constexpr char kPackCount[] = "違いのあるユニット: %1 (書き出すもの: %2)";
inline constexpr char kPackNone[] = "違いのあるユニットはありません";
inline constexpr char kPackClashQuestion[] = "次のファイルは既にあります。置き換えてよろしいですか？\n\n%1";
inline constexpr char kPackClashMore[] = "ほか %1 個";
inline constexpr char kPackFailed[] = "書き出しに失敗しました。\n%1\n\nこの書き出しで書いたファイルは取り除き、置き換えたファイルは元に戻しました。";
inline constexpr char kPackDone[] = "%1個の兵器を書き出しました。\n一括読み込みで %2 を選ぶと読み込めます。";

// Table check.
inline constexpr char kCheckCount[] = "ゲームが使えない値: %1";
inline constexpr char kCheckNone[] = "ゲームが使えない値はありません";
}  // namespace str
