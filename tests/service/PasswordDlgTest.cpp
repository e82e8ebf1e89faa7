// The password before the test mode.
#include "app/AppPaths.h"
#include "app/ScriptedMessages.h"
#include "i18n/LangText.h"
#include "link/SerialPort.h"
#include "radio/VantorDoc.h"
#include "res/DialogBuilder.h"
#include "service/PasswordDlg.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class PasswordDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedLang = g_strLangFile;
        g_strLangFile = ZQ708_SOURCE_DIR "/lang/english.lang";
        m_dlg = std::make_unique<CPasswordDlg>(m_doc, m_port, nullptr);
        m_dlg->show();
    }
    void TearDown() override
    {
        m_dlg.reset();
        g_strLangFile = m_savedLang;
    }

    QLineEdit* Edit() { return GetDlgItemAs<QLineEdit>(m_dlg.get(), 1063); }

    // Types the password and presses Enter; returns the caption of the test mode dialog if it opened.
    QString Submit(const QString& password)
    {
        Edit()->clear();
        QTest::keyClicks(Edit(), password);
        QString opened;
        QTimer::singleShot(0, [&opened] {
            if (QWidget* modal = QApplication::activeModalWidget(); modal && GetDlgItem(modal, 1150)) {
                opened = modal->windowTitle();
                QTest::keyClick(modal, Qt::Key_Escape);
            }
        });
        QTest::keyClick(Edit(), Qt::Key_Return);
        QApplication::processEvents();
        return opened;
    }

    std::string m_savedLang;
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

    QTest::mouseClick(GetDlgItemAs<QPushButton>(m_dlg.get(), 2), Qt::LeftButton);
    EXPECT_FALSE(m_dlg->isVisible());
}
