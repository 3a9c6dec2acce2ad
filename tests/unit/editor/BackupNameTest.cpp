#include "editor/BackupName.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

namespace wexly::test {

TEST(BackupName, TildeGoesBeforeTheExtensionOfTheLastComponentOnly)
{
    EXPECT_EQ(BackupFileName("notes.txt"), "notes.~txt");
    EXPECT_EQ(BackupFileName("README"), "README.~");
    EXPECT_EQ(BackupFileName("archive.tar.gz"), "archive.tar.~gz");
    EXPECT_EQ(BackupFileName("name."), "name.~");
    std::string sep(1, PathSeparator());
    EXPECT_EQ(BackupFileName("dir.old" + sep + "file"), "dir.old" + sep + "file.~");
    EXPECT_EQ(BackupFileName("dir.old" + sep + "a.bin"), "dir.old" + sep + "a.~bin");
}

} // namespace wexly::test
