// The password before the test mode.
#include "service/PasswordDlg.h"
#include "app/AppPaths.h"
#include "app/ScriptedMessages.h"
#include "i18n/LangText.h"
#include "link/SerialPort.h"
#include "radio/VantorDoc.h"
#include "res/DialogBuilder.h"
#include "tests/support/AppPathsGuard.h"
#include "tests/support/FindControl.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class PasswordDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UseShippedLanguage("english");
        m_dlg = std::make_unique<CPasswordDlg>(m_doc, m_port, nullptr);
        m_dlg->show();
    }
    void TearDown() override { m_dlg.reset(); }

    QLineEdit* Edit() { return FindControl<QLineEdit>(m_dlg.get(), "Password"); }

    // Types the password and presses Enter; returns the caption of the test mode dialog if it opened.
    QString Submit(const QString& password)
    {
        Edit()->clear();
        QTest::keyClicks(Edit(), password);
        QString opened;
        QTimer::singleShot(0, [&opened] {
            if (QWidget* modal = QApplication::activeModalWidget(); qobject_cast<CTestModeDlg*>(modal)) {
                opened = modal->windowTitle();
                QTest::keyClick(modal, Qt::Key_Escape);
            }
        });
        QTest::keyClick(Edit(), Qt::Key_Return);
        QApplication::processEvents();
        return opened;
    }

    CAppPathsGuard m_paths;
    CScriptedMessages m_messages;
    CVantorDoc m_doc;
    CSerialPort m_port;
    std::unique_ptr<CPasswordDlg> m_dlg;
};

} // namespace

TEST_F(PasswordDlgTest, AWrongPasswordIsRefusedAndTheDialogStaysOpen)
{
    EXPECT_EQ(m_dlg->windowTitle(), "Test Mode");
    EXPECT_EQ(Edit()->echoMode(), QLineEdit::Password);
    for (const char* wrong : {"hn274", "HN2745", ""}) {
        m_messages.Clear();
        EXPECT_TRUE(Submit(wrong).isEmpty()) << wrong;
        ASSERT_EQ(m_messages.Asked().size(), 1u);
        EXPECT_EQ(m_messages.Asked()[0].text, LoadLangString("IDS_ERROR_PASSWORD"));
        EXPECT_EQ(m_messages.Asked()[0].icon, MsgIcon::Stop);
        EXPECT_TRUE(m_dlg->isVisible());
    }
}

TEST_F(PasswordDlgTest, TheRightPasswordOpensTheTestModeAndComesBackHere)
{
    EXPECT_EQ(Submit("HN274"), "Test Mode");
    EXPECT_TRUE(m_messages.Asked().empty());
    EXPECT_TRUE(m_dlg->isVisible());
    EXPECT_EQ(Edit()->text(), "HN274");

    QTest::mouseClick(FindControl<QPushButton>(m_dlg.get(), "Cancel"), Qt::LeftButton);
    EXPECT_FALSE(m_dlg->isVisible());
}

TEST_F(PasswordDlgTest, EnterOnAFocusedCancelCancels)
{
    QApplication::setActiveWindow(m_dlg.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_dlg.get()));
    QTest::keyClicks(Edit(), "wrong");
    auto* cancel = FindControl<QPushButton>(m_dlg.get(), "Cancel");
    for (int i = 0; i < 3 && QApplication::focusWidget() != cancel; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), cancel);
    QTest::keyClick(cancel, Qt::Key_Return);
    EXPECT_TRUE(m_messages.Asked().empty()); // the password was not checked
    EXPECT_FALSE(m_dlg->isVisible());
    EXPECT_EQ(m_dlg->result(), QDialog::Rejected);
}

// Every dialog with a default button: Enter presses the button that has the focus, and the default
// one while the focus is elsewhere.
TEST(DialogButtons, EnterPressesTheFocusedButtonElseTheDefaultOne)
{
    for (const DialogTemplate* tmpl :
         {&g_dlgPort, &g_dlgLanguage, &g_dlgProgress, &g_dlgPassword, &g_dlgRadiogram}) {
        QDialog dlg;
        CDialogBuilder::Build(&dlg, *tmpl);
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
        auto* ok = FindControl<QPushButton>(&dlg, "Ok");
        auto* cancel = FindControl<QPushButton>(&dlg, "Cancel");
        QSignalSpy oks(ok, &QPushButton::clicked);
        QSignalSpy cancels(cancel, &QPushButton::clicked);
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Return);
        EXPECT_EQ(cancels.size(), 1) << tmpl->id;
        EXPECT_EQ(oks.size(), 0) << tmpl->id;
        dlg.setFocus();
        QTest::keyClick(&dlg, Qt::Key_Return);
        EXPECT_EQ(oks.size(), 1) << tmpl->id;
        EXPECT_EQ(cancels.size(), 1) << tmpl->id;
    }
}
