#include "radio/ToneList.h"

#include "i18n/LangText.h"

#include <string_view>

namespace ToneList {

namespace {

constexpr std::array<std::string_view, kCtcssCount> kCtcssTones = {
    "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
    "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9",
    "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5",
    "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};

// DCS codes in octal, in the radio's order.
constexpr std::array<std::string_view, kDcsCount> kDcsCodes = {
    "023", "025", "026", "031", "032", "036", "043", "047", "051", "053", "054", "065", "071", "072", "073",
    "074", "114", "115", "116", "122", "125", "131", "132", "134", "143", "145", "152", "155", "156", "162",
    "165", "172", "174", "205", "212", "223", "225", "226", "243", "244", "245", "246", "251", "252", "255",
    "261", "263", "265", "266", "271", "274", "306", "311", "315", "325", "331", "332", "343", "346", "351",
    "356", "364", "365", "371", "411", "412", "413", "423", "431", "432", "445", "446", "452", "454", "455",
    "462", "464", "465", "466", "503", "506", "516", "523", "526", "532", "546", "565", "606", "612", "624",
    "627", "631", "632", "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754"};

constexpr Slot MakeSlot(std::string_view prefix, std::string_view text, std::string_view suffix)
{
    Slot slot{};
    std::size_t at = 0;
    for (std::string_view part : {prefix, text, suffix})
        for (char c : part)
            slot[at++] = c;
    return slot;
}

template <std::size_t N>
constexpr std::array<Slot, N> MakeList(const std::array<std::string_view, N>& texts, std::string_view prefix,
                                       std::string_view suffix)
{
    std::array<Slot, N> list{};
    for (std::size_t i = 0; i < N; ++i)
        list[i] = MakeSlot(prefix, texts[i], suffix);
    return list;
}

} // namespace

const std::array<Slot, kCtcssCount> g_ctcss = MakeList(kCtcssTones, "", "");
const std::array<Slot, kDcsCount> g_dcsNormal = MakeList(kDcsCodes, "D", "N");
const std::array<Slot, kDcsCount> g_dcsInverted = MakeList(kDcsCodes, "D", "I");

int IndexFromCode(ToneCode code)
{
    if (code.byte < kFirstDcsNormal)
        return code.byte;
    if (code.byte < kFirstDcsInverted)
        return code.inverted ? code.byte + kDcsCount : code.byte;
    // The radio reads 155 as the first inverted code; anything above is off.
    return code.byte == kFirstDcsInverted ? kFirstDcsInverted : 0;
}

ToneCode CodeFromIndex(int index)
{
    if (index < 0 || index >= kCount)
        return {};
    if (index >= kFirstDcsInverted)
        return {static_cast<std::uint8_t>(index - kDcsCount), true};
    return {static_cast<std::uint8_t>(index), false};
}

std::string Text(int index)
{
    const auto slotText = [](const Slot& slot) { return std::string(slot.data()); };
    if (index >= kFirstCtcss && index < kFirstDcsNormal)
        return slotText(g_ctcss[static_cast<std::size_t>(index - kFirstCtcss)]);
    if (index >= kFirstDcsNormal && index < kFirstDcsInverted)
        return slotText(g_dcsNormal[static_cast<std::size_t>(index - kFirstDcsNormal)]);
    if (index >= kFirstDcsInverted && index < kCount)
        return slotText(g_dcsInverted[static_cast<std::size_t>(index - kFirstDcsInverted)]);
    return LoadLangString("IDS_OFF");
}

std::string ReportText(int index)
{
    return index == 0 ? std::string("off") : Text(index);
}

std::vector<std::string> Texts()
{
    std::vector<std::string> texts;
    texts.reserve(kCount);
    for (int i = 0; i < kCount; ++i)
        texts.push_back(Text(i));
    return texts;
}

} // namespace ToneList
