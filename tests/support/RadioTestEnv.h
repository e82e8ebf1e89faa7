#pragma once
// Shared set-up of the radio tests: a temporary setting.ini with known band variants, the shipped
// English language file, and scripted message boxes.

#include "app/AppPaths.h"
#include "app/ScriptedMessages.h"
#include "tests/support/AppPathsGuard.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

// 136-174 MHz, 400-520 MHz, and the two together.
inline constexpr const char* kStandardModels = "Freq0=VHF\ndata0=60134017\n"
                                               "Freq1=UHF\ndata1=00400052\n"
                                               "Freq2=VHF+UHF\ndata2=6013401700400052\n";

class CRadioTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UseShippedLanguage("english");
        WriteModels(kStandardModels);
    }

    // Replaces section "ModelInfo" of the test's setting.ini.
    void WriteModels(const std::string& lines)
    {
        g_strSettingFile = m_dir.Write("setting.ini", "[setup]\nlanguage=english\n[ModelInfo]\n" + lines);
    }

    CAppPathsGuard m_paths;
    CTempDir m_dir;
    CScriptedMessages m_messages;
};
