#include <gtest/gtest.h>

#include <cerrno>

#include "data/FileError.h"

TEST(FileError, CausesAndTexts)
{
    EXPECT_EQ(CauseFromErrno(ENOENT), FileErrorCause::FileNotFound);
    EXPECT_EQ(CauseFromErrno(EACCES), FileErrorCause::AccessDenied);
    EXPECT_EQ(CauseFromErrno(ENOSPC), FileErrorCause::DiskFull);
    EXPECT_EQ(CauseFromErrno(EIO), FileErrorCause::HardIO);
    EXPECT_EQ(CauseFromErrno(EMFILE), FileErrorCause::TooManyOpenFiles);
    EXPECT_EQ(CauseFromErrno(0), FileErrorCause::None);
    EXPECT_EQ(CauseFromErrno(EPROTO), FileErrorCause::Generic);

    EXPECT_EQ(FileErrorText(FileErrorCause::DiskFull, "/g/UNITINFO.DAT"),
              "/g/UNITINFO.DAT へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。");
    EXPECT_EQ(FileErrorText(FileErrorCause::FileNotFound, ""), "無題のﾌｧｲﾙ が見つかりませんでした。");
    EXPECT_EQ(FileErrorText(FileErrorCause::Generic, "a"), "a へのｱｸｾｽ中に不明なｴﾗｰが発生しました。");
    EXPECT_EQ(FileErrorText(FileErrorCause::DirectoryFull, "d"), "d を作成できませんでした。そのﾃﾞｨﾚｸﾄﾘはいっぱいです。");
    EXPECT_EQ(FileErrorText(FileErrorCause::None, "x"), "ｴﾗｰはありませんでした。");
    EXPECT_EQ(FileErrorText(FileErrorCause::EndOfFile, "%1"), "%1 の末尾以降にｱｸｾｽしようとしました。");
}
