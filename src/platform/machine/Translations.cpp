#include "machine/Translations.h"

#include "machine/Log.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <utility>

namespace platform {

Translations::Translations(const QString& asked, const QString& folder)
{
    const QString dir = folder + QStringLiteral("/translations");
    const auto load = [&](const QLocale& locale) {
        return game_.load(locale, QStringLiteral("merendella"), QStringLiteral("_"), dir);
    };
    bool loaded = !asked.isEmpty() && load(QLocale(asked));
    if (!asked.isEmpty() && !loaded)
        qCWarning(lcStart, "no translation for the language %s: it is ignored", qUtf8Printable(asked));
    // The desktop's languages in their order, else the game's own.
    loaded = loaded || load(QLocale::system()) || load(language_);
    if (!loaded) {
        qCWarning(lcStart, "no translations in %s: the game speaks Italian", qUtf8Printable(dir));
        return;
    }
    language_ = QLocale(game_.language());
    QCoreApplication::installTranslator(&game_);
}

void Translations::LoadQtWords()
{
    if (std::exchange(qtWords_, true)) return;
    const QString qtDir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (qt_.load(language_, QStringLiteral("qtbase"), QStringLiteral("_"), qtDir))
        QCoreApplication::installTranslator(&qt_);
    else if (language_.language() != QLocale::English)
        qCWarning(lcStart, "the boxes' buttons stay in English: Qt's %s translation is not in %s",
                  qUtf8Printable(QLocale::languageToString(language_.language())), qUtf8Printable(qtDir));
}

Translations::~Translations()
{
    QCoreApplication::removeTranslator(&qt_);
    QCoreApplication::removeTranslator(&game_);
}

} // namespace platform
