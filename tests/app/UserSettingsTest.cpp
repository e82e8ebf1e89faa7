// Where an installed program keeps its settings: beside the program when that folder can be
// written, else in the user's own folder, seeded from the program's setting.ini.

#include "app/AppPaths.h"
#include "i18n/LanguageFiles.h"
#include "i18n/Profile.h"
#include "tests/support/AppPathsGuard.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class UserSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* var : {"XDG_CONFIG_HOME", "HOME"}) {
            const char* value = std::getenv(var);
            m_savedEnv.emplace_back(var, value ? std::optional<std::string>(value) : std::nullopt);
        }
        m_program.Write("setting.ini", kShipped);
        m_program.Write("english.lang", "[Face]\ndisp=English\n");
        m_program.Write("chinese.lang", "[Face]\ndisp=Chinese\n");
    }
    void TearDown() override
    {
        for (const auto& [var, value] : m_savedEnv) {
            if (value)
                ::setenv(var, value->c_str(), 1);
            else
                ::unsetenv(var);
        }
    }
    std::string UserDir() const { return m_home.File("zq708-cps"); }

    static constexpr const char* kShipped = "[setup]\nlanguage=english\ncom=1\n[ModelInfo]\nFreq0=A\n";
    CTempDir m_program;
    CTempDir m_home;

private:
    CAppPathsGuard m_paths;
    std::vector<std::pair<const char*, std::optional<std::string>>> m_savedEnv;
};

} // namespace

TEST_F(UserSettingsTest, UserFolderFollowsTheBaseDirectoryRules)
{
    ::setenv("XDG_CONFIG_HOME", "/tmp/cfg//", 1);
    ::setenv("HOME", "/home/ann", 1);
    EXPECT_EQ(UserSettingsDir(), "/tmp/cfg/zq708-cps");
    ::setenv("XDG_CONFIG_HOME", "relative/cfg", 1); // not absolute: ignored
    EXPECT_EQ(UserSettingsDir(), "/home/ann/.config/zq708-cps");
    ::setenv("XDG_CONFIG_HOME", "", 1);
    ::setenv("HOME", "/home/ann/", 1);
    EXPECT_EQ(UserSettingsDir(), "/home/ann/.config/zq708-cps");
}

TEST_F(UserSettingsTest, WritableProgramFolderKeepsItsOwnSettings)
{
    ::setenv("XDG_CONFIG_HOME", m_home.Path().c_str(), 1);
    InitAppPaths(m_program.Path().string());
    EXPECT_EQ(g_strSettingFile, m_program.File("setting.ini"));
    EXPECT_EQ(g_strUserDir, "");
    EXPECT_FALSE(std::filesystem::exists(UserDir())); // nothing is made in the user's folder
    EXPECT_EQ(LanguageDirs(), std::vector<std::string>{m_program.Path().string()});
}

TEST_F(UserSettingsTest, ReadOnlyProgramFolderUsesTheUserFolder)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop the superuser";
    ::setenv("XDG_CONFIG_HOME", m_home.Path().c_str(), 1);
    ::chmod(m_program.Path().c_str(), 0555);
    InitAppPaths(m_program.Path().string());
    ::chmod(m_program.Path().c_str(), 0755);
    EXPECT_EQ(g_strAppDir, m_program.Path().string());
    EXPECT_EQ(g_strUserDir, UserDir());
    EXPECT_EQ(g_strSettingFile, UserDir() + "/setting.ini");
    EXPECT_EQ(ReadFileBytes(g_strSettingFile), kShipped);
}

TEST_F(UserSettingsTest, FirstStartSeedsTheUserCopyAndLaterStartsKeepIt)
{
    InitAppPaths(m_program.Path().string(), UserDir() + "/"); // the folder is made, with parents
    ASSERT_TRUE(SettingFileExists());
    EXPECT_EQ(g_strSettingFile, UserDir() + "/setting.ini");
    EXPECT_EQ(ReadFileBytes(g_strSettingFile), kShipped);
    EXPECT_EQ(DefaultLanguageName(), "english");

    // Writes go to the user's copy; the installed file stays pristine.
    ASSERT_TRUE(WriteProfileString(g_strSettingFile, "setup", "com", "3"));
    InitAppPaths(m_program.Path().string(), UserDir());
    EXPECT_EQ(ReadProfileInt(g_strSettingFile, "setup", "com", 0), 3);
    EXPECT_EQ(ReadFileBytes(m_program.File("setting.ini")), kShipped);
    // Only the settings file was left there: no temporary copies.
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(UserDir()), std::filesystem::directory_iterator()),
        1);

    // A user copy is used even when the installed one has gone.
    std::filesystem::remove(m_program.File("setting.ini"));
    InitAppPaths(m_program.Path().string(), UserDir());
    EXPECT_EQ(ReadProfileInt(g_strSettingFile, "setup", "com", 0), 3);
}

TEST_F(UserSettingsTest, NoSettingsAnywhereIsStillMissing)
{
    std::filesystem::remove(m_program.File("setting.ini"));
    InitAppPaths(m_program.Path().string(), UserDir());
    EXPECT_FALSE(SettingFileExists()); // the start-up says it cannot find setting.ini, as ever
    EXPECT_FALSE(std::filesystem::exists(UserDir() + "/setting.ini"));
}

TEST_F(UserSettingsTest, UnusableUserFolderFallsBackToTheProgramCopy)
{
    const std::string blocker = m_home.Write("file", "not a folder");
    InitAppPaths(m_program.Path().string(), blocker + "/zq708-cps");
    EXPECT_EQ(g_strSettingFile, m_program.File("setting.ini"));
    EXPECT_EQ(g_strUserDir, "");
    EXPECT_TRUE(SettingFileExists());
}

TEST_F(UserSettingsTest, LanguagesOfTheUserFolderComeFirst)
{
    InitAppPaths(m_program.Path().string(), UserDir());
    EXPECT_EQ(LanguageDirs(), (std::vector<std::string>{UserDir(), m_program.Path().string()}));

    SetLanguage("english"); // only beside the program
    EXPECT_EQ(g_strLangFile, m_program.File("english.lang"));
    m_home.Write("zq708-cps/English.LANG", "[Face]\ndisp=Mine\n");
    SetLanguage("english"); // the user's own, even in another case, wins
    EXPECT_EQ(g_strLangFile, UserDir() + "/English.LANG");
    m_home.Write("zq708-cps/german.lang", "[Face]\ndisp=Deutsch\n");
    SetLanguage("german");
    EXPECT_EQ(g_strLangFile, UserDir() + "/german.lang");
    SetLanguage("french"); // nowhere: the path beside the program
    EXPECT_EQ(g_strLangFile, m_program.File("french.lang"));

    // The language list: each name once, the user's file hiding the program's, in file-name order.
    std::vector<std::string> listed;
    for (const LanguageFileEntry& file : ListProgramLanguageFiles())
        listed.push_back(file.path);
    EXPECT_EQ(listed, (std::vector<std::string>{m_program.File("chinese.lang"), UserDir() + "/English.LANG",
                                                UserDir() + "/german.lang"}));

    // Choosing a language from the list writes the user's settings and finds the same file again.
    MakeLanguageCurrent(ListProgramLanguageFiles()[2]);
    EXPECT_EQ(DefaultLanguageName(), "german");
    EXPECT_EQ(ReadFileBytes(m_program.File("setting.ini")), kShipped);
}

TEST_F(UserSettingsTest, AnUpgradeBringsNewKeysToTheUserCopyAndKeepsTheUsersValues)
{
    InitAppPaths(m_program.Path().string(), UserDir());
    ASSERT_TRUE(WriteProfileString(g_strSettingFile, "setup", "com", "3"));
    ASSERT_TRUE(WriteProfileString(g_strSettingFile, "ModelInfo", "Freq0", "My band"));

    // A later version ships more band variants and a new key.
    const std::string upgraded = "[setup]\nlanguage=chinese\ncom=1\nsearchcom=1\n"
                                 "[ModelInfo]\nFreq0=A\ndata0=60134017\nFreq1=B\ndata1=00400052\n";
    m_program.Write("setting.ini", upgraded);
    InitAppPaths(m_program.Path().string(), UserDir());
    EXPECT_EQ(g_strSettingFile, UserDir() + "/setting.ini");
    EXPECT_EQ(ReadFileBytes(g_strSettingFile), "[setup]\nlanguage=english\ncom=3\nsearchcom=1\n"
                                               "[ModelInfo]\nFreq0=My band\ndata0=60134017\nFreq1=B\n"
                                               "data1=00400052\n");
    EXPECT_EQ(ReadFileBytes(m_program.File("setting.ini")), upgraded);
    // Only the settings file is there: no temporary copies.
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(UserDir()), std::filesystem::directory_iterator()),
        1);
}

TEST_F(UserSettingsTest, NamesDifferingOnlyInCaseHideEachOtherOnlyAcrossFolders)
{
    const auto listed = [] {
        std::vector<std::string> paths;
        for (const LanguageFileEntry& file : ListProgramLanguageFiles())
            paths.push_back(file.path);
        return paths;
    };
    // Two files of the program folder are two languages, with or without a user folder.
    m_program.Write("English.lang", "[Face]\ndisp=Another English\n");
    InitAppPaths(m_program.Path().string(), "");
    EXPECT_EQ(listed(),
              (std::vector<std::string>{m_program.File("chinese.lang"), m_program.File("English.lang"),
                                        m_program.File("english.lang")}));
    InitAppPaths(m_program.Path().string(), UserDir());
    EXPECT_EQ(listed().size(), 3u);

    // The user's files hide both program files of that name, and are both listed themselves.
    m_home.Write("zq708-cps/ENGLISH.lang", "[Face]\ndisp=Mine\n");
    m_home.Write("zq708-cps/english.LANG", "[Face]\ndisp=Mine too\n");
    EXPECT_EQ(listed(), (std::vector<std::string>{m_program.File("chinese.lang"), UserDir() + "/ENGLISH.lang",
                                                  UserDir() + "/english.LANG"}));
}
