#include "platform/Files.h"
#include "platform/Ui.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace wexly::test {

TEST(Platform, UpperTableFoldsLatin1LikeWindows)
{
    const auto& t = Windows1252UpperTable();
    EXPECT_EQ(t['a'], 'A');
    EXPECT_EQ(t[0xE9], 0xC9); // e acute
    EXPECT_EQ(t[0xF7], 0xF7); // division sign has no case
    EXPECT_EQ(t[0xDF], 0xDF); // sharp s stays
    EXPECT_EQ(t[0xFF], 0x9F); // y diaeresis
}

TEST(Platform, RealFileSystemWritesRenamesAndReports)
{
    auto& fs = RealFileSystem();
    std::string dir = ::testing::TempDir();
    std::string a = fs.TempNameIn(dir), b = fs.TempNameIn(dir) + "b";
    {
        auto f = fs.Open(a, TFileAccess::Write, TFileShare::Exclusive, TFileCreate::CreateNew);
        ASSERT_TRUE(f);
        ASSERT_TRUE(f->Write("hello", 5));
        EXPECT_EQ(f->Size(), 5);
    }
    ASSERT_TRUE(fs.Rename(a, b, false));
    EXPECT_FALSE(fs.Exists(a));
    TFileError err;
    EXPECT_EQ(fs.Open(a, TFileAccess::Read, TFileShare::DenyNone, TFileCreate::OpenExisting, &err),
        nullptr);
    EXPECT_EQ(err.code, FileErrorCode::FileNotFound);
    EXPECT_TRUE(fs.Delete(b));
}

} // namespace wexly::test
