#pragma once
// The locale a language file is written for. The file names it in section "Face", key "lcid", by
// its Windows language identifier: 2052 Chinese as used in mainland China, 1033 English (US).

#include <string>

// The locale name ("zh_CN") of a language identifier; empty for one not known here.
std::string LocaleNameOfLcid(int lcid);

// The locale of the current language file; empty when the file names none (or one not known).
std::string LanguageLocaleName();
