// The function settings page on its real widgets: what it shows for an image, and the bits each
// control writes.
#include "pages/FunctionPage.h"

#include "tests/pages/PageTestEnv.h"
#include "tests/support/FindControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

using namespace ImageMap;

namespace {

constexpr std::size_t kD01 = 0xD01;
constexpr std::size_t kD04 = 0xD04;
constexpr std::size_t kD05 = 0xD05;

class FunctionPageTest : public CPageTest
{
protected:
    void Open()
    {
        m_page = std::make_unique<CFunctionPage>(m_doc, nullptr);
        ShowActive(*m_page);
    }

    QComboBox* List(const char* name) const { return FindControl<QComboBox>(m_page.get(), name); }
    QCheckBox* Box(const char* name) const { return FindControl<QCheckBox>(m_page.get(), name); }
    QLineEdit* Code() const { return FindControl<QLineEdit>(m_page.get(), "PttIdCode"); }

    std::array<std::uint8_t, 6> CodeBytes() const
    {
        std::array<std::uint8_t, 6> bytes{};
        std::copy_n(m_doc.Image().begin() + kPttIdCode, 6, bytes.begin());
        return bytes;
    }

    void TypeCode(const QString& text) { TypeAndLeave(Code(), text, List("Squelch")); }

    std::unique_ptr<CFunctionPage> m_page;
};

using Bytes6 = std::array<std::uint8_t, 6>;

TEST_F(FunctionPageTest, ANewImageShowsTheRadiosDefaults)
{
    Open();
    EXPECT_EQ(m_page->windowTitle(), "Function Settings"); // its own template's caption
    EXPECT_EQ(List("Squelch")->currentIndex(), 4);
    EXPECT_EQ(List("ScanType")->currentIndex(), 0);
    EXPECT_EQ(List("TxTimeout")->currentIndex(), 1);
    EXPECT_EQ(List("VoxLevel")->currentIndex(), 0);
    EXPECT_EQ(List("TxTimeout")->itemText(0), "Off");
    EXPECT_EQ(List("TxTimeout")->count(), 8);
    EXPECT_EQ(List("Squelch")->count(), 10);
    for (const char* name : {"RogerBeep", "Backlight", "BatterySave", "VoicePrompt"})
        EXPECT_TRUE(Box(name)->isChecked()) << name;
    for (const char* name : {"KeyBeep", "FmRadio", "DualWatch", "SideTone"})
        EXPECT_FALSE(Box(name)->isChecked()) << name;
    EXPECT_EQ(Code()->text(), "");
    EXPECT_EQ(Code()->maxLength(), 6);
    // The lock mode and ANI controls are loaded but never shown.
    for (const char* name : {"LockModeLabel", "LockMode", "AniTx"}) {
        EXPECT_FALSE(FindControl<QWidget>(m_page.get(), name)->isVisible()) << name;
        EXPECT_FALSE(FindControl<QWidget>(m_page.get(), name)->isEnabled()) << name;
    }
    EXPECT_EQ(List("LockMode")->currentIndex(), 0);
    EXPECT_EQ(FindControl<QLabel>(m_page.get(), "SquelchLabel")->text(), "Squelch level");
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(FunctionPageTest, TheBeepBoxShowsAndWritesTheInvertedBit)
{
    Open();
    ASSERT_TRUE(Byte(kD01) & 0x10); // beep off
    Box("KeyBeep")->click();
    EXPECT_TRUE(Box("KeyBeep")->isChecked());
    EXPECT_EQ(Byte(kD01), 0x68);
    EXPECT_TRUE(m_doc.IsModified());
    Box("KeyBeep")->click();
    EXPECT_EQ(Byte(kD01), 0x78);

    SetByte(kD01, 0x00);
    m_page->ReloadFromImage();
    EXPECT_TRUE(Box("KeyBeep")->isChecked());
}

TEST_F(FunctionPageTest, ATwoBitFieldKeepsItsNeighbours)
{
    SetByte(kD04, 0xCB); // F1 display 0, everything around it set
    Open();
    List("ChannelShowedF1")->setCurrentIndex(2);
    EXPECT_EQ(Byte(kD04), 0xEB);
    QTest::keyClick(List("ChannelShowedF2"), Qt::Key_Up); // F2 display 3 reads as 2; one up is 1
    EXPECT_EQ(Byte(kD04), 0x6B);
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(FunctionPageTest, SettingsBytesOutOfRangeReadByTheFieldRules)
{
    SetByte(kD04, 0xFF);
    SetByte(kD05, 0x80);
    SetByte(0xD00, 0xFF);
    SetByte(0xD03, 0x08);
    Open();
    EXPECT_EQ(List("TxDtr")->currentIndex(), 3);
    EXPECT_EQ(List("ChannelShowedF1")->currentIndex(), 2);
    EXPECT_EQ(List("ChannelShowedF2")->currentIndex(), 2);
    EXPECT_TRUE(Box("AniTx")->isChecked()); // ANI, hidden
    EXPECT_EQ(List("Squelch")->currentIndex(), 0);
    EXPECT_EQ(List("TxTimeout")->currentIndex(), 0);
    EXPECT_EQ(Byte(kD04), 0xFF); // nothing written back by loading

    EXPECT_TRUE(Box("SideTone")->isChecked()); // side tone: any non-zero byte
    Box("SideTone")->click();
    EXPECT_EQ(Byte(kD05), 0x00);
    Box("SideTone")->click();
    EXPECT_EQ(Byte(kD05), 0x01);
}

TEST_F(FunctionPageTest, ThePttIdCodeIsStoredWhenTheEditLosesTheFocus)
{
    Open();
    Code()->setFocus();
    QTest::keyClicks(Code(), "12*4");
    EXPECT_EQ(CodeBytes(), (Bytes6{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})); // not while typing
    List("Squelch")->setFocus();
    EXPECT_EQ(CodeBytes(), (Bytes6{0x01, 0x02, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(m_doc.IsModified());
    m_page->ReloadFromImage();
    EXPECT_EQ(Code()->text(), "12");

    TypeCode("ab");
    EXPECT_EQ(CodeBytes(), (Bytes6{0x0A, 0x0B, 0xFF, 0xFF, 0xFF, 0xFF}));
    m_page->ReloadFromImage();
    EXPECT_EQ(Code()->text(), "AB");

    // The filter drops what the code cannot hold; the limit keeps six symbols.
    TypeCode("9xE1234567");
    EXPECT_EQ(Code()->text(), "912345");
    EXPECT_EQ(CodeBytes(), (Bytes6{0x09, 0x01, 0x02, 0x03, 0x04, 0x05}));
}

TEST_F(FunctionPageTest, LeavingTheCodeUnchangedDoesNotModify)
{
    Open();
    Code()->setFocus();
    List("Squelch")->setFocus();
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(FunctionPageTest, ACodeStartingWithAFillerByteShowsEmpty)
{
    const Bytes6 bytes{0xFF, 0x01, 0x02, 0x03, 0x04, 0x05};
    std::copy(bytes.begin(), bytes.end(), m_doc.Image().begin() + kPttIdCode);
    Open();
    EXPECT_EQ(Code()->text(), "");
    SetByte(kPttIdCode, 0x0D);
    SetByte(kPttIdCode + 1, 0x0E);
    m_page->ReloadFromImage();
    EXPECT_EQ(Code()->text(), "D");
}

TEST_F(FunctionPageTest, AListNeverOffersMoreEntriesThanItsFieldHolds)
{
    g_strLangFile = m_dir.Write("odd.lang", "[ScanType]\n0=a\n1=b\n2=c\n3=d\n4=e\n"
                                            "[PttId]\n0=only\n"
                                            "[FreqMode]\n0=x\n1=y\n2=z\n");
    SetByte(0xD02, 0x02); // PTT ID 2
    Open();
    EXPECT_EQ(List("ScanType")->count(), 3);
    EXPECT_EQ(List("FreqMode")->count(), 2);
    // A stored value the list does not offer leaves it without a selection; a missing section
    // leaves the list empty.
    EXPECT_EQ(List("PttId")->count(), 1);
    EXPECT_EQ(List("PttId")->currentIndex(), -1);
    EXPECT_EQ(List("TxDtr")->count(), 0);
    EXPECT_EQ(List("TxTimeout")->itemText(0), "Not Found");
    EXPECT_EQ(Byte(0xD02), 0x02);

    // A reload (after an undo, a read, a range change) fills each list afresh.
    m_page->ReloadFromImage();
    EXPECT_EQ(List("ScanType")->count(), 3);
    EXPECT_EQ(List("PttId")->count(), 1);
}

TEST_F(FunctionPageTest, EverySettingSurvivesASaveAndAReopen)
{
    Open();
    const char* const lists[] = {"Squelch",         "ScanType",  "FreqMode",  "PttId", "RadiogramWorkMode",
                                 "WorkModeA",       "WorkModeB", "TxTimeout", "TxDtr", "ChannelShowedF1",
                                 "ChannelShowedF2", "VoxLevel"};
    for (const char* name : lists)
        List(name)->setCurrentIndex(List(name)->count() - 1);
    for (const char* name : {"DualWatch", "RogerBeep", "KeyBeep", "Backlight", "BatterySave", "FmRadio",
                             "VoicePrompt", "SideTone"})
        Box(name)->click();
    TypeCode("D0#");

    FileError error;
    const std::string path = m_dir.File("settings.pgm");
    ASSERT_TRUE(m_doc.StoreFile(path, error)) << std::strerror(error.number);
    CVantorDoc reopened;
    ASSERT_EQ(reopened.LoadFile(path, error), DataFile::LoadStatus::Loaded) << std::strerror(error.number);
    CFunctionPage page(reopened, nullptr);
    for (const char* name : lists)
        EXPECT_EQ(FindControl<QComboBox>(&page, name)->currentIndex(), List(name)->count() - 1) << name;
    for (const char* name : {"DualWatch", "RogerBeep", "KeyBeep", "Backlight", "BatterySave", "FmRadio",
                             "VoicePrompt", "SideTone"})
        EXPECT_EQ(FindControl<QCheckBox>(&page, name)->isChecked(), Box(name)->isChecked()) << name;
    EXPECT_EQ(FindControl<QLineEdit>(&page, "PttIdCode")->text(), "D0");
    EXPECT_TRUE(std::equal(m_doc.Image().begin() + 0xD00, m_doc.Image().begin() + 0xD26,
                           reopened.Image().begin() + 0xD00));
}

// Every control against the radio's memory map: changing it alone changes only its field's bits
// in the saved file. Run on a new image and on one whose settings bytes are all set, so that a
// field written over its neighbours, or a control bound to the wrong field, shows.
TEST_F(FunctionPageTest, EachControlChangesOnlyItsFieldInTheSavedFile)
{
    enum class Kind
    {
        List,
        Box,
        InvertedBox,
        Code
    };
    struct Row
    {
        const char* name;
        Kind kind;
        std::size_t offset;
        std::uint8_t mask; // for the code: of each of its six bytes
    };
    const Row rows[] = {
        {"Squelch", Kind::List, 0xD00, 0xFF},
        {"ScanType", Kind::List, 0xD01, 0x03},
        {"DualWatch", Kind::Box, 0xD01, 0x04},
        {"RogerBeep", Kind::Box, 0xD01, 0x08},
        {"KeyBeep", Kind::InvertedBox, 0xD01, 0x10}, // the bit means beep off
        {"Backlight", Kind::Box, 0xD01, 0x20},
        {"BatterySave", Kind::Box, 0xD01, 0x40},
        {"FreqMode", Kind::List, 0xD01, 0x80},
        {"PttId", Kind::List, 0xD02, 0x03},
        {"FmRadio", Kind::Box, 0xD02, 0x04},
        {"VoicePrompt", Kind::Box, 0xD02, 0x08},
        {"RadiogramWorkMode", Kind::List, 0xD02, 0x10},
        {"WorkModeA", Kind::List, 0xD02, 0x20},
        {"WorkModeB", Kind::List, 0xD02, 0x40},
        {"LockMode", Kind::List, 0xD02, 0x80}, // hidden
        {"TxTimeout", Kind::List, 0xD03, 0xFF},
        {"TxDtr", Kind::List, 0xD04, 0x03},
        {"AniTx", Kind::Box, 0xD04, 0x08}, // hidden
        {"ChannelShowedF1", Kind::List, 0xD04, 0x30},
        {"ChannelShowedF2", Kind::List, 0xD04, 0xC0},
        {"SideTone", Kind::Box, 0xD05, 0xFF},
        {"VoxLevel", Kind::List, 0xD06, 0xFF},
        {"PttIdCode", Kind::Code, 0xD20, 0xFF},
    };
    for (bool allSet : {false, true}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::Message()
                         << "control " << row.name << (allSet ? ", settings all set" : ""));
            ASSERT_TRUE(m_doc.OnNewDocument(false));
            if (allSet)
                std::fill_n(m_doc.Image().begin() + 0xD00, 7, std::uint8_t{0xFF});
            Open();
            QWidget* control = FindControl<QWidget>(m_page.get(), row.name);
            control->setEnabled(true); // the hidden lock mode and ANI controls store like any other
            const std::string before = SavedFile();

            const std::uint8_t low = row.mask & static_cast<std::uint8_t>(-row.mask);
            std::vector<MapBits> expected;
            switch (row.kind) {
            case Kind::List: {
                const int index = (List(row.name)->currentIndex() + 1) % List(row.name)->count();
                List(row.name)->setCurrentIndex(index);
                expected = {{row.offset, row.mask, static_cast<std::uint8_t>(index * low)}};
                break;
            }
            case Kind::Box:
            case Kind::InvertedBox: {
                Box(row.name)->click();
                const bool bit = Box(row.name)->isChecked() == (row.kind == Kind::Box);
                expected = {{row.offset, row.mask, bit ? low : std::uint8_t{0}}};
                break;
            }
            case Kind::Code: {
                TypeCode("12A");
                const std::uint8_t bytes[] = {0x01, 0x02, 0x0A, 0xFF, 0xFF, 0xFF};
                for (std::size_t i = 0; i < 6; ++i)
                    expected.push_back({row.offset + i, row.mask, bytes[i]});
                break;
            }
            }
            EXPECT_TRUE(OnlyTheseBitsChanged(before, SavedFile(), expected));
        }
    }
}

TEST_F(FunctionPageTest, EnterAndEscNeverClosePage)
{
    Open();
    Code()->setFocus();
    QTest::keyClick(Code(), Qt::Key_Return);
    QTest::keyClick(Code(), Qt::Key_Escape);
    QTest::keyClick(List("Squelch"), Qt::Key_Escape);
    EXPECT_TRUE(m_page->isVisible());
}

} // namespace
