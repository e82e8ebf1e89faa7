// Faults the fuzzing of the settings-file reader and writer found, one case each.

#include "i18n/Profile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

// The writer trimmed the names it was given and the reader did not: a value written under the key
// "ced " could not be read back under the same name.
TEST(ProfileFuzzFindings, NamesWithBlanksAroundThemFindWhatWasWrittenUnderThem)
{
    CTempDir dir;
    const std::string file = dir.Write("setting.ini", "[A]\r\nk=2\r");
    ASSERT_TRUE(WriteProfileString(file, "a", "ced ", "a"));
    EXPECT_EQ(ReadProfileString(file, "a", "ced ", "missing", 100), "a");
    EXPECT_EQ(ReadProfileString(file, " a\t", "ced", "missing", 100), "a");
    EXPECT_EQ(ReadProfileInt(file, "A ", " k", -1), 2);
    const ProfileEntries entries = ReadProfileSection(file, " a ");
    ASSERT_EQ(entries.size(), 2u);
    ASSERT_NE(FindProfileEntry(entries, " ced "), nullptr);
    EXPECT_EQ(*FindProfileEntry(entries, " ced "), "a");
}
