// The port dialog against ports mapped to pseudo-terminals through section "ports".
#include "link/PortDlg.h"
#include "i18n/Profile.h"
#include "link/PortResolver.h"
#include "link/SerialPort.h"
#include "tests/support/DialogTestEnv.h"
#include "tests/support/FindControl.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A pseudo-terminal standing in for a cable; the slave stays open so the line stays up.
class CPty final
{
public:
    CPty()
    {
        char name[256] = {};
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) == 0) {
            termios tio{};
            tcgetattr(m_master, &tio);
            cfmakeraw(&tio);
            tcsetattr(m_master, TCSANOW, &tio);
            m_path = name;
        }
    }
    ~CPty()
    {
        close(m_slave);
        close(m_master);
    }
    const std::string& Path() const { return m_path; }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
};

class PortDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // No real device of this machine may show up as a port.
        SetSerialDeviceDirs(m_empty.path().toStdString(), m_empty.path().toStdString());
        ASSERT_FALSE(m_com1.Path().empty());
        ASSERT_FALSE(m_com3.Path().empty());
    }
    void TearDown() override { SetSerialDeviceDirs("/dev", "/sys/class/tty"); }

    void Configure(const std::string& com)
    {
        m_env.WriteFile("setting.ini",
                        "[setup]\ncom=" + com + "\nsearchcom=1\n[ports]\nCOM1=" + m_com1.Path() +
                            "\nCOM3=" + m_com3.Path() + "\nCOM4=" + m_env.Path("missing") + "\n");
    }

    static QRadioButton* Button(const CPortDlg& dlg, int n)
    {
        return FindControl<QRadioButton>(&dlg, QStringLiteral("Com%1").arg(n));
    }
    static void Press(CPortDlg& dlg, const char* name)
    {
        QTest::mouseClick(FindControl<QPushButton>(&dlg, name), Qt::LeftButton);
    }
    static int Com() { return ReadProfileInt(g_strSettingFile, "setup", "com", -1); }

    QTemporaryDir m_empty;
    CDialogTestEnv m_env;
    CPty m_com1, m_com3;
    CSerialPort m_port;
    std::vector<int> m_shown;
    std::function<void(int)> m_show = [this](int n) { m_shown.push_back(n); };
};

} // namespace

TEST_F(PortDlgTest, PresentPortsEnabledConfiguredOneCheckedPortLeftClosed)
{
    Configure("3");
    ASSERT_TRUE(m_port.Open(1, 9600));
    CPortDlg dlg(m_port, m_show);
    EXPECT_FALSE(m_port.IsOpen());
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(Button(dlg, n)->isEnabled(), n == 1 || n == 3) << n;
        EXPECT_EQ(Button(dlg, n)->isChecked(), n == 3) << n;
    }
    EXPECT_EQ(Button(dlg, 3)->toolTip().toStdString(), m_com3.Path());
    EXPECT_TRUE(Button(dlg, 4)->toolTip().startsWith(QString::fromStdString(m_env.Path("missing"))));
    EXPECT_FALSE(Button(dlg, 5)->toolTip().isEmpty());
    EXPECT_TRUE(FindControl<QCheckBox>(&dlg, "SearchPort")->isHidden());
}

TEST_F(PortDlgTest, ConfiguredPortThatCannotOpenStaysCheckedButDisabled)
{
    Configure("4");
    CPortDlg dlg(m_port, m_show);
    EXPECT_TRUE(Button(dlg, 4)->isChecked());
    EXPECT_FALSE(Button(dlg, 4)->isEnabled());
}

TEST_F(PortDlgTest, OkWritesOnlyAChangedPortAndShowsItCancelWritesNothing)
{
    Configure("3");
    {
        CPortDlg dlg(m_port, m_show);
        QTest::mouseClick(Button(dlg, 1), Qt::LeftButton);
        Press(dlg, "Cancel");
    }
    EXPECT_EQ(Com(), 3);
    EXPECT_TRUE(m_shown.empty());

    const std::string before = m_env.ReadFile("setting.ini");
    {
        CPortDlg dlg(m_port, m_show);
        Press(dlg, "Ok"); // the configured port again: nothing written
    }
    EXPECT_EQ(m_env.ReadFile("setting.ini"), before);
    {
        CPortDlg dlg(m_port, m_show);
        QTest::mouseClick(Button(dlg, 1), Qt::LeftButton);
        ASSERT_TRUE(m_port.Open(3, 9600));
        Press(dlg, "Ok");
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    EXPECT_EQ(Com(), 1);
    EXPECT_FALSE(m_port.IsOpen());
    EXPECT_EQ(m_shown, (std::vector<int>{3, 1}));
}

TEST_F(PortDlgTest, PortBeyondEightLeavesNothingCheckedAndOkWritesNothing)
{
    Configure("12");
    CPortDlg dlg(m_port, m_show);
    for (int n = 1; n <= 8; ++n)
        EXPECT_FALSE(Button(dlg, n)->isChecked()) << n;
    Press(dlg, "Ok");
    EXPECT_EQ(Com(), 12);
    EXPECT_EQ(m_shown, (std::vector<int>{12}));
}

TEST_F(PortDlgTest, SearchSwitchIsWrittenAtOnceEvenWhenCancelled)
{
    Configure("1");
    CPortDlg dlg(m_port, m_show);
    auto* search = FindControl<QCheckBox>(&dlg, "SearchPort");
    EXPECT_TRUE(search->isChecked());
    search->click();
    EXPECT_EQ(ReadProfileString(g_strSettingFile, "setup", "searchcom", "", 8), "0");
    Press(dlg, "Cancel");
    EXPECT_EQ(ReadProfileString(g_strSettingFile, "setup", "searchcom", "", 8), "0");
}
