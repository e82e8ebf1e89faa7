#include "i18n/LangText.h"
#include "app/AppPaths.h"
#include "i18n/LanguageLocale.h"

#include "tests/support/AppPathsGuard.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace {

// Points g_strLangFile at a file of the test and restores it afterwards.
class LangTextTest : public ::testing::Test
{
protected:
    void UseLang(const std::string& content) { g_strLangFile = m_dir.Write("test.lang", content); }

    CAppPathsGuard m_paths;
    CTempDir m_dir;
};

} // namespace

TEST_F(LangTextTest, EscapesAreLineFeedThenTab)
{
    UseLang("[String]\n"
            "two_lines=first\\nsecond\n"
            "tabbed=Save\\tCtrl+S\n"
            "others=C:\\radio\\x \\\\n\n"
            "lower_case_key=found\n");
    EXPECT_EQ(LoadLangString("two_lines"), "first\nsecond");
    EXPECT_EQ(LoadLangString("tabbed"), "Save\tCtrl+S");
    EXPECT_EQ(LoadLangString("others"), "C:\\radio\\x \\\n");
    EXPECT_EQ(LoadLangString("LOWER_CASE_KEY"), "found");
}

TEST_F(LangTextTest, NotFoundForEveryMissingPiece)
{
    UseLang("[String]\nempty=\n[Other]\nIDS_X=elsewhere\n");
    EXPECT_EQ(LoadLangString("IDS_X"), "Not Found");
    EXPECT_EQ(LoadLangString("empty"), "");
    g_strLangFile = m_dir.File("missing.lang");
    EXPECT_EQ(LoadLangString("IDS_X"), "Not Found");
    EXPECT_TRUE(LoadOptionList("Other").empty());
    EXPECT_EQ(LoadLangValue("Face", "disp", "-----", 100), "-----");
    g_strLangFile = m_dir.Path().string();
    EXPECT_EQ(LoadLangString("IDS_X"), "Not Found");
}

TEST_F(LangTextTest, LongTextsAreCutAt999Bytes)
{
    std::string chinese; // 400 three-byte characters
    for (int i = 0; i < 400; ++i)
        chinese += "\xE4\xB8\xAD";
    UseLang("[String]\nlong=" + std::string(1200, 'a') + "\nwide=" + chinese + "\nshifted=a" + chinese +
            "\n");
    EXPECT_EQ(LoadLangString("long"), std::string(999, 'a'));
    EXPECT_EQ(LoadLangString("wide").size(), 999u);    // 333 whole characters
    EXPECT_EQ(LoadLangString("shifted").size(), 997u); // 1 + 332 characters: the 333rd would be split
}

TEST_F(LangTextTest, SwitchingTheFileNeedsNoReload)
{
    UseLang("[String]\nIDS_WINDOWNAME=first\n");
    EXPECT_EQ(LoadLangString("IDS_WINDOWNAME"), "first");
    g_strLangFile = m_dir.Write("other.lang", "[String]\nids_windowname=second\n");
    EXPECT_EQ(LoadLangString("IDS_WINDOWNAME"), "second");
    m_dir.Write("other.lang", "[String]\nIDS_WINDOWNAME=edited\n");
    EXPECT_EQ(LoadLangString("IDS_WINDOWNAME"), "edited");
}

TEST_F(LangTextTest, LocaleOfTheLanguageFileByItsLanguageIdentifier)
{
    const std::pair<const char*, const char*> cases[] = {
        {"[Face]\nlcid=2052\n", "zh_CN"}, {"[face]\nLCID = 1033\n", "en_US"},
        {"[Face]\nlcid=1028\n", "zh_TW"}, {"[Face]\nlcid=4100\n", "zh_SG"},
        {"[Face]\nlcid=1025\n", "ar_SA"}, {"[Face]\nlcid=1024\n", ""},
        {"[Face]\nlcid=4101\n", ""},      {"[Face]\nlcid=\n", ""},
        {"[Face]\ndisp=English\n", ""},   {"[String]\nlcid=2052\n", ""},
    };
    for (const auto& [file, locale] : cases) {
        UseLang(file);
        EXPECT_EQ(LanguageLocaleName(), locale) << file;
    }
    g_strLangFile = (m_dir.Path() / "missing.lang").string();
    EXPECT_EQ(LanguageLocaleName(), "");
}

TEST_F(LangTextTest, OptionListsStopAtTheFirstMissingOrEmptyKey)
{
    UseLang("[Gap]\n0=a\n1=b\n3=d\n"
            "[Empty]\n0=a\n1=\n2=c\n"
            "[Quoted]\n0=a\n1=\"\"\n2=c\n"
            "[Order]\n1=b\n0=a\n"
            "[Long]\n0=" +
            std::string(40, 'x') + "\n");
    EXPECT_EQ(LoadOptionList("Gap"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(LoadOptionList("empty"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(LoadOptionList("Quoted"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(LoadOptionList("Order"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(LoadOptionList("Long"), (std::vector<std::string>{std::string(29, 'x')}));
    EXPECT_TRUE(LoadOptionList("Missing").empty());
}

TEST_F(LangTextTest, HeaderTextsRepeatThePreviousOneForMissingKeys)
{
    UseLang("[ChText]\nIDS_ChText1=RX\nIDS_ChText2=\nIDS_ChText4=Name\n");
    EXPECT_EQ(LoadHeaderTexts("ChText", "IDS_ChText", 6),
              (std::vector<std::string>{"", "RX", "", "", "Name", "Name"}));
    EXPECT_EQ(LoadHeaderTexts("RadiogramText", "IDS_RadiogramText", 2), (std::vector<std::string>{"", ""}));
}

namespace {

// Sets the locale variables for one test and restores them afterwards.
class LanguageChoiceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* var : kVars) {
            const char* value = std::getenv(var);
            m_saved.emplace_back(var, value ? std::optional<std::string>(value) : std::nullopt);
            ::unsetenv(var);
        }
        InitAppPaths(m_dir.Path().string());
    }
    void TearDown() override
    {
        for (const auto& [var, value] : m_saved) {
            if (value)
                ::setenv(var, value->c_str(), 1);
            else
                ::unsetenv(var);
        }
    }
    static void Env(const char* lcAll, const char* lcMessages, const char* lang)
    {
        const std::pair<const char*, const char*> values[] = {
            {"LC_ALL", lcAll}, {"LC_MESSAGES", lcMessages}, {"LANG", lang}};
        for (const auto& [var, value] : values) {
            if (value)
                ::setenv(var, value, 1);
            else
                ::unsetenv(var);
        }
    }

    static constexpr const char* kVars[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    CAppPathsGuard m_paths;
    CTempDir m_dir;

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> m_saved;
};

} // namespace

TEST_F(LanguageChoiceTest, PathsAndTheSettingsFile)
{
    InitAppPaths(m_dir.Path().string() + "/");
    EXPECT_EQ(g_strAppDir, m_dir.Path().string());
    EXPECT_EQ(g_strSettingFile, m_dir.File("setting.ini"));
    EXPECT_FALSE(SettingFileExists());
    std::filesystem::create_directory(g_strSettingFile);
    EXPECT_FALSE(SettingFileExists()); // a directory of that name is no settings file
    std::filesystem::remove(g_strSettingFile);
    m_dir.Write("setting.ini", "");
    EXPECT_TRUE(SettingFileExists());

    // The tests run from <build>/tests, the program from <build>/bin.
    EXPECT_EQ(std::filesystem::path(ExecutableDir()),
              std::filesystem::canonical(std::filesystem::path(ZQ708_BIN_DIR).parent_path() / "tests"));
}

TEST_F(LanguageChoiceTest, LocaleNames)
{
    for (const char* name : {"zh_CN", "zh_CN.UTF-8", "zh_CN.GB18030", "zh_CN@stroke"})
        EXPECT_TRUE(IsChineseMainlandLocale(name)) << name;
    for (const char* name :
         {"", "C", "POSIX", "zh", "zh_TW.UTF-8", "zh_HK", "zh_CNX", "en_CN", "en_US.UTF-8"})
        EXPECT_FALSE(IsChineseMainlandLocale(name)) << name;

    Env(nullptr, nullptr, "zh_CN.UTF-8");
    EXPECT_EQ(SystemLocaleName(), "zh_CN.UTF-8");
    Env("", "zh_CN", "en_US.UTF-8"); // an empty variable does not count
    EXPECT_EQ(SystemLocaleName(), "zh_CN");
    Env("en_GB.UTF-8", "zh_CN", "zh_CN");
    EXPECT_EQ(SystemLocaleName(), "en_GB.UTF-8");
    Env(nullptr, nullptr, nullptr);
    EXPECT_EQ(SystemLocaleName(), "");
}

TEST_F(LanguageChoiceTest, EmptyLanguageFollowsTheLocaleAndWritesNothing)
{
    const std::string content = "[other]\nlanguage=french\n";
    m_dir.Write("setting.ini", content);
    Env(nullptr, nullptr, "zh_CN.UTF-8");
    EXPECT_EQ(DefaultLanguageName(), "chinese");
    Env(nullptr, nullptr, "zh_TW.UTF-8");
    EXPECT_EQ(DefaultLanguageName(), "english");
    Env(nullptr, nullptr, nullptr);
    EXPECT_EQ(DefaultLanguageName(), "english");
    EXPECT_EQ(ReadFileBytes(g_strSettingFile), content);

    m_dir.Write("setting.ini", "[setup]\nlanguage=\n");
    Env("zh_CN", nullptr, nullptr);
    EXPECT_EQ(DefaultLanguageName(), "chinese");

    m_dir.Write("setting.ini", "[Setup]\nLanguage = my.test\n");
    EXPECT_EQ(DefaultLanguageName(), "my.test");
}

TEST_F(LanguageChoiceTest, LanguageFilePath)
{
    SetLanguage("english");
    EXPECT_EQ(g_strLangFile, m_dir.File("english.lang")); // missing files are not looked for at start-up

    m_dir.Write("Chinese.lang", "[Face]\ndisp=x\n");
    SetLanguage("chinese");
    EXPECT_EQ(g_strLangFile, m_dir.File("Chinese.lang"));

    m_dir.Write("chinese.lang", "[Face]\ndisp=y\n");
    SetLanguage("chinese");
    EXPECT_EQ(g_strLangFile, m_dir.File("chinese.lang")); // the exact name wins
}
