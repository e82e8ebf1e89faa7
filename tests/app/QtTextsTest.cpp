// Texts the program does not write itself, in the user's language: the buttons of its message boxes
// come from the language file, the file and print dialogs from Qt's translations, and both follow a
// change of language.
#include "ShellTestEnv.h"
#include "app/AppPaths.h"
#include "app/MainFrame.h"
#include "app/QtMessageBox.h"
#include "app/VantorApp.h"
#include "res/CommandIds.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Pictures for a person to look at, written when ZQ708_SHOTS_DIR is set.
void Shoot(QWidget* widget, const QString& name)
{
    const QString dir = qEnvironmentVariable("ZQ708_SHOTS_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    widget->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// Runs `action`, which opens a modal dialog of type T, and hands the dialog to `look`, which closes it.
template <typename T> void WithModal(const std::function<void()>& action, const std::function<void(T*)>& look)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        seen = dialog != nullptr;
        if (dialog)
            look(dialog);
        else if (QWidget* other = QApplication::activeModalWidget())
            other->close();
    });
    action();
    EXPECT_TRUE(seen) << T::staticMetaObject.className();
}

bool HasChinese(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; });
}

class QtTextsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        env.WriteFile("setting.ini", kSettings);
        ASSERT_TRUE(app.InitInstance(env.Dir(), {}));
    }

    // What the language dialog does after OK.
    void UseLanguage(const char* name)
    {
        SetLanguage(name);
        app.ApplyLanguage();
    }

    CShellTestEnv env;
    CVantorApp app;
};

} // namespace

TEST_F(QtTextsTest, MessageBoxButtonsComeFromTheLanguageFile)
{
    struct Case
    {
        const char* language;
        std::string ok, cancel, yes, no;
    };
    // Where the file names no button, Qt's own text in the file's language stays.
    env.WriteFile("plain.lang", "[Face]\nlcid=1033\n[Resource]\n1=Fine\n2=Never mind\n6=Sure\n7=Nope\n");
    env.WriteFile("bare.lang", "[Face]\nlcid=2052\n");
    const Case cases[] = {{"english", "OK", "Cancel", "&Yes", "&No"},
                          {"chinese", "确定", "取消", "是(&Y)", "否(&N)"},
                          {"plain", "Fine", "Never mind", "Sure", "Nope"},
                          {"bare", "确定", "取消", "是(&Y)", "否(&N)"}};
    const MessageHandler scripted = SetMessageHandler({});
    InstallQtMessageBox();
    for (const Case& c : cases) {
        UseLanguage(c.language);
        const QString lang = QString::fromLatin1(c.language);

        // The question before a modified document is dropped; No still means No.
        app.Doc().SetModifiedFlag();
        WithModal<QMessageBox>([&] { EXPECT_TRUE(app.SaveModified()) << c.language; },
                               [&](QMessageBox* box) {
                                   EXPECT_EQ(box->button(QMessageBox::Yes)->text().toStdString(), c.yes);
                                   EXPECT_EQ(box->button(QMessageBox::No)->text().toStdString(), c.no);
                                   EXPECT_EQ(box->button(QMessageBox::Cancel)->text().toStdString(),
                                             c.cancel);
                                   Shoot(box, QStringLiteral("question-") + lang);
                                   QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
                               });

        // The question before the memory is cleared.
        app.Doc().SetModifiedFlag(false);
        WithModal<QMessageBox>([&] { app.OnFileNew(); },
                               [&](QMessageBox* box) {
                                   EXPECT_EQ(box->button(QMessageBox::Ok)->text().toStdString(), c.ok);
                                   EXPECT_EQ(box->button(QMessageBox::Cancel)->text().toStdString(),
                                             c.cancel);
                                   Shoot(box, QStringLiteral("clear-") + lang);
                                   box->button(QMessageBox::Cancel)->click();
                               });
    }
    SetMessageHandler(scripted);
}

TEST_F(QtTextsTest, FileAndPrintDialogsFollowTheLanguage)
{
    const FileDialogHandler scripted = SetFileDialogHandler({});
    // Chinese, then back to English: the Chinese texts must go again.
    for (const char* language : {"chinese", "english"}) {
        UseLanguage(language);
        const bool chinese = QByteArray(language) == "chinese";
        const QString lang = QString::fromLatin1(language);

        WithModal<QFileDialog>(
            [&] { app.OnFileOpen(); },
            [&](QFileDialog* dialog) {
                const auto* lookIn = dialog->findChild<QLabel*>(QStringLiteral("lookInLabel"));
                const auto* name = dialog->findChild<QLabel*>(QStringLiteral("fileNameLabel"));
                ASSERT_TRUE(lookIn && name);
                EXPECT_EQ(HasChinese(lookIn->text()), chinese) << lookIn->text().toStdString();
                EXPECT_EQ(HasChinese(name->text()), chinese) << name->text().toStdString();
                if (!chinese) {
                    EXPECT_EQ(lookIn->text(), QStringLiteral("Look in:"));
                }
                Shoot(dialog, QStringLiteral("open-") + lang);
                dialog->reject();
            });

        WithModal<QPrintDialog>([&] { app.MainFrame()->Action(cmd::FilePrint)->trigger(); },
                                [&](QPrintDialog* dialog) {
                                    EXPECT_EQ(HasChinese(dialog->windowTitle()), chinese)
                                        << dialog->windowTitle().toStdString();
                                    for (QPushButton* button : dialog->findChildren<QPushButton*>())
                                        if (button->isVisible() && !button->text().isEmpty()) {
                                            EXPECT_EQ(HasChinese(button->text()), chinese)
                                                << button->text().toStdString();
                                        }
                                    Shoot(dialog, QStringLiteral("print-") + lang);
                                    dialog->reject();
                                });
    }
    SetFileDialogHandler(scripted);
}

TEST(QtTextsAtStartTest, AProgramStartedInChineseHasQtsChineseTexts)
{
    CShellTestEnv env;
    env.WriteFile("setting.ini",
                  std::string(kSettings).replace(std::string(kSettings).find("english"), 7, "chinese"));
    CVantorApp app;
    ASSERT_TRUE(app.InitInstance(env.Dir(), {}));
    EXPECT_TRUE(HasChinese(QCoreApplication::translate("QFileDialog", "Look in:")));
}
