#include "i18n/QtTranslations.h"

#include "i18n/LanguageLocale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

QLocale LanguageLocale()
{
    const std::string name = LanguageLocaleName();
    return name.empty() ? QLocale::c() : QLocale(QString::fromStdString(name));
}

void LoadQtTranslations()
{
    // The translator installed before leaves the application as it is destroyed here.
    static std::unique_ptr<QTranslator> installed;
    installed = std::make_unique<QTranslator>();
    // "qtbase" holds the texts of the widgets and of the print support.
    if (installed->load(LanguageLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(installed.get());
}
