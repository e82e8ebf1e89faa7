#pragma once
// Shared set-up of the page tests: the radio test environment (bands, English language file,
// scripted messages), a new document, and helpers that act on the real widgets like a user.

#include "radio/DataFile.h"
#include "radio/VantorDoc.h"
#include "res/DialogBuilder.h"
#include "tests/support/RadioTestEnv.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

// Bits of one image byte as the radio's memory map gives them: of byte `offset`, the bits in
// `mask` hold `value` (already in place). The mapping tests write these down from the memory map.
struct MapBits
{
    std::size_t offset;
    std::uint8_t mask;
    std::uint8_t value;
};

// Saves the document under `path` as the Save command does and returns the file's bytes.
inline std::string SaveAndRead(CVantorDoc& doc, const std::string& path)
{
    doc.SetPathName(path);
    EXPECT_TRUE(doc.Save());
    return ReadFileBytes(path);
}

// Between two saved files, nothing but the listed bits changed, and they hold their values.
inline testing::AssertionResult OnlyTheseBitsChanged(const std::string& before, const std::string& after,
                                                     const std::vector<MapBits>& bits)
{
    if (before.size() != DataFile::kFileSize || after.size() != DataFile::kFileSize)
        return testing::AssertionFailure()
               << "saved files of " << before.size() << " and " << after.size() << " bytes";
    if (before == after)
        return testing::AssertionFailure() << "nothing changed";
    std::string expected = before;
    for (const MapBits& b : bits) {
        char& byte = expected[DataFile::kHeaderSize + b.offset];
        byte = static_cast<char>((static_cast<std::uint8_t>(byte) & ~b.mask) | (b.value & b.mask));
    }
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (after[i] == expected[i])
            continue;
        std::ostringstream where;
        where << (i < DataFile::kHeaderSize ? "header byte 0x" : "image byte 0x") << std::hex
              << (i < DataFile::kHeaderSize ? i : i - DataFile::kHeaderSize) << " went from 0x"
              << unsigned{static_cast<std::uint8_t>(before[i])} << " to 0x"
              << unsigned{static_cast<std::uint8_t>(after[i])} << ", expected 0x"
              << unsigned{static_cast<std::uint8_t>(expected[i])};
        return testing::AssertionFailure() << where.str();
    }
    return testing::AssertionSuccess();
}

class CPageTest : public CRadioTest
{
protected:
    void SetUp() override
    {
        CRadioTest::SetUp();
        ASSERT_TRUE(m_doc.OnNewDocument(false)); // band entry 0: 136 to 174 MHz
    }

    std::uint8_t Byte(std::size_t offset) const { return m_doc.Image()[offset]; }
    void SetByte(std::size_t offset, std::uint8_t value) { m_doc.Image()[offset] = value; }

    // Shows a top-level widget and makes it the active window so that focus changes happen.
    static void ShowActive(QWidget& widget)
    {
        widget.show();
        QApplication::setActiveWindow(&widget);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&widget));
    }

    // Types into a control that has the focus, then moves the focus to `next`.
    static void TypeAndLeave(QWidget* edit, const QString& text, QWidget* next)
    {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        next->setFocus();
    }

    std::string SavedFile() { return SaveAndRead(m_doc, m_dir.File("mapping.pgm")); }

    CVantorDoc m_doc;
};
