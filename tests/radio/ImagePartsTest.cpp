// Naming the parts of the memory that skipped read blocks hold.
#include "radio/ImageParts.h"

#include "tests/support/RadioTestEnv.h"

namespace {

using P = ImagePart;

const std::string kTo = "\xE2\x80\x93"; // the dash of a range

std::vector<int> Blocks(int from, int to)
{
    std::vector<int> blocks;
    for (int a = from; a <= to; a += 0x10)
        blocks.push_back(a);
    return blocks;
}

std::string EnglishList(const std::vector<int>& blocks)
{
    std::string text;
    for (const ImagePartSpan& span : PartsOfBlocks(blocks))
        text += (text.empty() ? "" : "; ") + EnglishPartText(span);
    return text;
}

class ImagePartsTest : public CRadioTest
{
};

} // namespace

TEST_F(ImagePartsTest, BlocksAreNamedAsTheTechnicianKnowsThem)
{
    struct Case
    {
        std::vector<int> blocks;
        std::vector<ImagePartSpan> parts;
        std::string english;
    };
    const Case cases[] = {
        {{}, {}, ""},
        {{0x000}, {{P::VfoA, 0, 0}}, "VFO A"},
        {{0x120}, {{P::Channel, 18, 18}}, "channel 18"},
        {Blocks(0x110, 0x180), {{P::Channel, 17, 24}}, "channels 17" + kTo + "24"},
        // Out of order, one channel between them read well.
        {{0x130, 0x110}, {{P::Channel, 17, 17}, {P::Channel, 19, 19}}, "channel 17; channel 19"},
        {Blocks(0x800, 0x820),
         {{P::Channel, 128, 128}, {P::OtherData, 0x810, 0x81F}, {P::VfoB, 0, 0}},
         "channel 128; other data at 0x0810" + kTo + "0x081F; VFO B"},
        {{0x830, 0x840, 0x860},
         {{P::OtherData, 0x830, 0x84F}, {P::OtherData, 0x860, 0x86F}},
         "other data at 0x0830" + kTo + "0x084F; other data at 0x0860" + kTo + "0x086F"},
        {{0x9A0}, {{P::FmPreset, 1, 8}}, "FM presets 1" + kTo + "8"},
        {{0x9A0, 0x9B0}, {{P::FmPreset, 1, 16}}, "FM presets 1" + kTo + "16"},
        // Five-byte names straddle the blocks: channel 4's name lies in both of these.
        {{0xA00}, {{P::ChannelName, 1, 4}}, "names of channels 1" + kTo + "4"},
        {{0xA00, 0xA10}, {{P::ChannelName, 1, 7}}, "names of channels 1" + kTo + "7"},
        {{0xC70, 0xC80},
         {{P::ChannelName, 125, 128}, {P::OtherData, 0xC80, 0xC8F}},
         "names of channels 125" + kTo + "128; other data at 0x0C80" + kTo + "0x0C8F"},
        // Settings, PTT ID code and the FM frequency in use share two blocks; each is named once.
        {{0xD00, 0xD20},
         {{P::FunctionSettings, 0, 0}, {P::FmFrequency, 0, 0}},
         "function settings; FM radio frequency in use"},
        {{0xD20}, {{P::FunctionSettings, 0, 0}}, "function settings"},
        {{0xD30, 0xD40}, {{P::OtherData, 0xD30, 0xD4F}}, "other data at 0x0D30" + kTo + "0x0D4F"},
        {{0xF00}, {{P::FrequencyBand, 0, 0}}, "frequency band"},
        {{0xFE0, 0xFF0},
         {{P::OtherData, 0xFE0, 0xFEF}, {P::Calibration, 0, 0}},
         "other data at 0x0FE0" + kTo + "0x0FEF; calibration values"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PartsOfBlocks(c.blocks), c.parts) << "case " << &c - cases;
        EXPECT_EQ(EnglishList(c.blocks), c.english) << "case " << &c - cases;
    }
}

TEST_F(ImagePartsTest, LanguageFilesNameEveryPart)
{
    const std::vector<int> all = Blocks(0x000, 0xFF0);
    std::string english;
    for (const ImagePartSpan& span : PartsOfBlocks(all))
        english += LangPartText(span) + "\n";
    EXPECT_EQ(english, "VFO A\nChannels 1" + kTo + "128\nOther radio data at 0x0810" + kTo +
                           "0x081F\nVFO B\n"
                           "Other radio data at 0x0830" +
                           kTo + "0x099F\nFM radio presets 1" + kTo +
                           "16\n"
                           "Other radio data at 0x09C0" +
                           kTo + "0x09FF\nNames of channels 1" + kTo +
                           "128\n"
                           "Other radio data at 0x0C80" +
                           kTo +
                           "0x0CFF\nFunction settings\n"
                           "FM radio frequency in use\nOther radio data at 0x0D10" +
                           kTo +
                           "0x0D1F\n"
                           "Other radio data at 0x0D30" +
                           kTo +
                           "0x0EFF\nFrequency band of the radio\n"
                           "Other radio data at 0x0F10" +
                           kTo + "0x0FEF\nCalibration values (test mode)\n");

    UseShippedLanguage("chinese");
    const std::string channel = "\xE4\xBF\xA1\xE9\x81\x93"; // 信道
    EXPECT_EQ(LangPartText({P::Channel, 17, 24}), channel + " 17" + kTo + "24");
    EXPECT_EQ(LangPartText({P::ChannelName, 5, 5}),
              channel + " 5 \xE7\x9A\x84\xE5\x90\x8D\xE7\xA7\xB0"); // 的名称
    EXPECT_EQ(LangPartText({P::FmPreset, 3, 3}).find("%"), std::string::npos);
}
