#pragma once
// Shared set-up of the page tests: the radio test environment (bands, English language file,
// scripted messages), a new document, and helpers that act on the real widgets like a user.

#include "radio/VantorDoc.h"
#include "res/DialogBuilder.h"
#include "tests/radio/RadioTestEnv.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

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

    CVantorDoc m_doc;
};
