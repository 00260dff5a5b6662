#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>

namespace platform {

// The language the game shows and speaks, and its translations, in effect while this lives. The
// game's own come from translations/merendella_<code>.qm beside the program (Italian among them,
// for its plural forms); Qt's own words (the boxes' buttons) from Qt's translations.
class Translations {
public:
    // asked: a language code such as "en" or "de_CH", or empty for the desktop's languages in their
    // order (QLocale::uiLanguages(): LANGUAGE, LC_MESSAGES, LANG). A language asked for that has no
    // translation is named in one line and ignored; with no match at all the game speaks Italian.
    Translations(const QString& asked, const QString& folder);
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    QLocale Language() const { return language_; }
    // Qt's own words in the language (the buttons of the boxes), read when first needed: no screen
    // shows them before its first box.
    void LoadQtWords();

private:
    QTranslator game_, qt_;
    QLocale language_{QLocale::Italian, QLocale::Italy};
    bool qtWords_ = false; // looked for
};

} // namespace platform
