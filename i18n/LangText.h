#pragma once
// Text lookup in the current language file (g_strLangFile), read again on every call.

#include <string>
#include <vector>

// Section "String", buffer 1000, default "Not Found"; then "\n" and "\t" escapes, in that order.
std::string LoadLangString(const std::string& key);

// Any value of the current language file (no escapes), e.g. "Face"/"disp" with default "-----".
std::string LoadLangValue(const std::string& section, const std::string& key, const std::string& def,
                          std::size_t bufSize);

// An option section: keys "0", "1", ... (buffer 30) until the first missing or empty key.
std::vector<std::string> LoadOptionList(const std::string& section);

// "ChText" / "RadiogramText" headers: `count` keys "<prefix>0".."<prefix>count-1" (buffer 30);
// a missing key repeats the header before it (empty for the first).
std::vector<std::string> LoadHeaderTexts(const std::string& section, const std::string& prefix, int count);

// Puts `a1` and `a2` into a text in place of %1 and %2, the placeholders of the language files.
std::string FillPlaceholders(const std::string& templ, const std::string& a1, const std::string& a2 = {});
