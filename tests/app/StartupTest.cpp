// Start-up of the desktop program: settings file, language choice, first document, command line.
#include "ShellTestEnv.h"
#include "app/AppPaths.h"
#include "app/MainFrame.h"
#include "app/PageTabCtrl.h"
#include "app/VantorApp.h"
#include "app/VantorView.h"
#include "i18n/Profile.h"
#include "res/CommandIds.h"

#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

std::string ChineseText(const char* key)
{
    return ReadProfileString(ZQ708_SOURCE_DIR "/lang/chinese.lang", "String", key, "", 1000);
}

QStringList MenuTitles(const CMainFrame& frame)
{
    QStringList titles;
    for (QAction* a : frame.menuBar()->actions())
        titles.append(a->text());
    return titles;
}

} // namespace

TEST(StartupTest, WithoutSettingFileEndsBeforeAnyWindow)
{
    CShellTestEnv env;
    CVantorApp app;
    EXPECT_FALSE(app.InitInstance(env.Dir(), {}));
    EXPECT_EQ(app.MainFrame(), nullptr);
    ASSERT_EQ(env.messages.Asked().size(), 1u);
    EXPECT_EQ(env.messages.Asked()[0].text, "Can not find the file setting.ini!");
    EXPECT_EQ(env.messages.Asked()[0].icon, MsgIcon::Stop);
    EXPECT_EQ(env.messages.Asked()[0].buttons, MsgButtons::Ok);
}

TEST(StartupTest, EnglishWindowIsLocalisedWithoutAnyQuestion)
{
    CShellTestEnv env;
    env.WriteFile("setting.ini", "[setup]\nlanguage=english\ncom=5\n");
    CVantorApp app;
    ASSERT_TRUE(app.InitInstance(env.Dir(), {}));
    EXPECT_TRUE(env.messages.Asked().empty());
    EXPECT_EQ(g_strLangFile, env.Path("english.lang"));

    const CMainFrame& frame = *app.MainFrame();
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("ZQ708 Programming Software"));
    EXPECT_EQ(MenuTitles(frame), (QStringList{"&File", "&Edit", "&Program", "&Settings", "&Help"}));
    EXPECT_EQ(frame.Action(cmd::FileNew)->text(), QStringLiteral("&New\tCtrl+N"));
    EXPECT_EQ(frame.Action(cmd::CommPort)->text(), QStringLiteral("&Communication Port...\tCtrl+C"));
    EXPECT_EQ(frame.PortText(), QStringLiteral("COM5"));

    const CPageTabCtrl& tabs = *frame.View()->TabCtrl();
    ASSERT_EQ(tabs.count(), 3);
    EXPECT_EQ(tabs.tabText(0), QStringLiteral("     Channels     "));
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("     Function Settings     "));
    EXPECT_EQ(tabs.tabText(2), QStringLiteral("     VFO     "));
    EXPECT_EQ(tabs.currentIndex(), 0);
    EXPECT_TRUE(tabs.widget(0)->isVisible());
    EXPECT_FALSE(tabs.widget(1)->isVisible());
    EXPECT_FALSE(tabs.widget(2)->isVisible());

    EXPECT_FALSE(app.Doc().IsModified());
    EXPECT_TRUE(app.Doc().GetPathName().empty());
    EXPECT_LE(frame.width(), CMainFrame::kMaxWidth);
    EXPECT_LE(frame.height(), CMainFrame::kMaxHeight);
    EXPECT_EQ(frame.maximumSize(), QSize(CMainFrame::kMaxWidth, CMainFrame::kMaxHeight));
}

TEST(StartupTest, ChineseLanguageRelabelsTitleMenusAndTabs)
{
    CShellTestEnv env;
    env.WriteFile("setting.ini", "[setup]\nlanguage=chinese\n");
    CVantorApp app;
    ASSERT_TRUE(app.InitInstance(env.Dir(), {}));
    const CMainFrame& frame = *app.MainFrame();
    EXPECT_EQ(frame.windowTitle().toStdString(), ChineseText("IDS_WINDOWNAME"));
    EXPECT_EQ(MenuTitles(frame)[0].toStdString(), ChineseText("Menu_File"));
    EXPECT_EQ(frame.View()->TabCtrl()->tabText(0).trimmed().toStdString(), ChineseText("IDS_CHANNEL"));
    // No "com" key: the first port.
    EXPECT_EQ(frame.PortText(), QStringLiteral("COM1"));
}

TEST(StartupTest, EmptyLanguageFollowsTheSystemAndWritesNothing)
{
    CShellTestEnv env;
    const std::string settings = "[setup]\nlanguage=\n";
    env.WriteFile("setting.ini", settings);
    CVantorApp app;
    ASSERT_TRUE(app.InitInstance(env.Dir(), {}));
    EXPECT_EQ(g_strLangFile, env.Path(DefaultLanguageName() + ".lang"));
    EXPECT_EQ(env.ReadFile("setting.ini"), settings);
}

TEST(StartupTest, MissingLanguageFileShowsNotFound)
{
    CShellTestEnv env;
    env.WriteFile("setting.ini", "[setup]\nlanguage=klingon\n");
    CVantorApp app;
    ASSERT_TRUE(app.InitInstance(env.Dir(), {}));
    EXPECT_EQ(app.MainFrame()->windowTitle(), QStringLiteral("Not Found"));
    EXPECT_EQ(app.MainFrame()->View()->TabCtrl()->tabText(1), QStringLiteral("     Not Found     "));
}

TEST(StartupTest, FileOnTheCommandLineOpensWithoutTheClearQuestion)
{
    CShellTestEnv env;
    env.WriteFile("setting.ini", kSettings);
    const QString path = env.CopyGolden("full_radio.pgm", "radio.pgm");
    CVantorApp app;
    ASSERT_TRUE(app.InitInstance(env.Dir(), {path}));
    EXPECT_TRUE(env.messages.Asked().empty());
    EXPECT_EQ(app.Doc().GetPathName(), path.toStdString());
    const std::string bytes = env.ReadFile("radio.pgm");
    ASSERT_EQ(bytes.size(), 4144u);
    EXPECT_TRUE(std::equal(app.Doc().Image().begin(), app.Doc().Image().end(), bytes.begin() + 48,
                           [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }));
    EXPECT_EQ(app.RecentFiles(), QStringList{path});
}

TEST(StartupTest, UnreadableFileOnTheCommandLineIsReportedAndLeavesANewDocument)
{
    CShellTestEnv env;
    env.WriteFile("setting.ini", kSettings);
    CVantorApp app;
    ASSERT_TRUE(app.InitInstance(env.Dir(), {QString::fromStdString(env.Path("missing.pgm"))}));
    ASSERT_EQ(env.messages.Asked().size(), 1u);
    EXPECT_EQ(env.messages.Asked()[0].icon, MsgIcon::Stop);
    EXPECT_TRUE(app.MainFrame()->isVisible());
    EXPECT_TRUE(app.Doc().GetPathName().empty());
    EXPECT_TRUE(app.RecentFiles().isEmpty());
}
