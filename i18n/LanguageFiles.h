#pragma once
// The language files beside the program and the operations that make one of them current.

#include <functional>
#include <string>
#include <vector>

struct LanguageFileEntry
{
    std::string path;  // full path
    std::string title; // file name without ".lang": what the "language" key holds
};

// Regular files "*.lang" of `dir` (extension in any case), sorted by file name without regard to case:
// the listing order.
std::vector<LanguageFileEntry> ListLanguageFiles(const std::string& dir);

// The language files the program offers: those of every folder of LanguageDirs(), where a file of
// the per-user folder hides one of the same name (case-blind) beside the program; listing order.
std::vector<LanguageFileEntry> ListProgramLanguageFiles();

// Value "disp" of section "Face" of a language file (default "-----").
std::string LanguageDisplayName(const std::string& path);

// Whether two paths name the current language file, compared without regard to case.
bool SameLanguagePath(const std::string& a, const std::string& b);

// Makes a language current: g_strLangFile and the "language" key of section "setup". A settings
// file that cannot be written still leaves the language changed for this run.
void MakeLanguageCurrent(const LanguageFileEntry& file);

// The toolbar's next-language command: the file after the current one in listing order, or the
// first when the current one is last or not found; then `applyLanguage`. Nothing happens when the
// program directory holds no language file.
void NextLanguage(const std::function<void()>& applyLanguage);
