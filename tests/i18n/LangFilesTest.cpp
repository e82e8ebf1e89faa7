// Checks the shipped language files and the sample setting.ini against what the program asks of them.

#include "app/AppPaths.h"
#include "i18n/LangText.h"
#include "i18n/LanguageLocale.h"
#include "i18n/Profile.h"
#include "res/DialogTemplate.h"
#include "tests/support/AllTemplates.h"
#include "tests/support/AppPathsGuard.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kSourceDir = ZQ708_SOURCE_DIR;
const std::vector<std::string> kLangFiles = {kSourceDir + "/lang/english.lang",
                                             kSourceDir + "/lang/chinese.lang"};

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Section names of a file (folded to lower case), each once.
std::set<std::string> SectionsOf(const std::string& file)
{
    std::set<std::string> sections;
    std::istringstream text(ReadFileBytes(file));
    for (std::string line; std::getline(text, line);) {
        const std::size_t open = line.find_first_not_of(" \t");
        const std::size_t close = line.find(']');
        if (open != std::string::npos && line[open] == '[' && close != std::string::npos)
            sections.insert(Lower(line.substr(open + 1, close - open - 1)));
    }
    return sections;
}

std::set<std::string> KeysOf(const std::string& file, const std::string& section)
{
    std::set<std::string> keys;
    for (const auto& [key, value] : ReadProfileSection(file, section))
        keys.insert(Lower(key));
    return keys;
}

bool IsValidUtf8(const std::string& s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int extra = c < 0x80           ? 0
                          : (c >> 5) == 0x6  ? 1
                          : (c >> 4) == 0xE  ? 2
                          : (c >> 3) == 0x1E ? 3
                                             : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size())
            return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) & 0xC0) != 0x80)
                return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

bool IsIdentChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Every "IDS_..." and "Menu_..." literal of the program's sources: the keys the code asks for.
std::set<std::string> KeysUsedBySources()
{
    std::set<std::string> keys;
    for (auto it = fs::recursive_directory_iterator(kSourceDir); it != fs::recursive_directory_iterator();
         ++it) {
        const std::string name = it->path().filename().string();
        if (it->is_directory() && (name == "tests" || name.starts_with("build") || name.starts_with("."))) {
            it.disable_recursion_pending();
            continue;
        }
        const std::string ext = it->path().extension().string();
        if (!it->is_regular_file() || (ext != ".cpp" && ext != ".h"))
            continue;
        const std::string text = ReadFileBytes(it->path().string());
        for (std::size_t at = text.find('"'); at != std::string::npos; at = text.find('"', at + 1)) {
            const std::size_t begin = at + 1;
            if (text.compare(begin, 4, "IDS_") != 0 && text.compare(begin, 5, "Menu_") != 0)
                continue;
            std::size_t end = begin;
            while (end < text.size() && IsIdentChar(text[end]))
                ++end;
            if (end == text.size() || text[end] != '"')
                continue; // "IDS_TIP_%d" and the like are formats, not keys
            const std::string key = text.substr(begin, end - begin);
            at = end;
            // Prefixes that get a number appended, or that name keys of other sections.
            if (key.ends_with('_') || key == "IDS_ChText" || key == "IDS_RadiogramText")
                continue;
            keys.insert(key);
        }
    }
    return keys;
}

// Control ids of the dialog templates that carry a text, and the templates with a caption.
std::set<int> TextIdsOfTemplates()
{
    static const std::set<ControlKind> textless = {
        ControlKind::Icon,       ControlKind::Edit,     ControlKind::ComboList, ControlKind::ListBox,
        ControlKind::ScrollBarH, ControlKind::Progress, ControlKind::Custom};
    std::set<int> ids;
    for (const DialogTemplate* tmpl : kAllTemplates) {
        if (!tmpl->caption.empty())
            ids.insert(tmpl->id);
        for (const ControlTemplate& c : tmpl->controls)
            if (!textless.contains(c.kind))
                ids.insert(c.id);
    }
    return ids;
}

// Leaves g_strLangFile as it was.
class ShippedLangTest : public ::testing::TestWithParam<std::string>
{
protected:
    void SetUp() override { g_strLangFile = GetParam(); }

private:
    CAppPathsGuard m_paths;
};

const std::map<std::string, std::size_t> kOptionSections = {
    {"ScanType", 3},       {"FreqMode", 2}, {"PttId", 4}, {"RadiogramWorkMode", 2}, {"RadioWorkModeA", 2},
    {"RadioWorkModeB", 2}, {"LockMode", 2}, {"TxDtr", 4}, {"ChannelShowedF1", 3},   {"ChannelShowedF2", 3},
};

} // namespace

TEST_P(ShippedLangTest, IsUtf8WithTheExpectedName)
{
    EXPECT_TRUE(IsValidUtf8(ReadFileBytes(GetParam())));
    const std::string disp = LoadLangValue("Face", "disp", "-----", 100);
    EXPECT_EQ(disp, GetParam().ends_with("english.lang")
                        ? "English"
                        : "\xE7\xAE\x80\xE4\xBD\x93\xE4\xB8\xAD\xE6\x96\x87");
    EXPECT_EQ(LanguageLocaleName(), GetParam().ends_with("english.lang") ? "en_US" : "zh_CN");
}

TEST_P(ShippedLangTest, DefinesEveryTextKeyTheProgramAsksFor)
{
    std::set<std::string> keys = KeysUsedBySources();
    ASSERT_FALSE(keys.empty()) << "the source scan found nothing";
    for (const char* key : {"IDS_WINDOWNAME",
                            "IDS_CHANNEL",
                            "IDS_FUNCTION",
                            "IDS_VFOFREQ",
                            "IDS_YES",
                            "IDS_NO",
                            "IDS_ON",
                            "IDS_OFF",
                            "IDS_HIGH",
                            "IDS_LOW",
                            "IDS_WIDE",
                            "IDS_NARROW",
                            "IDS_CONFIRM",
                            "IDS_CONFIRM_FREQ",
                            "IDS_ERROR",
                            "IDS_ERROR_PORTCONN",
                            "IDS_ERROR_TYPE",
                            "IDS_ERROR_PASSWORD",
                            "IDS_PROMPT",
                            "IDS_PROMPT_READ",
                            "IDS_PROMPT_WRITE",
                            "IDS_PROMPT_READFAIL",
                            "IDS_PROMPT_WRITEFAIL",
                            "IDS_PROMPT_READSUCC",
                            "IDS_PROMPT_WRITESUCC",
                            "IDS_READDATA",
                            "IDS_WRITEDATA",
                            "IDS_SEARCHCOMPORT",
                            "IDS_WARN_CLEAR",
                            "IDS_WARN_LOAD",
                            "IDS_WARN_SAVE",
                            "Menu_File",
                            "Menu_Program",
                            "Menu_Setting",
                            "Menu_Help",
                            "Menu_File_New",
                            "Menu_File_Open",
                            "Menu_File_Save",
                            "Menu_File_Save_As",
                            "Menu_File_Print",
                            "Menu_File_Print_Preview",
                            "Menu_File_Print_Setup",
                            "Menu_App_Exit",
                            "Menu_Program_ReadData",
                            "Menu_Program_WriteData",
                            "Menu_Program_TestMode",
                            "Menu_Program_Radiogram",
                            "Menu_Setting_Port",
                            "Menu_Setting_Language",
                            "Menu_Help_Help",
                            "Menu_App_About"})
        keys.insert(key);
    // One tooltip per toolbar button.
    for (int command : {57600, 57601, 57603, 32771, 32772, 57607, 32776, 32775})
        keys.insert("IDS_TIP_" + std::to_string(command));

    const ProfileEntries strings = ReadProfileSection(GetParam(), "String");
    for (const std::string& key : keys) {
        const std::string* value = FindProfileEntry(strings, key);
        EXPECT_TRUE(value && !value->empty()) << key << " missing in " << GetParam();
    }
}

TEST_P(ShippedLangTest, TextsFitTheirBuffers)
{
    for (const auto& [key, value] : ReadProfileSection(GetParam(), "String")) {
        EXPECT_LE(value.size(), 999u) << key;
        // Tooltips show at most 19 bytes.
        if (key.starts_with("IDS_TIP_")) {
            EXPECT_LE(value.size(), 19u) << key;
        }
    }
    for (const auto& [key, value] : ReadProfileSection(GetParam(), "Resource"))
        EXPECT_LE(value.size(), 1023u) << key;
    std::vector<std::string> shortSections = {"ChText", "RadiogramText", "Step", "TestData"};
    for (const auto& [section, max] : kOptionSections)
        shortSections.push_back(section);
    for (const std::string& section : shortSections)
        for (const auto& [key, value] : ReadProfileSection(GetParam(), section))
            EXPECT_LE(value.size(), 29u) << section << "/" << key;
}

TEST_P(ShippedLangTest, RelabelsEveryDialog)
{
    std::set<int> ids = TextIdsOfTemplates();
    ASSERT_TRUE(ids.contains(130) && ids.contains(1011)) << "the template scan missed the port dialog";
    const std::map<int, std::vector<int>> table = {
        {100, {1015, 65535}},
        {130, {1011, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1012, 1, 2}},
        {131, {1013, 1, 2}},
        {132, {1010, 1, 2}},
        {134, {1062, 1, 2}},
        {135, {1092, 1115, 1093, 1116, 1095, 1118, 1097, 1120, 1099, 1122, 1101, 1124, 1103,
               1126, 1105, 1128, 1109, 1132, 1111, 1134, 1113, 1136, 1140, 1142, 1107, 1130}},
        {150, {1018, 1019, 1020}},
        {151, {1025, 1027, 1029, 1030, 1031, 1032, 1033, 1034, 1036, 1038, 1039, 1040,
               1042, 1044, 1046, 1048, 1050, 1052, 1053, 1055, 1057, 1058, 1060}},
        {155, {1090, 1, 2}},
        {156, {1138, 1139, 1153, 1154, 1155, 2}},
        {170, {1310, 1313, 1314, 1315}},
    };
    for (const auto& [dialog, controls] : table) {
        ids.insert(dialog);
        ids.insert(controls.begin(), controls.end());
    }
    const ProfileEntries resource = ReadProfileSection(GetParam(), "Resource");
    for (int id : ids) {
        const std::string* value = FindProfileEntry(resource, std::to_string(id));
        EXPECT_TRUE(value && !value->empty()) << "Resource " << id << " missing in " << GetParam();
    }
}

TEST_P(ShippedLangTest, ListsAndHeaders)
{
    for (const auto& [section, max] : kOptionSections) {
        const std::vector<std::string> list = LoadOptionList(section);
        EXPECT_GE(list.size(), 2u) << section;
        EXPECT_LE(list.size(), max) << section << " offers more entries than its field holds";
    }
    EXPECT_EQ(LoadHeaderTexts("ChText", "IDS_ChText", 13).size(), 13u);
    for (const std::string& header : LoadHeaderTexts("ChText", "IDS_ChText", 13))
        EXPECT_FALSE(header.empty());
    for (const std::string& header : LoadHeaderTexts("RadiogramText", "IDS_RadiogramText", 2))
        EXPECT_FALSE(header.empty());
    EXPECT_EQ(KeysOf(GetParam(), "ChText").size(), 13u);
    EXPECT_EQ(KeysOf(GetParam(), "RadiogramText").size(), 2u);

    const std::vector<std::string> items = LoadOptionList("TestData");
    EXPECT_GE(items.size(), 1u);
    EXPECT_LE(items.size(), 12u); // byte 0xFFC holds the selected index

    // The radio snaps to 6.25 kHz for steps 1 and 3 and to 5 kHz for all others.
    const std::vector<std::string> steps = LoadOptionList("Step");
    ASSERT_EQ(steps.size(), 6u);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const double kHz = std::stod(steps[i]);
        const double raster = (i == 1 || i == 3) ? 6.25 : 5.0;
        EXPECT_EQ(std::fmod(kHz, raster), 0.0) << steps[i];
    }
}

TEST_P(ShippedLangTest, MenuShortcutTextsMatchTheAccelerators)
{
    const std::map<std::string, std::string> shortcuts = {
        {"Menu_File_New", "Ctrl+N"},         {"Menu_File_Open", "Ctrl+O"},
        {"Menu_File_Save", "Ctrl+S"},        {"Menu_File_Print", "Ctrl+P"},
        {"Menu_Program_ReadData", "Ctrl+R"}, {"Menu_Program_WriteData", "Ctrl+W"},
        {"Menu_Program_TestMode", "Ctrl+T"}, {"Menu_Setting_Port", "Ctrl+C"},
        {"Menu_Setting_Language", "Ctrl+L"}, {"Menu_Edit_Undo", "Ctrl+Z"},
        {"Menu_Edit_Redo", "Ctrl+Y"},        {"Menu_Edit_Cut", "Ctrl+X"},
        {"Menu_Edit_Copy", "Ctrl+Ins"},      {"Menu_Edit_Paste", "Ctrl+V"},
        {"Menu_Edit_Delete", "Del"},         {"Menu_Edit_MoveUp", "Alt+Up"},
        {"Menu_Edit_MoveDown", "Alt+Down"},  {"Menu_Edit_SelectAll", "Ctrl+A"},
    };
    for (const auto& [key, value] : ReadProfileSection(GetParam(), "String")) {
        if (!key.starts_with("Menu_"))
            continue;
        const std::string text = LoadLangString(key);
        const std::size_t tab = text.find('\t');
        const auto expected = shortcuts.find(key);
        const std::string shortcut = tab == std::string::npos ? "" : text.substr(tab + 1);
        EXPECT_EQ(shortcut, expected == shortcuts.end() ? "" : expected->second) << key;
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedLangTest, ::testing::ValuesIn(kLangFiles),
                         [](const auto& info) { return fs::path(info.param).stem().string(); });

TEST(ShippedLangFiles, SameSectionsAndKeysInEveryLanguage)
{
    const std::set<std::string> sections = SectionsOf(kLangFiles[0]);
    ASSERT_EQ(sections, SectionsOf(kLangFiles[1]));
    for (const std::string& section : sections)
        EXPECT_EQ(KeysOf(kLangFiles[0], section), KeysOf(kLangFiles[1], section)) << "[" << section << "]";
}

TEST(SampleSettings, SetupAndBandVariantsAreConsistent)
{
    const std::string file = kSourceDir + "/lang/setting.ini";
    EXPECT_TRUE(IsValidUtf8(ReadFileBytes(file)));
    EXPECT_EQ(ReadProfileString(file, "setup", "language", "<none>", 260), "");
    EXPECT_EQ(ReadProfileInt(file, "setup", "com", 0), 1);
    EXPECT_EQ(ReadProfileInt(file, "setup", "searchcom", 0), 1);
    EXPECT_TRUE(ReadProfileSection(file, "ports").empty()); // only an example in comments

    const ProfileEntries model = ReadProfileSection(file, "ModelInfo");
    int variants = 0;
    bool twoBand = false;
    for (; variants < 16; ++variants) {
        const std::string* data = FindProfileEntry(model, "data" + std::to_string(variants));
        if (!data)
            break;
        const std::string* name = FindProfileEntry(model, "Freq" + std::to_string(variants));
        ASSERT_NE(name, nullptr) << "data" << variants << " has no name";
        ASSERT_TRUE(data->size() == 8 || data->size() == 16) << *data;
        ASSERT_TRUE(std::all_of(data->begin(), data->end(),
                                [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }));
        twoBand = twoBand || data->size() == 16;
        // Each band: lower and upper edge in whole MHz, both named in the display text.
        for (std::size_t band = 0; band < data->size(); band += 8) {
            const std::string d = data->substr(band, 8);
            const int low = std::stoi(std::string{d[2], d[3], d[0]});
            const int high = std::stoi(std::string{d[6], d[7], d[4]});
            EXPECT_LT(low, high) << *data;
            EXPECT_NE(name->find(std::to_string(low)), std::string::npos) << *name;
            EXPECT_NE(name->find(std::to_string(high)), std::string::npos) << *name;
        }
    }
    EXPECT_GE(variants, 4);
    EXPECT_LE(variants, 10); // the selector offers at most ten names
    EXPECT_TRUE(twoBand);
}
