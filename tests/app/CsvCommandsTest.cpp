// Import and Export of channel lists from the File menu: file dialogs, the report message, the
// modified flag and the refreshed channel table.
#include "ShellTestEnv.h"
#include "app/MainFrame.h"
#include "app/VantorApp.h"
#include "grid/GridCtrl.h"
#include "i18n/LangText.h"
#include "pages/ChannelTablePage.h"
#include "radio/ChannelCsv.h"
#include "res/CommandIds.h"

#include <QAction>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class CsvCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        env.WriteFile("setting.ini", kSettings);
        ASSERT_TRUE(app.InitInstance(env.Dir(), {}));
        env.messages.Clear();
    }

    void Trigger(int command) { app.MainFrame()->Action(command)->trigger(); }
    QString Cell(int row, int col)
    {
        return app.MainFrame()->findChild<CChannelTablePage*>()->Grid().GetItemText(row, col);
    }

    CShellTestEnv env;
    CVantorApp app;
};

constexpr char kHeader[] =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";

} // namespace

TEST_F(CsvCommandsTest, ImportStoresTheRowsRefreshesThePagesAndListsTheRowsNotImported)
{
    EXPECT_EQ(app.MainFrame()->Action(cmd::FileImportCsv)->text().toStdString(),
              LoadLangString("Menu_File_Import_Csv"));
    EXPECT_EQ(app.MainFrame()->Action(cmd::FileExportCsv)->text().toStdString(),
              LoadLangString("Menu_File_Export_Csv"));
    env.AnswerFileDialog(env.WriteFile("in.csv", std::string(kHeader) +
                                                     "2,rpt,145.5,-,0.6,TSQL,,100.0,,,,,NFM,,,Low,,,,,\n"
                                                     "0,,145.5,,,,,,,,,,,,,,,,,,\n"
                                                     "3,,180,,,,,,,,,,,,,,,,,,\n"));
    Trigger(cmd::FileImportCsv);
    ASSERT_EQ(env.FileDialogs().size(), 1u);
    EXPECT_EQ(env.FileDialogs()[0].kind, FileDialogKind::OpenCsv);
    EXPECT_TRUE(app.Doc().IsModified());
    EXPECT_EQ(Cell(2, 1), QStringLiteral("145.50000"));
    EXPECT_EQ(Cell(2, 3), QStringLiteral("144.90000"));
    EXPECT_EQ(Cell(2, 2), QStringLiteral("100.0"));
    EXPECT_EQ(Cell(2, 12), QStringLiteral("RPT"));
    EXPECT_EQ(Cell(3, 1), QStringLiteral("173.99500"));

    ASSERT_EQ(env.messages.Asked().size(), 1u);
    const MessageRequest& asked = env.messages.Asked()[0];
    EXPECT_EQ(asked.caption, LoadLangString("IDS_PROMPT"));
    EXPECT_EQ(asked.text, "2 channels imported.\n\n"
                          "These rows were not imported:\n"
                          "Line 3: location \"0\" is not a channel number from 1 to 128\n\n"
                          "These rows were stored with values the radio had to change:\n"
                          "Line 4: receive frequency 180 is outside the band; stored as 173.99500");
}

TEST_F(CsvCommandsTest, CancelOrAFileWithoutHeaderChangesNothing)
{
    const RadioImage before = app.Doc().Image();
    env.AnswerFileDialog("");
    Trigger(cmd::FileImportCsv);
    EXPECT_TRUE(env.messages.Asked().empty());

    env.AnswerFileDialog(env.WriteFile("plain.csv", "1,145.5\n"));
    Trigger(cmd::FileImportCsv);
    ASSERT_EQ(env.messages.Asked().size(), 1u);
    EXPECT_EQ(env.messages.Asked()[0].caption, LoadLangString("IDS_ERROR"));
    EXPECT_EQ(env.messages.Asked()[0].text, LoadLangString("IDS_CSV_NOHEADER"));

    env.AnswerFileDialog(env.Path("absent.csv"));
    Trigger(cmd::FileImportCsv);
    ASSERT_EQ(env.messages.Asked().size(), 2u);
    EXPECT_EQ(env.messages.Asked()[1].text, LoadLangString("IDS_CSV_READFAIL") + env.Path("absent.csv"));

    // A folder opens but cannot be read: reported, where reading it used to throw and end the program.
    env.AnswerFileDialog(env.Path(""));
    Trigger(cmd::FileImportCsv);
    ASSERT_EQ(env.messages.Asked().size(), 3u);
    EXPECT_EQ(env.messages.Asked()[2].text, LoadLangString("IDS_CSV_READFAIL") + env.Path(""));
    EXPECT_EQ(app.Doc().Image(), before);
    EXPECT_FALSE(app.Doc().IsModified());
}

TEST_F(CsvCommandsTest, ALongReportListsTwentyRowsOfEachKindAndCountsTheRest)
{
    std::string text = kHeader;
    for (int i = 0; i < 25; ++i)
        text += "200,,145.5\n";
    env.AnswerFileDialog(env.WriteFile("many.csv", text));
    Trigger(cmd::FileImportCsv);
    ASSERT_EQ(env.messages.Asked().size(), 1u);
    const std::string& shown = env.messages.Asked()[0].text;
    EXPECT_NE(shown.find("Line 21: "), std::string::npos);
    EXPECT_EQ(shown.find("Line 22: "), std::string::npos);
    EXPECT_TRUE(shown.ends_with("\n... and 5 more")) << shown;
    EXPECT_FALSE(app.Doc().IsModified()); // nothing was stored
}

TEST_F(CsvCommandsTest, ExportWritesTheChannelsInUse)
{
    env.AnswerFileDialog(env.Path("out.csv"));
    Trigger(cmd::FileExportCsv);
    ASSERT_EQ(env.FileDialogs().size(), 1u);
    EXPECT_EQ(env.FileDialogs()[0].kind, FileDialogKind::SaveCsv);
    EXPECT_EQ(env.FileDialogs()[0].proposed, QStringLiteral("channels.csv"));
    EXPECT_EQ(env.ReadFile("out.csv"), CChannelCsv(app.Doc()).Export());
    EXPECT_TRUE(env.messages.Asked().empty());

    env.AnswerFileDialog(env.Path("no/dir/out.csv"));
    Trigger(cmd::FileExportCsv);
    ASSERT_EQ(env.messages.Asked().size(), 1u);
    EXPECT_EQ(env.messages.Asked()[0].text,
              "Cannot save the file:\n" + env.Path("no/dir/out.csv") + "\n" + std::strerror(ENOENT));
}

TEST_F(CsvCommandsTest, ExportReplacesAnOldFileWholeAndTakesALongName)
{
    // A reader of the old file keeps it whole: the export goes to a new file renamed over it.
    const std::string old = env.WriteFile("out.csv", std::string(100000, 'x'));
    struct stat before
    {
    };
    ASSERT_EQ(::stat(old.c_str(), &before), 0);
    env.AnswerFileDialog(old);
    Trigger(cmd::FileExportCsv);
    struct stat after
    {
    };
    ASSERT_EQ(::stat(old.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(env.ReadFile("out.csv"), CChannelCsv(app.Doc()).Export());

    const std::string longName = std::string(246, 'c') + ".csv"; // 250 bytes, the longest names allow 255
    env.AnswerFileDialog(env.Path(longName));
    Trigger(cmd::FileExportCsv);
    EXPECT_EQ(env.ReadFile(longName), CChannelCsv(app.Doc()).Export());
    EXPECT_TRUE(env.messages.Asked().empty());
}
