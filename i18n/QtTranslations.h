#pragma once
// Qt's own texts (file, print and preview dialogs, context menus) in the language of the current
// language file, from the translations installed with Qt.

#include <QLocale>

// The locale of the current language file; the C locale (Qt's built-in English) when it names none.
QLocale LanguageLocale();

// Installs Qt's translations for LanguageLocale() in place of the ones installed before; Qt's texts
// stay English where it has none for that language.
void LoadQtTranslations();
