// The function settings page on its real widgets: what it shows for an image, and the bits each
// control writes.
#include "pages/FunctionPage.h"

#include "tests/pages/PageTestEnv.h"

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

    QComboBox* List(int id) const { return GetDlgItemAs<QComboBox>(m_page.get(), id); }
    QCheckBox* Box(int id) const { return GetDlgItemAs<QCheckBox>(m_page.get(), id); }
    QLineEdit* Code() const { return GetDlgItemAs<QLineEdit>(m_page.get(), 1061); }

    std::array<std::uint8_t, 6> CodeBytes() const
    {
        std::array<std::uint8_t, 6> bytes{};
        std::copy_n(m_doc.Image().begin() + kPttIdCode, 6, bytes.begin());
        return bytes;
    }

    void TypeCode(const QString& text) { TypeAndLeave(Code(), text, List(1026)); }

    std::unique_ptr<CFunctionPage> m_page;
};

using Bytes6 = std::array<std::uint8_t, 6>;

TEST_F(FunctionPageTest, ANewImageShowsTheRadiosDefaults)
{
    Open();
    EXPECT_EQ(List(1026)->currentIndex(), 4); // squelch
    EXPECT_EQ(List(1028)->currentIndex(), 0); // scan mode
    EXPECT_EQ(List(1049)->currentIndex(), 1); // time-out
    EXPECT_EQ(List(1059)->currentIndex(), 0); // VOX
    EXPECT_EQ(List(1049)->itemText(0), "Off");
    EXPECT_EQ(List(1049)->count(), 8);
    EXPECT_EQ(List(1026)->count(), 10);
    for (int id : {1030, 1032, 1033, 1039})
        EXPECT_TRUE(Box(id)->isChecked()) << id;
    for (int id : {1031, 1038, 1029, 1057})
        EXPECT_FALSE(Box(id)->isChecked()) << id;
    EXPECT_EQ(Code()->text(), "");
    EXPECT_EQ(Code()->maxLength(), 6);
    // The lock mode and ANI controls are loaded but never shown.
    for (int id : {1046, 1047, 1052}) {
        EXPECT_FALSE(GetDlgItem(m_page.get(), id)->isVisible()) << id;
        EXPECT_FALSE(GetDlgItem(m_page.get(), id)->isEnabled()) << id;
    }
    EXPECT_EQ(List(1047)->currentIndex(), 0);
    EXPECT_EQ(GetDlgItemAs<QLabel>(m_page.get(), 1025)->text(), "Squelch level");
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(FunctionPageTest, TheBeepBoxShowsAndWritesTheInvertedBit)
{
    Open();
    ASSERT_TRUE(Byte(kD01) & 0x10); // beep off
    Box(1031)->click();
    EXPECT_TRUE(Box(1031)->isChecked());
    EXPECT_EQ(Byte(kD01), 0x68);
    EXPECT_TRUE(m_doc.IsModified());
    Box(1031)->click();
    EXPECT_EQ(Byte(kD01), 0x78);

    SetByte(kD01, 0x00);
    m_page->ReloadFromImage();
    EXPECT_TRUE(Box(1031)->isChecked());
}

TEST_F(FunctionPageTest, ATwoBitFieldKeepsItsNeighbours)
{
    SetByte(kD04, 0xCB); // F1 display 0, everything around it set
    Open();
    List(1054)->setCurrentIndex(2);
    EXPECT_EQ(Byte(kD04), 0xEB);
    QTest::keyClick(List(1056), Qt::Key_Up); // F2 display 3 reads as 2; one up is 1
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
    EXPECT_EQ(List(1051)->currentIndex(), 3); // TX DTR
    EXPECT_EQ(List(1054)->currentIndex(), 2);
    EXPECT_EQ(List(1056)->currentIndex(), 2);
    EXPECT_TRUE(Box(1052)->isChecked()); // ANI, hidden
    EXPECT_EQ(List(1026)->currentIndex(), 0);
    EXPECT_EQ(List(1049)->currentIndex(), 0);
    EXPECT_EQ(Byte(kD04), 0xFF); // nothing written back by loading

    EXPECT_TRUE(Box(1057)->isChecked()); // side tone: any non-zero byte
    Box(1057)->click();
    EXPECT_EQ(Byte(kD05), 0x00);
    Box(1057)->click();
    EXPECT_EQ(Byte(kD05), 0x01);
}

TEST_F(FunctionPageTest, ThePttIdCodeIsStoredWhenTheEditLosesTheFocus)
{
    Open();
    Code()->setFocus();
    QTest::keyClicks(Code(), "12*4");
    EXPECT_EQ(CodeBytes(), (Bytes6{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})); // not while typing
    List(1026)->setFocus();
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
    List(1026)->setFocus();
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
    EXPECT_EQ(List(1028)->count(), 3);
    EXPECT_EQ(List(1035)->count(), 2);
    // A stored value the list does not offer leaves it without a selection; a missing section
    // leaves the list empty.
    EXPECT_EQ(List(1037)->count(), 1);
    EXPECT_EQ(List(1037)->currentIndex(), -1);
    EXPECT_EQ(List(1051)->count(), 0);
    EXPECT_EQ(List(1049)->itemText(0), "Not Found");
    EXPECT_EQ(Byte(0xD02), 0x02);
}

TEST_F(FunctionPageTest, EverySettingSurvivesASaveAndAReopen)
{
    Open();
    const int lists[] = {1026, 1028, 1035, 1037, 1041, 1043, 1045, 1049, 1051, 1054, 1056, 1059};
    for (int id : lists)
        List(id)->setCurrentIndex(List(id)->count() - 1);
    for (int id : {1029, 1030, 1031, 1032, 1033, 1038, 1039, 1057})
        Box(id)->click();
    TypeCode("D0#");

    FileError error;
    const std::string path = m_dir.File("settings.pgm");
    ASSERT_TRUE(m_doc.StoreFile(path, error)) << std::strerror(error.number);
    CVantorDoc reopened;
    ASSERT_EQ(reopened.LoadFile(path, error), DataFile::LoadStatus::Loaded) << std::strerror(error.number);
    CFunctionPage page(reopened, nullptr);
    for (int id : lists)
        EXPECT_EQ(GetDlgItemAs<QComboBox>(&page, id)->currentIndex(), List(id)->count() - 1) << id;
    for (int id : {1029, 1030, 1031, 1032, 1033, 1038, 1039, 1057})
        EXPECT_EQ(GetDlgItemAs<QCheckBox>(&page, id)->isChecked(), Box(id)->isChecked()) << id;
    EXPECT_EQ(GetDlgItemAs<QLineEdit>(&page, 1061)->text(), "D0");
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
        int id;
        Kind kind;
        std::size_t offset;
        std::uint8_t mask; // for the code: of each of its six bytes
    };
    const Row rows[] = {
        {1026, Kind::List, 0xD00, 0xFF},        // squelch level
        {1028, Kind::List, 0xD01, 0x03},        // scan type
        {1029, Kind::Box, 0xD01, 0x04},         // dual watch
        {1030, Kind::Box, 0xD01, 0x08},         // roger beep
        {1031, Kind::InvertedBox, 0xD01, 0x10}, // beep (the bit means beep off)
        {1032, Kind::Box, 0xD01, 0x20},         // backlight
        {1033, Kind::Box, 0xD01, 0x40},         // power save
        {1035, Kind::List, 0xD01, 0x80},        // frequency mode
        {1037, Kind::List, 0xD02, 0x03},        // PTT ID
        {1038, Kind::Box, 0xD02, 0x04},         // FM radio
        {1039, Kind::Box, 0xD02, 0x08},         // voice prompt
        {1041, Kind::List, 0xD02, 0x10},        // FM work mode
        {1043, Kind::List, 0xD02, 0x20},        // work mode A
        {1045, Kind::List, 0xD02, 0x40},        // work mode B
        {1047, Kind::List, 0xD02, 0x80},        // lock mode (hidden)
        {1049, Kind::List, 0xD03, 0xFF},        // time-out
        {1051, Kind::List, 0xD04, 0x03},        // TX DTR
        {1052, Kind::Box, 0xD04, 0x08},         // ANI (hidden)
        {1054, Kind::List, 0xD04, 0x30},        // F1 display
        {1056, Kind::List, 0xD04, 0xC0},        // F2 display
        {1057, Kind::Box, 0xD05, 0xFF},         // side tone
        {1059, Kind::List, 0xD06, 0xFF},        // VOX level
        {1061, Kind::Code, 0xD20, 0xFF},        // PTT ID code
    };
    for (bool allSet : {false, true}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::Message() << "control " << row.id << (allSet ? ", settings all set" : ""));
            ASSERT_TRUE(m_doc.OnNewDocument(false));
            if (allSet)
                std::fill_n(m_doc.Image().begin() + 0xD00, 7, std::uint8_t{0xFF});
            Open();
            QWidget* control = GetDlgItem(m_page.get(), row.id);
            control->setEnabled(true); // the hidden lock mode and ANI controls store like any other
            const std::string before = SavedFile();

            const std::uint8_t low = row.mask & static_cast<std::uint8_t>(-row.mask);
            std::vector<MapBits> expected;
            switch (row.kind) {
            case Kind::List: {
                const int index = (List(row.id)->currentIndex() + 1) % List(row.id)->count();
                List(row.id)->setCurrentIndex(index);
                expected = {{row.offset, row.mask, static_cast<std::uint8_t>(index * low)}};
                break;
            }
            case Kind::Box:
            case Kind::InvertedBox: {
                Box(row.id)->click();
                const bool bit = Box(row.id)->isChecked() == (row.kind == Kind::Box);
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
    QTest::keyClick(List(1026), Qt::Key_Escape);
    EXPECT_TRUE(m_page->isVisible());
}

} // namespace
