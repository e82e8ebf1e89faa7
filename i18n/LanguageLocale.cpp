#include "i18n/LanguageLocale.h"

#include "app/AppPaths.h"
#include "i18n/Profile.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// Languages with translations of Qt's own texts, and a few more; sorted by identifier.
constexpr std::pair<int, const char*> kLocales[] = {
    {1025, "ar_SA"}, {1026, "bg_BG"}, {1027, "ca_ES"}, {1028, "zh_TW"}, {1029, "cs_CZ"}, {1030, "da_DK"},
    {1031, "de_DE"}, {1032, "el_GR"}, {1033, "en_US"}, {1034, "es_ES"}, {1035, "fi_FI"}, {1036, "fr_FR"},
    {1037, "he_IL"}, {1038, "hu_HU"}, {1040, "it_IT"}, {1041, "ja_JP"}, {1042, "ko_KR"}, {1043, "nl_NL"},
    {1044, "nb_NO"}, {1045, "pl_PL"}, {1046, "pt_BR"}, {1049, "ru_RU"}, {1050, "hr_HR"}, {1051, "sk_SK"},
    {1053, "sv_SE"}, {1055, "tr_TR"}, {1058, "uk_UA"}, {1060, "sl_SI"}, {1062, "lv_LV"}, {1063, "lt_LT"},
    {1065, "fa_IR"}, {1066, "vi_VN"}, {1110, "gl_ES"}, {1169, "gd_GB"}, {2052, "zh_CN"}, {2057, "en_GB"},
    {2068, "nn_NO"}, {2070, "pt_PT"}, {3076, "zh_HK"}, {3082, "es_ES"}, {4100, "zh_SG"},
};

} // namespace

std::string LocaleNameOfLcid(int lcid)
{
    const auto* it = std::lower_bound(std::begin(kLocales), std::end(kLocales), lcid,
                                      [](const auto& entry, int id) { return entry.first < id; });
    return it != std::end(kLocales) && it->first == lcid ? it->second : "";
}

std::string LanguageLocaleName()
{
    return LocaleNameOfLcid(ReadProfileInt(g_strLangFile, "Face", "lcid", 0));
}
