#pragma once
// Shared set-up of the page tests: the radio test environment (bands, English language file,
// scripted messages), a new document, and helpers that act on the real widgets like a user.

#include "radio/DataFile.h"
#include "radio/VantorDoc.h"
#include "res/DialogBuilder.h"
#include "tests/radio/RadioTestEnv.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

// A field of the radio's memory: `size` bytes from image offset `offset`, of each byte the bits
// in `mask`. The mapping tests write these down from the memory map, not from the code.
struct MapField
{
    std::size_t offset;
    std::size_t size;
    std::uint8_t mask;
};

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

    // Saves the document as the Save command does and returns the file's bytes.
    std::string SavedFile()
    {
        const std::string path = m_dir.File("mapping.pgm");
        m_doc.SetPathName(path);
        EXPECT_TRUE(m_doc.Save());
        return ReadFileBytes(path);
    }

    // Between two saved files, only bits of `field` changed, and the field's bits now are
    // `expected` (one value per byte, in place under the mask).
    static testing::AssertionResult OnlyFieldChanged(const std::string& before, const std::string& after,
                                                     const MapField& field, const std::vector<std::uint8_t>& expected)
    {
        if (before.size() != DataFile::kFileSize || after.size() != DataFile::kFileSize)
            return testing::AssertionFailure() << "saved files of " << before.size() << " and " << after.size()
                                               << " bytes";
        if (before == after)
            return testing::AssertionFailure() << "nothing changed";
        const std::size_t first = DataFile::kHeaderSize + field.offset;
        for (std::size_t i = 0; i < after.size(); ++i) {
            const auto was = static_cast<std::uint8_t>(before[i]);
            const auto now = static_cast<std::uint8_t>(after[i]);
            const bool inField = i >= first && i < first + field.size;
            const std::uint8_t mask = inField ? field.mask : 0;
            const std::uint8_t want = inField ? expected[i - first] : 0;
            if ((was & ~mask) != (now & ~mask) || (now & mask) != want)
                return testing::AssertionFailure()
                       << (i < DataFile::kHeaderSize ? "header byte 0x" : "image byte 0x") << std::hex
                       << (i < DataFile::kHeaderSize ? i : i - DataFile::kHeaderSize) << " went from 0x"
                       << unsigned{was} << " to 0x" << unsigned{now};
        }
        return testing::AssertionSuccess();
    }

    CVantorDoc m_doc;
};
