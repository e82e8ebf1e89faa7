// Choosing the language: the dialog's list and OK, and the toolbar's next-language command.
#include "i18n/LanguageDlg.h"
#include "i18n/LanguageFiles.h"
#include "i18n/Profile.h"
#include "tests/support/DialogTestEnv.h"
#include "tests/support/FindControl.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

std::string LanguageKey()
{
    return ReadProfileString(g_strSettingFile, "setup", "language", "", 100);
}

QStringList Entries(const CLanguageDlg& dlg)
{
    QStringList names;
    const auto* list = FindControl<QComboBox>(&dlg, "Language");
    for (int i = 0; i < list->count(); ++i)
        names << list->itemText(i);
    return names;
}

void Press(CLanguageDlg& dlg, const char* name)
{
    QTest::mouseClick(FindControl<QPushButton>(&dlg, name), Qt::LeftButton);
}

} // namespace

TEST(NextLanguage, StepsThroughTheFilesInNameOrderAndWrapsAround)
{
    CDialogTestEnv env;
    env.WriteFile("english.lang", "[Face]\ndisp=English\n");
    env.WriteFile("Chinese.lang", "[Face]\ndisp=\n"); // hidden from the dialog, not from the toolbar
    env.WriteFile("Zulu.LANG", "[Face]\ndisp=Zulu\n");
    env.WriteFile("notes.txt", "");
    QDir(QString::fromStdString(g_strAppDir)).mkdir("folder.lang");
    int applied = 0;
    const auto apply = [&applied] { ++applied; };

    NextLanguage(apply);
    EXPECT_EQ(g_strLangFile, env.Path("Zulu.LANG"));
    EXPECT_EQ(LanguageKey(), "Zulu");
    NextLanguage(apply);
    EXPECT_EQ(g_strLangFile, env.Path("Chinese.lang"));
    EXPECT_EQ(LanguageKey(), "Chinese");
    NextLanguage(apply);
    EXPECT_EQ(g_strLangFile, env.Path("english.lang"));
    EXPECT_EQ(applied, 3);

    g_strLangFile = env.Path("deleted.lang"); // the current file is gone: start from the first
    NextLanguage(apply);
    EXPECT_EQ(g_strLangFile, env.Path("Chinese.lang"));
}

TEST(NextLanguage, SingleFileStaysAndStillRelabelsNoFileChangesNothing)
{
    CDialogTestEnv env;
    int applied = 0;
    NextLanguage([&applied] { ++applied; });
    EXPECT_EQ(applied, 0);
    EXPECT_EQ(g_strLangFile, env.Path("english.lang"));

    env.WriteFile("english.lang", "[Face]\ndisp=English\n");
    NextLanguage([&applied] { ++applied; });
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(g_strLangFile, env.Path("english.lang"));
}

TEST(LanguageDlg, ListsDisplayNamesSortedAndSelectsTheCurrentOne)
{
    CDialogTestEnv env;
    env.WriteFile("english.lang", "[Face]\ndisp=English\n[Resource]\n131=Language choice\n");
    env.WriteFile("chinese.lang", "[Face]\ndisp=中文\n");
    env.WriteFile("blank.lang", "[Face]\ndisp=\n");
    env.WriteFile("nameless.lang", "[String]\nIDS_ERROR=x\n");
    env.WriteFile("german.lang", "[Face]\ndisp=deutsch\n");

    CLanguageDlg dlg([] {});
    EXPECT_EQ(dlg.windowTitle(), "Language choice");
    EXPECT_EQ(Entries(dlg), (QStringList{"-----", "deutsch", "English", "中文"}));
    EXPECT_EQ(FindControl<QComboBox>(&dlg, "Language")->currentText(), "English");

    g_strLangFile = env.Path("missing.lang");
    CLanguageDlg none([] {});
    EXPECT_EQ(FindControl<QComboBox>(&none, "Language")->currentIndex(), -1);
}

TEST(LanguageDlg, OkWritesTheFileTitleAndRelabelsCancelChangesNothing)
{
    CDialogTestEnv env;
    env.WriteFile("english.lang", "[Face]\ndisp=English\n");
    env.WriteFile("upper.lang", "[Face]\ndisp=ENGLISH\n"); // differs only in case: told apart
    env.WriteFile("zz.lang", "[Face]\ndisp=ENGLISH\n");    // same name later: never chosen
    int applied = 0;

    {
        CLanguageDlg dlg([&applied] { ++applied; });
        auto* list = FindControl<QComboBox>(&dlg, "Language");
        list->setCurrentIndex(list->findText("ENGLISH", Qt::MatchExactly | Qt::MatchCaseSensitive));
        Press(dlg, "Cancel");
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
    EXPECT_EQ(applied, 0);
    EXPECT_EQ(g_strLangFile, env.Path("english.lang"));

    CLanguageDlg dlg([&applied] { ++applied; });
    auto* list = FindControl<QComboBox>(&dlg, "Language");
    list->setCurrentIndex(list->findText("ENGLISH", Qt::MatchExactly | Qt::MatchCaseSensitive));
    Press(dlg, "Ok");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(g_strLangFile, env.Path("upper.lang"));
    EXPECT_EQ(LanguageKey(), "upper");
}
