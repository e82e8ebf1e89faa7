// The test mode dialog as a technician uses it, against the simulated radio.
#include "app/QtMessageBox.h"
#include "app/ScriptedMessages.h"
#include "i18n/LangText.h"
#include "link/SerialPort.h"
#include "radio/VantorDoc.h"
#include "res/DialogBuilder.h"
#include "service/TestModeDlg.h"
#include "tests/link/LinkTestSupport.h"
#include "tests/service/Eventually.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <fstream>

namespace {

constexpr std::size_t kCal = ImageMap::kCalibration;
constexpr std::size_t kItem = ImageMap::kCalibrationItem;

class TestModeDlgTest : public CLinkTestEnv
{
protected:
    void SetUp() override
    {
        CLinkTestEnv::SetUp();
        m_savedLang = g_strLangFile;
        g_strLangFile = ZQ708_SOURCE_DIR "/lang/english.lang";
        m_doc.Image() = PatternImage(3);
        m_doc.Image()[kCal] = 0;
        m_doc.Image()[kCal + 1] = 255;
        m_doc.Image()[kCal + 2] = 40;
        m_doc.Image()[kItem] = 0;
    }
    void TearDown() override
    {
        m_dlg.reset();
        g_strLangFile = m_savedLang;
        CLinkTestEnv::TearDown();
    }

    CTestModeDlg& Open(TestModeFileCommands commands = {})
    {
        m_dlg = std::make_unique<CTestModeDlg>(m_doc, m_port, nullptr, std::move(commands));
        m_dlg->show();
        return *m_dlg;
    }
    QListWidget* List() { return GetDlgItemAs<QListWidget>(m_dlg.get(), 1150); }
    QScrollBar* Bar() { return GetDlgItemAs<QScrollBar>(m_dlg.get(), 1152); }
    QString Shown() { return GetDlgItemAs<QLineEdit>(m_dlg.get(), 1151)->text(); }
    void Click(int id) { QTest::mouseClick(GetDlgItemAs<QPushButton>(m_dlg.get(), id), Qt::LeftButton); }
    void Select(int row)
    {
        QListWidget* list = List();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }

    QRect Part(QStyle::SubControl part)
    {
        QScrollBar* bar = Bar();
        QStyleOptionSlider opt;
        opt.initFrom(bar);
        opt.orientation = Qt::Horizontal;
        opt.minimum = bar->minimum();
        opt.maximum = bar->maximum();
        opt.sliderPosition = bar->sliderPosition();
        opt.sliderValue = bar->value();
        opt.singleStep = bar->singleStep();
        opt.pageStep = bar->pageStep();
        opt.subControls = QStyle::SC_All;
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar);
    }

    std::vector<std::string> Asked()
    {
        std::vector<std::string> texts;
        for (const MessageRequest& r : m_messages.Asked())
            texts.push_back(r.text);
        return texts;
    }

    std::string m_savedLang;
    CScriptedMessages m_messages;
    CVantorDoc m_doc;
    CSerialPort m_port;
    std::unique_ptr<CTestModeDlg> m_dlg;
};

} // namespace

TEST_F(TestModeDlgTest, ListsTheItemsOfTheLanguageFileAndShowsTheFirst)
{
    Open();
    EXPECT_EQ(List()->count(), 12);
    EXPECT_EQ(List()->item(0)->text(), "High power VHF");
    EXPECT_EQ(List()->currentRow(), 0);
    EXPECT_EQ(Shown(), "0");

    Select(2);
    EXPECT_EQ(Shown(), "40");
    EXPECT_EQ(Bar()->value(), 40);
    EXPECT_EQ(m_doc.Image()[kItem], 2);
    EXPECT_FALSE(m_doc.IsModified());

    // Without a "TestData" section there is nothing to list, select or store.
    const std::string bare = (m_dir / "bare.lang").string();
    std::ofstream(bare) << "[String]\nIDS_OK=OK\n";
    g_strLangFile = bare;
    Open();
    EXPECT_EQ(List()->count(), 0);
    EXPECT_FALSE(Bar()->isEnabled());
}

TEST_F(TestModeDlgTest, ArrowsWrapAroundAndTheValueIsStoredWhenTheScrollEnds)
{
    Open();
    QScrollBar* bar = Bar();
    const QPoint left = Part(QStyle::SC_ScrollBarSubLine).center();
    QTest::mousePress(bar, Qt::LeftButton, {}, left);
    EXPECT_EQ(Shown(), "255");
    EXPECT_EQ(m_doc.Image()[kCal], 0); // not before the scroll ends
    QTest::mouseRelease(bar, Qt::LeftButton, {}, left);
    EXPECT_EQ(m_doc.Image()[kCal], 255);

    QTest::mouseClick(bar, Qt::LeftButton, {}, Part(QStyle::SC_ScrollBarAddLine).center());
    EXPECT_EQ(Shown(), "0");
    EXPECT_EQ(m_doc.Image()[kCal], 0);

    // The trough does not change the value.
    QTest::mouseClick(bar, Qt::LeftButton, {}, Part(QStyle::SC_ScrollBarAddPage).center());
    EXPECT_EQ(Shown(), "0");
    EXPECT_EQ(bar->value(), 0);
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(TestModeDlgTest, DraggingTheThumbStoresTheValueAndTheSelectedItem)
{
    Open();
    Select(2);
    m_doc.Image()[kItem] = 7; // changed behind the dialog's back: the store writes it again
    QScrollBar* bar = Bar();
    const QPoint from = Part(QStyle::SC_ScrollBarSlider).center();
    QTest::mousePress(bar, Qt::LeftButton, {}, from);
    // Walk the thumb until it shows 130, as a hand would.
    QPoint at = from;
    for (int step = 0; step < 400 && Shown() != "130"; ++step) {
        at.rx() += Shown().toInt() < 130 ? 1 : -1;
        QTest::mouseMove(bar, at);
    }
    ASSERT_EQ(Shown(), "130");
    EXPECT_EQ(m_doc.Image()[kCal + 2], 40);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
    EXPECT_EQ(m_doc.Image()[kCal + 2], 130);
    EXPECT_EQ(m_doc.Image()[kItem], 2);
}

TEST_F(TestModeDlgTest, AdjustModeSendsEveryChangeAndCancelEndsIt)
{
    RadioImage memory = PatternImage(9);
    memory[kCal + 3] = 77;
    memory[kItem] = 0;
    CSimRadio radio(memory);
    AttachRadio(radio, 1);
    Open();
    Click(1138);
    EXPECT_TRUE(m_messages.Asked().empty());
    ASSERT_TRUE(Eventually([&] { return radio.AdjustFrames().size() == 1; }));
    EXPECT_EQ(m_doc.Image()[kCal + 3], 77); // the calibration block came from the radio
    EXPECT_TRUE(m_port.IsOpen());

    Select(3);
    EXPECT_EQ(Shown(), "77");
    ASSERT_TRUE(Eventually([&] { return radio.AdjustFrames().size() == 2; }));
    EXPECT_EQ(radio.AdjustFrames()[1][12], 3); // the new index

    QTest::mouseClick(Bar(), Qt::LeftButton, {}, Part(QStyle::SC_ScrollBarAddLine).center());
    ASSERT_TRUE(Eventually([&] { return radio.AdjustFrames().size() == 3; }));
    EXPECT_EQ(radio.AdjustFrames()[2][3], 78);
    EXPECT_EQ(radio.EndBytesSeen(), 0);

    Click(2);
    EXPECT_FALSE(m_dlg->isVisible());
    EXPECT_TRUE(Eventually([&] { return radio.EndBytesSeen() == 1; }));
    EXPECT_FALSE(m_port.IsOpen());
    EXPECT_EQ(radio.Memory()[kCal + 3], 78);
}

TEST_F(TestModeDlgTest, EnterLeavesAdjustModeLikeCancel)
{
    CSimRadio radio(PatternImage(9));
    AttachRadio(radio, 1);
    Open();
    Click(1138);
    ASSERT_TRUE(m_port.IsOpen());
    List()->setFocus();
    QTest::keyClick(m_dlg.get(), Qt::Key_Return);
    EXPECT_FALSE(m_dlg->isVisible());
    EXPECT_FALSE(m_dlg->IsAdjustMode());
    EXPECT_TRUE(Eventually([&] { return radio.EndBytesSeen() == 1; }));
    EXPECT_FALSE(m_port.IsOpen());
}

TEST_F(TestModeDlgTest, ReadAllReplacesTheDocumentWithoutMarkingItModified)
{
    RadioImage memory = PatternImage(9);
    memory[kCal] = 200;
    CSimRadio radio(memory);
    AttachRadio(radio, 1);
    Open();
    // The success prompt is shown as the user sees it: a message box without an icon.
    InstallQtMessageBox();
    QMessageBox::Icon icon = QMessageBox::Critical;
    QString text;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            icon = box->icon();
            text = box->text();
            box->accept();
            answer.stop();
        }
    });
    answer.start(5);
    Click(1153);
    EXPECT_EQ(m_doc.Image(), memory);
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(Shown(), "200");
    EXPECT_EQ(text.toStdString(), LoadLangString("IDS_PROMPT_READSUCC"));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_FALSE(m_port.IsOpen());
}

TEST_F(TestModeDlgTest, WriteAllSendsTheCalibrationBlockAndEndsAdjustModeFirst)
{
    CSimRadio radio(RadioImage{});
    AttachRadio(radio, 1);
    Open();
    Click(1138);
    ASSERT_TRUE(m_dlg->IsAdjustMode());
    Click(1139);
    EXPECT_FALSE(m_dlg->IsAdjustMode());
    EXPECT_EQ(radio.Memory(), m_doc.Image());
    EXPECT_EQ(radio.WrittenAddresses().back(), 0xFF0);
    EXPECT_TRUE(Eventually([&] { return radio.EndBytesSeen() == 2; })); // adjust mode, then the write
    EXPECT_EQ(Asked(), std::vector<std::string>{LoadLangString("IDS_PROMPT_WRITESUCC")});
    EXPECT_EQ(m_messages.Asked()[0].icon, MsgIcon::None);
}

TEST_F(TestModeDlgTest, FailuresShowTheirMessages)
{
    SimFaults nak;
    nak.nakWrite[0x200] = 1;
    CSimRadio refusing(RadioImage{}, nak);
    AttachRadio(refusing, 1);
    Open();
    Click(1139);
    EXPECT_EQ(Asked(), std::vector<std::string>{LoadLangString("IDS_PROMPT_WRITEFAIL")});
    EXPECT_EQ(m_messages.Asked()[0].caption, LoadLangString("IDS_PROMPT"));
    EXPECT_EQ(m_messages.Asked()[0].icon, MsgIcon::None);
    m_port.Close();

    m_messages.Clear();
    SimFaults shortIdent;
    shortIdent.identLength = 3;
    CSimRadio other(RadioImage{}, shortIdent);
    AttachRadio(other, 1);
    Click(1153);
    ASSERT_EQ(m_messages.Asked().size(), 1u);
    EXPECT_EQ(m_messages.Asked()[0].caption, LoadLangString("IDS_ERROR"));
    EXPECT_EQ(m_messages.Asked()[0].icon, MsgIcon::Stop);
    EXPECT_EQ(m_messages.Asked()[0].text, LoadLangString("IDS_ERROR_TYPE"));

    m_messages.Clear();
    Setting("ports", "COM1", (m_dir / "dev" / "missing").string());
    const RadioImage before = m_doc.Image();
    Click(1153);
    ASSERT_EQ(m_messages.Asked().size(), 1u);
    EXPECT_EQ(m_messages.Asked()[0].text, LoadLangString("IDS_ERROR_PORTCONN"));
    EXPECT_EQ(m_doc.Image(), before);

    // A failed start of adjust mode still counts as adjust mode: Cancel ends it harmlessly.
    m_messages.Clear();
    Click(1138);
    EXPECT_EQ(m_messages.Asked().size(), 1u);
    EXPECT_TRUE(m_dlg->IsAdjustMode());
    Click(2);
    EXPECT_FALSE(m_dlg->isVisible());
}

TEST_F(TestModeDlgTest, DataButtonsRunTheApplicationsFileCommands)
{
    int saved = 0;
    TestModeFileCommands commands;
    commands.open = [this] { m_doc.Image()[kCal] = 99; };
    commands.save = [&saved] { ++saved; };
    Open(commands);
    Click(1154);
    EXPECT_EQ(Shown(), "99");
    Click(1155);
    EXPECT_EQ(saved, 1);

    Open();
    EXPECT_FALSE(GetDlgItem(m_dlg.get(), 1154)->isEnabled());
}
