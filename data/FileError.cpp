#include "data/FileError.h"

#include <cerrno>

#include "data/FileIo.h"

FileErrorCause CauseFromErrno(int err)
{
    switch (err) {
    case 0: return FileErrorCause::None;
    case ENOENT: return FileErrorCause::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return FileErrorCause::BadPath;
    case EMFILE:
    case ENFILE: return FileErrorCause::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST: return FileErrorCause::AccessDenied;
    case EBADF: return FileErrorCause::InvalidFile;
    case EMLINK: return FileErrorCause::DirectoryFull;
    case ESPIPE: return FileErrorCause::BadSeek;
    case EIO: return FileErrorCause::HardIO;
    case EBUSY:
    case ETXTBSY: return FileErrorCause::SharingViolation;
    case EDEADLK:
    case ENOLCK: return FileErrorCause::LockViolation;
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return FileErrorCause::DiskFull;
    default: return FileErrorCause::Generic;
    }
}

namespace {

const char* Template(FileErrorCause cause)
{
    switch (cause) {
    case FileErrorCause::None: return "ｴﾗｰはありませんでした。";
    case FileErrorCause::Generic: break;
    case FileErrorCause::FileNotFound: return "%1 が見つかりませんでした。";
    case FileErrorCause::BadPath: return "%1 には無効なﾊﾟｽが含まれています。";
    case FileErrorCause::TooManyOpenFiles: return "開いているﾌｧｲﾙが多すぎるため、%1 を開けませんでした。";
    case FileErrorCause::AccessDenied: return "%1 へのｱｸｾｽは拒否されました。";
    case FileErrorCause::InvalidFile: return "%1 へ無効なﾌｧｲﾙ ﾊﾝﾄﾞﾙが関連付けられていました。";
    case FileErrorCause::RemoveCurrentDir: return "現在のﾃﾞｨﾚｸﾄﾘ %1 は削除できませんでした。";
    case FileErrorCause::DirectoryFull: return "%1 を作成できませんでした。そのﾃﾞｨﾚｸﾄﾘはいっぱいです。";
    case FileErrorCause::BadSeek: return "%1 のｼｰｸに失敗しました。";
    case FileErrorCause::HardIO: return "%1 へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。";
    case FileErrorCause::SharingViolation: return "%1 へのｱｸｾｽ中に共有違反が発生しました。";
    case FileErrorCause::LockViolation: return "%1 へのｱｸｾｽ中にﾛｯｸ違反が発生しました。";
    case FileErrorCause::DiskFull: return "%1 へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。";
    case FileErrorCause::EndOfFile: return "%1 の末尾以降にｱｸｾｽしようとしました。";
    }
    return "%1 へのｱｸｾｽ中に不明なｴﾗｰが発生しました。";
}

}  // namespace

std::string FileErrorText(FileErrorCause cause, std::string_view path)
{
    const std::string_view name = path.empty() ? std::string_view("無題のﾌｧｲﾙ") : path;
    std::string text = Template(cause);
    if (const auto at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, name);
    return text;
}

std::string ReplaceErrorText(const corvane::ReplaceError& error, std::string_view shown)
{
    using Step = corvane::ReplaceError::Step;
    const std::string path = corvane::TextFromPath(error.path);
    const std::string cause = FileErrorText(CauseFromErrno(error.err), path);
    switch (error.step) {
    case Step::Sync:
        return std::string(shown) + " は新しい内容に置き換えましたが、ディスクに書き込まれていない可能性があります。\n" + cause;
    case Step::Permissions:
        return std::string(shown) + " は新しい内容に置き換えましたが、元のファイルのアクセス許可を引き継げませんでした。\n"
            + FileErrorText(CauseFromErrno(error.err), shown);
    case Step::Refused:
        if (error.err == EEXIST)
            return std::string(shown) + " はゲームの兵器データファイル (UNITINFO.DAT または UNITINFO.ORG) です。"
                                        "別のファイルを指定してください。";
        return FileErrorText(CauseFromErrno(error.err), shown);
    default:
        return FileErrorText(CauseFromErrno(error.err), error.path.empty() ? shown : std::string_view(path));
    }
}
