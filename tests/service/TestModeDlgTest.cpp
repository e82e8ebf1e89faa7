// The test mode dialog as a technician uses it, against the simulated radio.
#include "service/TestModeDlg.h"
#include "app/BackupStore.h"
#include "app/QtMessageBox.h"
#include "app/ScriptedMessages.h"
#include "i18n/LangText.h"
#include "link/SerialPort.h"
#include "radio/VantorDoc.h"
#include "res/DialogBuilder.h"
#include "service/ServiceProgressDlg.h"
#include "tests/support/Eventually.h"
#include "tests/support/FindControl.h"
#include "tests/support/LinkTestEnv.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <fstream>
#include <string_view>

namespace {

constexpr std::size_t kCal = ImageMap::kCalibration;
constexpr std::size_t kItem = ImageMap::kCalibrationItem;

// A style whose scroll bars jump the thumb to a left or middle click on the trough.
class CJumpingStyle final : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ScrollBar_LeftClickAbsolutePosition ||
            hint == SH_ScrollBar_MiddleClickAbsolutePosition)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

class CPaintCounter final : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* e) override
    {
        m_paints += e->type() == QEvent::Paint;
        return false;
    }
    int m_paints = 0;
};

class TestModeDlgTest : public CLinkTestEnv
{
protected:
    void SetUp() override
    {
        CLinkTestEnv::SetUp();
        UseShippedLanguage("english");
        m_doc.Image() = PatternImage(3);
        m_doc.Image()[kCal] = 0;
        m_doc.Image()[kCal + 1] = 255;
        m_doc.Image()[kCal + 2] = 40;
        m_doc.Image()[kItem] = 0;
    }
    void TearDown() override
    {
        m_dlg.reset();
        CLinkTestEnv::TearDown();
    }

    CTestModeDlg& Open(TestModeFileCommands commands = {})
    {
        m_dlg = std::make_unique<CTestModeDlg>(m_doc, m_port, nullptr, std::move(commands));
        m_dlg->show();
        return *m_dlg;
    }
    QListWidget* List() { return FindControl<QListWidget>(m_dlg.get(), "ItemList"); }
    QScrollBar* Bar() { return FindControl<QScrollBar>(m_dlg.get(), "ValueScroll"); }
    QString Shown() { return FindControl<QLineEdit>(m_dlg.get(), "Value")->text(); }
    void Click(const char* name)
    {
        QTest::mouseClick(FindControl<QPushButton>(m_dlg.get(), name), Qt::LeftButton);
    }
    void Select(int row)
    {
        QListWidget* list = List();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
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

    // Drags the thumb, as a hand would, until it shows `value`; returns where the mouse is.
    QPoint DragTo(int value, Qt::MouseButton button = Qt::LeftButton)
    {
        QScrollBar* bar = Bar();
        QPoint at = Part(QStyle::SC_ScrollBarSlider).center();
        QTest::mousePress(bar, button, {}, at);
        for (int step = 0; step < 400 && Shown() != QString::number(value); ++step) {
            at.rx() += Shown().toInt() < value ? 1 : -1;
            QTest::mouseMove(bar, at);
        }
        return at;
    }

    // Right-clicks the trough and, if a menu opens, chooses its entry `entry` (separators not counted).
    void ContextMenu(int entry)
    {
        QTimer choose;
        choose.setSingleShot(true);
        QObject::connect(&choose, &QTimer::timeout, [entry] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            QList<QAction*> entries;
            for (QAction* a : menu->actions())
                if (!a->isSeparator())
                    entries.append(a);
            menu->setActiveAction(entries.value(entry));
            QTest::keyClick(menu, Qt::Key_Return);
        });
        choose.start(0);
        const QPoint at = Part(QStyle::SC_ScrollBarAddPage).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, Bar()->mapToGlobal(at));
        QApplication::sendEvent(Bar(), &event);
    }

    void Wheel(int delta)
    {
        QScrollBar* bar = Bar();
        const QPointF at = Part(QStyle::SC_ScrollBarSlider).center();
        QWheelEvent event(at, bar->mapToGlobal(at), {}, {delta, 0}, Qt::NoButton, {}, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(bar, &event);
    }

    std::vector<std::string> Asked()
    {
        std::vector<std::string> texts;
        for (const MessageRequest& r : m_messages.Asked())
            texts.push_back(r.text);
        return texts;
    }

    CScriptedMessages m_messages;
    CVantorDoc m_doc;
    CSerialPort m_port;
    CJumpingStyle m_jumpingStyle; // outlives the dialogs that use it
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

// Every way of moving the scroll bar either leaves the value alone or goes the way of the arrows:
// the value shown is the value stored and, in adjust mode, the value the radio last received, so
// the next arrow click sends one step from it.
TEST_F(TestModeDlgTest, EveryScrollInputIsRefusedOrStoredAndSentLikeTheArrows)
{
    struct Case
    {
        const char* input;
        std::function<void()> act;
        int shown; // from 40
        bool jumpingStyle = false;
    };
    const auto click = [this](QStyle::SubControl part, Qt::MouseButton button = Qt::LeftButton) {
        return [this, part, button] { QTest::mouseClick(Bar(), button, {}, Part(part).center()); };
    };
    const auto key = [this](Qt::Key k) { return [this, k] { QTest::keyClick(Bar(), k); }; };
    const auto menu = [this](int entry) { return [this, entry] { ContextMenu(entry); }; };
    const auto drag = [this](Qt::MouseButton button) {
        return [this, button] { QTest::mouseRelease(Bar(), button, {}, DragTo(130, button)); };
    };
    const Case cases[] = {
        {"left arrow", click(QStyle::SC_ScrollBarSubLine), 39},
        {"right arrow", click(QStyle::SC_ScrollBarAddLine), 41},
        {"left click, trough right", click(QStyle::SC_ScrollBarAddPage), 40},
        {"left click, trough left", click(QStyle::SC_ScrollBarSubPage), 40},
        {"left click, trough, jumping style", click(QStyle::SC_ScrollBarAddPage), 40, true},
        {"middle click, trough", click(QStyle::SC_ScrollBarAddPage, Qt::MiddleButton), 40},
        {"middle click, trough, jumping style", click(QStyle::SC_ScrollBarAddPage, Qt::MiddleButton), 40,
         true},
        {"middle drag, jumping style", drag(Qt::MiddleButton), 40, true},
        {"right click", click(QStyle::SC_ScrollBarAddPage, Qt::RightButton), 40},
        {"menu: scroll here", menu(0), 40},
        {"menu: left edge", menu(1), 40},
        {"menu: right edge", menu(2), 40},
        {"menu: page left", menu(3), 40},
        {"menu: page right", menu(4), 40},
        {"menu: scroll left", menu(5), 40},
        {"menu: scroll right", menu(6), 40},
        {"key Left", key(Qt::Key_Left), 39},
        {"key Right", key(Qt::Key_Right), 41},
        {"key Up", key(Qt::Key_Up), 41},
        {"key Down", key(Qt::Key_Down), 39},
        {"key Page Up", key(Qt::Key_PageUp), 40},
        {"key Page Down", key(Qt::Key_PageDown), 40},
        {"key Home", key(Qt::Key_Home), 40},
        {"key End", key(Qt::Key_End), 40},
        {"wheel up", [this] { Wheel(120); }, 40},
        {"wheel down", [this] { Wheel(-120); }, 40},
        {"drag", drag(Qt::LeftButton), 130},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        RadioImage memory = PatternImage(9);
        memory[kCal + 2] = 40;
        CSimRadio& radio = NewRadio(memory);
        AttachRadio(radio, 1);
        Open();
        if (c.jumpingStyle)
            Bar()->setStyle(&m_jumpingStyle);
        Click("StartAdjust");
        Select(2);
        ASSERT_TRUE(Eventually([&] { return radio.AdjustFrames().size() == 2; }));
        ASSERT_EQ(Shown(), "40");

        c.act();
        EXPECT_EQ(Shown(), QString::number(c.shown));
        EXPECT_EQ(Bar()->value(), c.shown);
        EXPECT_EQ(m_doc.Image()[kCal + 2], c.shown);

        const int next = (c.shown + 1) % 256;
        QTest::mouseClick(Bar(), Qt::LeftButton, {}, Part(QStyle::SC_ScrollBarAddLine).center());
        EXPECT_EQ(Shown(), QString::number(next));
        EXPECT_TRUE(Eventually([&] { return radio.AdjustFrames().back()[2] == next; }));
        for (const std::vector<std::uint8_t>& frame : radio.AdjustFrames())
            EXPECT_TRUE(frame[2] == 40 || frame[2] == c.shown || frame[2] == next) << int(frame[2]);
        Click("Cancel");
    }
}

TEST_F(TestModeDlgTest, AdjustModeSendsEveryChangeAndCancelEndsIt)
{
    RadioImage memory = PatternImage(9);
    memory[kCal + 3] = 77;
    memory[kItem] = 0;
    CSimRadio& radio = NewRadio(memory);
    AttachRadio(radio, 1);
    Open();
    Click("StartAdjust");
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

    Click("Cancel");
    EXPECT_FALSE(m_dlg->isVisible());
    EXPECT_TRUE(Eventually([&] { return radio.EndBytesSeen() == 1; }));
    EXPECT_FALSE(m_port.IsOpen());
    EXPECT_EQ(radio.Memory()[kCal + 3], 78);
}

TEST_F(TestModeDlgTest, EnterLeavesAdjustModeLikeCancel)
{
    CSimRadio& radio = NewRadio(PatternImage(9));
    AttachRadio(radio, 1);
    Open();
    Click("StartAdjust");
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
    CSimRadio& radio = NewRadio(memory);
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
    Click("ReadAll");
    EXPECT_EQ(m_doc.Image(), memory);
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(Shown(), "200");
    EXPECT_EQ(text.toStdString(), LoadLangString("IDS_PROMPT_READSUCC"));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_FALSE(m_port.IsOpen());
}

TEST_F(TestModeDlgTest, ReadAllKeepsABackupOfTheWholeRadio)
{
    const CTempDir data;
    const std::string old = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    ::setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
    RadioImage memory = PatternImage(9);
    memory[kCal] = 200;
    CSimRadio& radio = NewRadio(memory);
    AttachRadio(radio, 1);
    Open();
    Click("ReadAll");
    const std::vector<BackupEntry> backups = CBackupStore().List();
    ::setenv("XDG_DATA_HOME", old.c_str(), 1);
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(backups[0].kind, "read");
    FileHeader header{};
    RadioImage kept{};
    FileError error;
    ASSERT_EQ(DataFile::Load(backups[0].path, header, kept, error), DataFile::LoadStatus::Loaded);
    EXPECT_EQ(kept, memory); // calibration values included
    EXPECT_EQ(Asked(), std::vector<std::string>{LoadLangString("IDS_PROMPT_READSUCC")});
}

TEST_F(TestModeDlgTest, WriteAllSendsTheCalibrationBlockAndEndsAdjustModeFirst)
{
    CSimRadio& radio = NewRadio(RadioImage{});
    AttachRadio(radio, 1);
    Open();
    Click("StartAdjust");
    ASSERT_TRUE(m_dlg->IsAdjustMode());
    Click("WriteAll");
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
    CSimRadio& refusing = NewRadio(RadioImage{}, nak);
    AttachRadio(refusing, 1);
    Open();
    Click("WriteAll");
    EXPECT_EQ(Asked(), std::vector<std::string>{LoadLangString("IDS_PROMPT_WRITEFAIL")});
    EXPECT_EQ(m_messages.Asked()[0].caption, LoadLangString("IDS_PROMPT"));
    EXPECT_EQ(m_messages.Asked()[0].icon, MsgIcon::None);
    m_port.Close();

    m_messages.Clear();
    SimFaults shortIdent;
    shortIdent.identLength = 3;
    CSimRadio& other = NewRadio(RadioImage{}, shortIdent);
    AttachRadio(other, 1);
    Click("ReadAll");
    ASSERT_EQ(m_messages.Asked().size(), 1u);
    EXPECT_EQ(m_messages.Asked()[0].caption, LoadLangString("IDS_ERROR"));
    EXPECT_EQ(m_messages.Asked()[0].icon, MsgIcon::Stop);
    EXPECT_EQ(m_messages.Asked()[0].text, LoadLangString("IDS_ERROR_TYPE"));

    m_messages.Clear();
    Setting("ports", "COM1", (m_dir / "dev" / "missing").string());
    const RadioImage before = m_doc.Image();
    Click("ReadAll");
    ASSERT_EQ(m_messages.Asked().size(), 1u);
    EXPECT_EQ(m_messages.Asked()[0].text, LoadLangString("IDS_ERROR_PORTCONN"));
    EXPECT_EQ(m_doc.Image(), before);

    // A failed start of adjust mode still counts as adjust mode: Cancel ends it harmlessly.
    m_messages.Clear();
    Click("StartAdjust");
    EXPECT_EQ(m_messages.Asked().size(), 1u);
    EXPECT_TRUE(m_dlg->IsAdjustMode());
    Click("Cancel");
    EXPECT_FALSE(m_dlg->isVisible());
}

// Read all and write all against a radio as slow as a real cable, which fails a quarter of the way
// (that keeps the runs short): a progress dialog counts up while the test-mode window keeps
// painting, nothing under it can be clicked, the progress dialog cannot be closed, and closing the
// test mode waits for the exchange and its message. The outcomes are those of the exchange.
TEST_F(TestModeDlgTest, ReadAllAndWriteAllRunBehindAProgressDialogWhileTheWindowPaints)
{
    constexpr int kFailAt = 0x400;
    struct Case
    {
        const char* exchange;
        const char* button;
        SimFaults faults;
        const char* message;
    };
    SimFaults shortReply;
    shortReply.shortReply[kFailAt] = -1;
    SimFaults nak;
    nak.nakWrite[kFailAt] = -1;
    const Case cases[] = {
        {"read all", "ReadAll", shortReply, "IDS_ERROR_PORTCONN"},
        {"write all", "WriteAll", nak, "IDS_PROMPT_WRITEFAIL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exchange);
        m_messages.Clear();
        const RadioImage memory = PatternImage(5);
        CSimRadio& radio = NewRadio(memory, c.faults);
        m_lines.push_back(std::make_unique<CSimLine>(radio, true));
        ASSERT_TRUE(m_lines.back()->Start());
        Setting("ports", "COM1", m_lines.back()->DevicePath());
        Open();
        const RadioImage before = m_doc.Image();
        CPaintCounter painted;
        m_dlg->installEventFilter(&painted);
        auto* button = FindControl<QWidget>(m_dlg.get(), c.button);
        const QPoint onButton = button->mapTo(m_dlg.get(), button->rect().center());

        // What the user sees and tries while the exchange runs.
        std::vector<int> progress; // blocks
        bool wholeImage = true;    // the bar's end is the last block
        std::vector<QString> prompts;
        int paintsWhileRunning = 0;
        bool progressStayed = true;
        bool closeRefused = false;
        QTimer sample;
        QObject::connect(&sample, &QTimer::timeout, [&] {
            auto* dlg = qobject_cast<CServiceProgressDlg*>(QApplication::activeModalWidget());
            if (!dlg)
                return;
            if (progress.empty())
                painted.m_paints = 0;
            paintsWhileRunning = painted.m_paints;
            const QProgressBar* bar = FindControl<QProgressBar>(dlg, "Bar");
            progress.push_back(bar->value());
            wholeImage = wholeImage && bar->minimum() == 0 && bar->maximum() == 256;
            prompts.push_back(FindControl<QLabel>(dlg, "Prompt")->text());
            m_dlg->update();
            // The click on the window behind processes events, so the exchange may end during it:
            // the dialog must have stayed up through Escape and close before that.
            QTest::keyClick(dlg, Qt::Key_Escape);
            dlg->close();
            progressStayed = progressStayed && dlg->isVisible();
            QTest::mouseClick(m_dlg->windowHandle(), Qt::LeftButton, {}, onButton);
            if (progress.size() == 5)
                closeRefused = !m_dlg->close() && m_dlg->isVisible();
        });
        sample.start(50);
        Click(c.button);
        sample.stop();

        EXPECT_GE(progress.size(), 10u);
        EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
        EXPECT_GT(progress.back(), 0);
        EXPECT_LE(progress.back(), kFailAt / 16);
        EXPECT_TRUE(wholeImage);
        const char* key = std::string_view(c.button) == "ReadAll" ? "IDS_PROMPT_READ" : "IDS_PROMPT_WRITE";
        for (std::size_t i = 0; i < prompts.size(); ++i)
            EXPECT_EQ(prompts[i], QString::fromStdString(LoadLangString(key)) +
                                      QStringLiteral(" %1%").arg(progress[i] * 100 / 256));
        EXPECT_GE(paintsWhileRunning, 5);
        EXPECT_TRUE(progressStayed);
        EXPECT_TRUE(closeRefused);
        EXPECT_EQ(Asked(), std::vector<std::string>{LoadLangString(c.message)});
        EXPECT_FALSE(m_dlg->isVisible()); // closed once the message had been answered

        const auto blocks = [](const RadioImage& image, std::size_t from, std::size_t to) {
            return std::vector<std::uint8_t>(image.begin() + from, image.begin() + to);
        };
        if (std::string_view(c.button) == "ReadAll") {
            EXPECT_EQ(radio.ReadAddresses().size(), kFailAt / 16 + 1u); // one exchange, no more
            EXPECT_EQ(blocks(m_doc.Image(), 0, kFailAt), blocks(memory, 0, kFailAt));
            EXPECT_EQ(blocks(m_doc.Image(), kFailAt, ImageMap::kImageSize),
                      blocks(before, kFailAt, ImageMap::kImageSize));
            EXPECT_FALSE(m_port.IsOpen());
        } else {
            EXPECT_EQ(radio.WrittenAddresses().size(), kFailAt / 16 + 1u);
            EXPECT_EQ(blocks(radio.Memory(), 0, kFailAt), blocks(m_doc.Image(), 0, kFailAt));
            EXPECT_EQ(m_doc.Image(), before);
            EXPECT_TRUE(m_port.IsOpen()); // left open after a failed write all
            EXPECT_EQ(radio.EndBytesSeen(), 0);
        }
        m_port.Close();
    }
}

TEST_F(TestModeDlgTest, DataButtonsRunTheApplicationsFileCommands)
{
    int saved = 0;
    TestModeFileCommands commands;
    commands.open = [this] { m_doc.Image()[kCal] = 99; };
    commands.save = [&saved] { ++saved; };
    Open(commands);
    Click("OpenData");
    EXPECT_EQ(Shown(), "99");
    Click("SaveData");
    EXPECT_EQ(saved, 1);

    Open();
    EXPECT_FALSE(FindControl<QWidget>(m_dlg.get(), "OpenData")->isEnabled());
}
