#include "platform/FileReplace.h"
#include "config/SettingsFile.h"

#include "config/MemFileSystem.h"

#include <gtest/gtest.h>

namespace wexly::test {
namespace {

const std::string kExe = "/opt/wexly/wexly.exe";
const std::string kIni = "/opt/wexly/wexly.ini";
const std::string kOld = "[Wexly]\r\ngenTabSize=3\r\n[Mine]\r\nkeep=1\r\n";

struct SettingsSave : ::testing::Test
{
    TMemFileSystem fs;
    TSettingsEnv env;
    TSettings settings;

    void SetUp() override
    {
        env.ExePath = kExe;
        env.Files = &fs;
        fs.files[kIni] = kOld;
        ASSERT_TRUE(LoadSettings(settings, env).Ok);
        settings.TabSize = 5;
    }
    void ExpectOldFileKept()
    {
        EXPECT_EQ(fs.files[kIni], kOld);
        EXPECT_EQ(fs.files.size(), 1u) << "a temporary file was left behind";
    }
};

} // namespace

TEST_F(SettingsSave, ReplacesTheFileWhole)
{
    TSettingsFileResult r = SaveSettings(settings, env);
    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(fs.renames, 1);
    EXPECT_EQ(fs.files.size(), 1u);
    TMemIniFile ini(fs.files[kIni]);
    EXPECT_EQ(ini.ReadString("Wexly", "genTabSize", ""), "5");
    EXPECT_EQ(ini.ReadString("Mine", "keep", ""), "1");
}

TEST_F(SettingsSave, AFullDiskKeepsTheOldFileAndSaysWhy)
{
    fs.diskSpace = 100;
    TSettingsFileResult r = SaveSettings(settings, env);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Error.code, FileErrorCode::DiskFull);
    EXPECT_EQ(r.Error.path, kIni);
    EXPECT_EQ(r.Message.caption, "Error");
    EXPECT_EQ(r.Message.icon, TMsgIcon::Warning);
    EXPECT_EQ(r.Message.buttons, TMsgButtons::Ok);
    EXPECT_EQ(r.Message.text,
        "The settings could not be saved to\r" + kIni
            + "\rThere is not enough space on the disk.\rThe previous settings file was left "
              "unchanged.");
    ExpectOldFileKept();
}

TEST_F(SettingsSave, AFailedReplaceKeepsTheOldFile)
{
    fs.renameFailure = FileErrorCode::SharingViolation;
    TSettingsFileResult r = SaveSettings(settings, env);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Error.code, FileErrorCode::SharingViolation);
    ExpectOldFileKept();
}

TEST_F(SettingsSave, AReadOnlyFileIsNotReplaced)
{
    fs.readOnly.insert(kIni);
    TSettingsFileResult r = SaveSettings(settings, env);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Error.code, FileErrorCode::AccessDenied);
    ExpectOldFileKept();
}

TEST_F(SettingsSave, AnUnreadableFileIsNeitherLoadedNorOverwritten)
{
    fs.openFailures[kIni] = FileErrorCode::SharingViolation;
    TSettings fresh;
    TSettingsFileResult load = LoadSettings(fresh, env);
    EXPECT_FALSE(load.Ok);
    EXPECT_NE(load.Message.text.find("could not be read"), std::string::npos);
    EXPECT_EQ(fresh.TabSize, 8); // defaults
    TSettingsFileResult save = SaveSettings(settings, env);
    EXPECT_FALSE(save.Ok);
    EXPECT_EQ(save.Error.code, FileErrorCode::SharingViolation);
    fs.openFailures.clear();
    ExpectOldFileKept();
}

TEST_F(SettingsSave, RunningOutOfMemorySkipsLoadAndSaveWithTheLowMemoryMessage)
{
    fs.readRunsOutOfMemory = true;
    TSettings fresh;
    fresh.TabSize = 77;
    for (const TSettingsFileResult& r : { LoadSettings(fresh, env), SaveSettings(settings, env) }) {
        EXPECT_FALSE(r.Ok);
        EXPECT_EQ(r.Message.text, "Danger: Low on memory");
        EXPECT_EQ(r.Message.caption, "Error");
        EXPECT_EQ(r.Message.icon, TMsgIcon::Warning);
    }
    EXPECT_EQ(fresh.TabSize, 77); // the program goes on with what it holds
    ExpectOldFileKept();
}

TEST_F(SettingsSave, TheTemporaryFileCannotBeCreated)
{
    fs.files.erase(kIni);
    fs.openFailures["/opt/wexly/tmp1.tmp"] = FileErrorCode::AccessDenied;
    TSettingsFileResult r = SaveSettings(settings, env);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Error.code, FileErrorCode::AccessDenied);
    EXPECT_TRUE(fs.files.empty());
}

} // namespace wexly::test
