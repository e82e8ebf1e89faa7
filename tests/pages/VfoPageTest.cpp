// The VFO page on its real widgets: loading both records, the frequency commit with the step rule,
// and F2 writing record 130 only.
#include "pages/VfoPage.h"

#include "pages/ToneCombo.h"
#include "res/DialogTemplate.h"
#include "tests/pages/PageTestEnv.h"
#include "tests/support/FindControl.h"

#include <QComboBox>
#include <QLineEdit>
#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

using namespace ImageMap;

namespace {

// Names of the controls of the two groups.
using Name = const char*;
struct GroupNames
{
    Name rx, tx, rxTone, txTone, power, bcl, bandwidth, scanAdd, step, reverse, pttId, compander;
};
constexpr GroupNames kF1{"RxFreqF1",    "TxFreqF1",  "RxToneF1", "TxToneF1",  "PowerF1", "BusyLockF1",
                         "BandwidthF1", "ScanAddF1", "StepF1",   "ReverseF1", "PttIdF1", "CompanderF1"};
constexpr GroupNames kF2{"RxFreqF2",    "TxFreqF2",  "RxToneF2", "TxToneF2",  "PowerF2", "BusyLockF2",
                         "BandwidthF2", "ScanAddF2", "StepF2",   "ReverseF2", "PttIdF2", "CompanderF2"};

class VfoPageTest : public CPageTest
{
protected:
    void Open()
    {
        m_page = std::make_unique<CVfoPage>(m_doc, nullptr);
        ShowActive(*m_page);
    }

    QComboBox* List(Name name) const { return FindControl<QComboBox>(m_page.get(), name); }
    QLineEdit* Edit(Name name) const { return FindControl<QLineEdit>(m_page.get(), name); }

    // Types both frequencies of a group and leaves the group.
    void Enter(const GroupNames& g, const QString& rx, const QString& tx)
    {
        TypeAndLeave(Edit(g.rx), rx, Edit(g.tx));
        TypeAndLeave(Edit(g.tx), tx, List(g.power));
    }

    std::uint8_t RecordByte(int r, std::size_t b) const { return Byte(RecordOffset(r) + b); }

    std::unique_ptr<CVfoPage> m_page;
};

TEST_F(VfoPageTest, ANewImageShowsBothRecords)
{
    Open();
    for (const GroupNames& g : {kF1, kF2}) {
        EXPECT_EQ(Edit(g.rx)->text(), "136.00000");
        EXPECT_EQ(Edit(g.tx)->text(), "136.00000");
        EXPECT_EQ(Edit(g.rx)->maxLength(), 9);
        EXPECT_EQ(List(g.rxTone)->count(), 259);
        EXPECT_EQ(List(g.rxTone)->currentText(), "Off");
        EXPECT_EQ(List(g.power)->currentText(), "High");
        EXPECT_EQ(List(g.bandwidth)->currentText(), "Wide");
        EXPECT_EQ(List(g.step)->count(), 6);
        EXPECT_EQ(List(g.step)->currentIndex(), 0);
        // Scan add is on in a new VFO record; its list is loaded though never shown.
        EXPECT_EQ(List(g.scanAdd)->currentIndex(), 1);
        EXPECT_FALSE(List(g.scanAdd)->isVisible());
    }
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(VfoPageTest, LeavingAFrequencyCommitsBothOfTheGroup)
{
    Open();
    Enter(kF1, "145.5", "145.0");
    EXPECT_EQ(Edit(kF1.rx)->text(), "145.50000");
    EXPECT_EQ(Edit(kF1.tx)->text(), "145.00000");
    EXPECT_EQ(m_doc.GetShiftDirection(kVfoA), 1);
    EXPECT_EQ(m_doc.FrequencyText(kVfoA, FreqField::Offset), "00.50000");
    EXPECT_TRUE(m_doc.IsModified());

    // Above the band: the upper limit.
    Enter(kF1, "200", "");
    EXPECT_EQ(Edit(kF1.rx)->text(), "173.99500");
    EXPECT_EQ(Edit(kF1.tx)->text(), ""); // receive-only
}

TEST_F(VfoPageTest, TheStepListDecidesTheRaster)
{
    Open();
    List(kF1.step)->setCurrentIndex(1); // 6.25 kHz
    EXPECT_EQ(RecordByte(kVfoA, kRecStep), 1);
    Enter(kF1, "145.00625", "145.00625");
    EXPECT_EQ(Edit(kF1.rx)->text(), "145.00625");

    List(kF1.step)->setCurrentIndex(0); // 5 kHz
    Enter(kF1, "145.00625", "145.0026");
    EXPECT_EQ(Edit(kF1.rx)->text(), "145.00500");
    Enter(kF1, "145.0025", "145.0026");
    EXPECT_EQ(Edit(kF1.rx)->text(), "145.00000");
    EXPECT_EQ(Edit(kF1.tx)->text(), "145.00500");
    EXPECT_EQ(m_doc.GetShiftDirection(kVfoA), 2);
}

TEST_F(VfoPageTest, F2WritesRecord130Only)
{
    Open();
    const RadioImage before = m_doc.Image();
    List(kF2.rxTone)->setCurrentIndex(164); // an inverted DCS code
    List(kF2.power)->setCurrentIndex(0);
    List(kF2.bcl)->setCurrentIndex(1);
    List(kF2.bandwidth)->setCurrentIndex(1);
    List(kF2.reverse)->setCurrentIndex(1);
    List(kF2.pttId)->setCurrentIndex(1);
    List(kF2.compander)->setCurrentIndex(1);
    List(kF2.step)->setCurrentIndex(5);
    Enter(kF2, "150", "155");

    EXPECT_EQ(RecordByte(kVfoB, kRecRxTone), 60);
    EXPECT_EQ(RecordByte(kVfoB, kRecFlags), 0x18); // compander, RX inverted
    EXPECT_EQ(RecordByte(kVfoB, kRecMode), 0x40 | 0x80 | 0x20 | 0x10 | 0x04 | 0x02);
    EXPECT_EQ(RecordByte(kVfoB, kRecStep), 5);
    EXPECT_EQ(Edit(kF2.tx)->text(), "155.00000");
    for (std::size_t i = 0; i < before.size(); ++i) {
        const bool inF2 = i >= RecordOffset(kVfoB) && i < RecordOffset(kVfoB) + kRecordSize;
        ASSERT_TRUE(inF2 || before[i] == m_doc.Image()[i]) << std::hex << i;
    }
}

TEST_F(VfoPageTest, BothGroupsSurviveASaveAndAReopen)
{
    Open();
    Enter(kF1, "144.8125", "145.4");
    List(kF2.txTone)->setCurrentIndex(258);
    List(kF2.step)->setCurrentIndex(4);
    Enter(kF2, "150.02", "");

    FileError error;
    const std::string path = m_dir.File("vfo.pgm");
    ASSERT_TRUE(m_doc.StoreFile(path, error)) << std::strerror(error.number);
    CVantorDoc reopened;
    ASSERT_EQ(reopened.LoadFile(path, error), DataFile::LoadStatus::Loaded) << std::strerror(error.number);
    CVfoPage page(reopened, nullptr);
    for (Name name : {kF1.rx, kF1.tx, kF2.rx, kF2.tx})
        EXPECT_EQ(FindControl<QLineEdit>(&page, name)->text(), Edit(name)->text()) << name;
    EXPECT_EQ(Edit(kF1.tx)->text(), "145.40000");
    EXPECT_EQ(Edit(kF2.tx)->text(), "");
    EXPECT_EQ(FindControl<QComboBox>(&page, kF2.txTone)->currentText(), "D754I");
    EXPECT_EQ(FindControl<QComboBox>(&page, kF2.step)->currentIndex(), 4);
}

TEST_F(VfoPageTest, AReloadShowsWhatWasStored)
{
    SetByte(RecordOffset(kVfoA) + kRecMode, 0x03); // direction 3 reads as 0; scan add off
    SetByte(RecordOffset(kVfoA) + kRecStep, 9);    // reads as step 0
    SetByte(RecordOffset(kVfoA) + kRecTxTone, 60);
    SetByte(RecordOffset(kVfoA) + kRecFlags, 0x20);
    Open();
    EXPECT_EQ(List(kF1.scanAdd)->currentIndex(), 0);
    EXPECT_EQ(List(kF1.step)->currentIndex(), 0);
    EXPECT_EQ(List(kF1.txTone)->currentIndex(), 164);
    EXPECT_EQ(List(kF1.txTone)->currentText(), "D053I");
    EXPECT_EQ(Edit(kF1.tx)->text(), "136.00000");
}

TEST_F(VfoPageTest, AReloadRefillsEachChoiceListWithItsTwoTexts)
{
    const struct
    {
        Name GroupNames::*control;
        QStringList texts;
    } rows[] = {
        {&GroupNames::power, {"Low", "High"}},        {&GroupNames::bcl, {"Off", "On"}},
        {&GroupNames::bandwidth, {"Wide", "Narrow"}}, {&GroupNames::scanAdd, {"Off", "On"}},
        {&GroupNames::reverse, {"Off", "On"}},        {&GroupNames::pttId, {"Off", "On"}},
        {&GroupNames::compander, {"Off", "On"}},
    };
    Open();
    m_page->ReloadFromImage();
    for (const GroupNames& g : {kF1, kF2}) {
        for (const auto& row : rows) {
            QComboBox* list = List(g.*row.control);
            QStringList texts;
            for (int i = 0; i < list->count(); ++i)
                texts << list->itemText(i);
            EXPECT_EQ(texts, row.texts) << g.*row.control;
        }
    }
}

TEST_F(VfoPageTest, WithoutAStepSectionTheStepListsStayEmpty)
{
    g_strLangFile = m_dir.Write("nostep.lang", "[String]\nIDS_OFF=Off\n");
    SetByte(RecordOffset(kVfoB) + kRecStep, 3);
    Open();
    EXPECT_EQ(List(kF1.step)->count(), 0);
    EXPECT_EQ(List(kF2.step)->currentIndex(), -1);
    Enter(kF2, "145.00625", "");
    EXPECT_EQ(RecordByte(kVfoB, kRecStep), 3);
    EXPECT_EQ(Edit(kF2.rx)->text(), "145.00625"); // step 3 still rules
}

TEST_F(VfoPageTest, StepListsOfferTheRadiosSixStepsAndOnlyToneListsAreToneLists)
{
    g_strLangFile = m_dir.Write("eight.lang", "[String]\nIDS_OFF=Off\n[Step]\n0=a\n1=b\n2=c\n3=d\n"
                                              "4=e\n5=f\n6=g\n7=h\n");
    SetByte(RecordOffset(kVfoB) + kRecStep, 6); // a step index the radio does not have
    SetByte(RecordOffset(kVfoA) + kRecRxTone, 3);
    Open();
    m_page->ReloadFromImage();
    for (const GroupNames& g : {kF1, kF2}) {
        EXPECT_EQ(List(g.step)->count(), 6) << g.step;
        for (Name tone : {g.rxTone, g.txTone})
            EXPECT_NE(qobject_cast<CToneCombo*>(List(tone)), nullptr) << tone;
        for (Name other : {g.step, g.power, g.bcl, g.bandwidth, g.scanAdd, g.reverse, g.pttId, g.compander})
            EXPECT_EQ(qobject_cast<CToneCombo*>(List(other)), nullptr) << other;
    }
    EXPECT_EQ(List(kF2.step)->currentIndex(), 0); // reads as the first step

    List(kF1.rxTone)->setCurrentIndex(0); // back to off
    EXPECT_EQ(m_doc.ToneIndex(kVfoA, ToneDir::Rx), 0);
    EXPECT_EQ(RecordByte(kVfoB, kRecStep), 6);

    // After a change of language a reload shows the new language's words.
    g_strLangFile = m_dir.Write("other.lang", "[Resource]\n" + std::to_string(g_dlgVfo.id) +
                                                  "=VFO\n[String]\nIDS_OFF=Aus\n[Step]\n0=x\n");
    m_page->ReloadFromImage();
    EXPECT_EQ(m_page->windowTitle(), "VFO");
    EXPECT_EQ(List(kF1.step)->count(), 1);
    EXPECT_EQ(List(kF1.step)->itemText(0), "x");
}

TEST_F(VfoPageTest, EnterInAToneListOnlyMovesTheFocusToThePage)
{
    Open();
    List(kF1.rxTone)->setFocus();
    QTest::keyClick(List(kF1.rxTone), Qt::Key_Down);
    EXPECT_EQ(m_doc.ToneIndex(kVfoA, ToneDir::Rx), 1);
    QTest::keyClick(List(kF1.rxTone), Qt::Key_Return);
    QTest::keyClick(Edit(kF1.rx), Qt::Key_Escape);
    EXPECT_FALSE(List(kF1.rxTone)->hasFocus());
    EXPECT_TRUE(m_page->isVisible());
    EXPECT_EQ(m_doc.ToneIndex(kVfoA, ToneDir::Rx), 1);
}

// Every control of both groups against the radio's memory map: changing it alone changes only its
// record's bits in the saved file. F1 edits the record at 0x000, F2 the one at 0x820.
TEST_F(VfoPageTest, EachControlChangesOnlyItsFieldInTheSavedFile)
{
    struct Bits
    {
        std::size_t byte; // within the record
        std::uint8_t mask;
        std::uint8_t value;
    };
    struct Row
    {
        Name GroupNames::*control;
        const char* text; // typed into a frequency edit, or nothing
        int index;        // picked in a list
        std::vector<Bits> bits;
    };
    // From a new image: 136.00000 on both sides, high power and scan add on, the rest off.
    const Row rows[] = {
        // 145.5 received, 136.0 kept as transmit: 9.5 MHz below.
        {&GroupNames::rx, "145.5", 0, {{3, 0xFF, 0x14}, {2, 0xFF, 0x55}, {6, 0xFF, 0x95}, {11, 0x03, 1}}},
        // 146.0 transmitted: 10 MHz above.
        {&GroupNames::tx, "146", 0, {{7, 0xFF, 0x01}, {11, 0x03, 2}}},
        {&GroupNames::rxTone, nullptr, 164, {{9, 0xFF, 60}, {8, 0x10, 0x10}}},  // D036I: code 60, inverted
        {&GroupNames::txTone, nullptr, 170, {{10, 0xFF, 66}, {8, 0x20, 0x20}}}, // D051I: code 66, inverted
        {&GroupNames::power, nullptr, 0, {{11, 0x08, 0x00}}},
        {&GroupNames::bcl, nullptr, 1, {{11, 0x10, 0x10}}},
        {&GroupNames::bandwidth, nullptr, 1, {{11, 0x20, 0x20}}},
        {&GroupNames::scanAdd, nullptr, 0, {{11, 0x40, 0x00}}},
        {&GroupNames::step, nullptr, 3, {{12, 0xFF, 3}}},
        {&GroupNames::reverse, nullptr, 1, {{11, 0x04, 0x04}}},
        {&GroupNames::pttId, nullptr, 1, {{11, 0x80, 0x80}}},
        {&GroupNames::compander, nullptr, 1, {{8, 0x08, 0x08}}},
    };
    for (const auto& [group, record] :
         {std::pair{kF1, std::size_t{0x000}}, std::pair{kF2, std::size_t{0x820}}}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::Message() << "control " << group.*row.control);
            ASSERT_TRUE(m_doc.OnNewDocument(false));
            Open();
            const std::string before = SavedFile();
            if (row.text)
                TypeAndLeave(Edit(group.*row.control), row.text, List(group.power));
            else
                List(group.*row.control)->setCurrentIndex(row.index);
            EXPECT_TRUE(m_doc.IsModified());
            std::vector<MapBits> expected;
            for (const Bits& b : row.bits)
                expected.push_back({record + b.byte, b.mask, b.value});
            EXPECT_TRUE(OnlyTheseBitsChanged(before, SavedFile(), expected));
        }
    }
}

} // namespace
