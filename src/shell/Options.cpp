#include "shell/Options.h"

#include "machine/Log.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

using platform::Settings;

namespace Options {

namespace {

// A key of the files, and the option of the command line that sets it.
struct Key {
    const char* name;
    const char* takes; // for the line that refuses a value
    bool (*set)(Settings&, const QString& value);
};

template <bool Settings::*field> bool SetTruth(Settings& s, const QString& value)
{
    if (value != QLatin1String("true") && value != QLatin1String("false")) return false;
    s.*field = value == QLatin1String("true");
    return true;
}

bool SetGame(Settings& s, const QString& value)
{
    if (value == QLatin1String("torte"))
        s.start = Settings::Start::Tarts;
    else if (value == QLatin1String("figurine"))
        s.start = Settings::Start::Stickers;
    else
        return false;
    return true;
}

bool SetScan(Settings& s, const QString& value)
{
    bool number = false;
    const double seconds = value.toDouble(&number);
    if (!number || !(seconds >= 0 && seconds <= 60)) return false;
    s.scan = seconds;
    return true;
}

constexpr Key Keys[] = {
    {"game", "torte or figurine", SetGame},
    {"mute", "true or false", SetTruth<&Settings::mute>},
    {"voice", "true or false", SetTruth<&Settings::voice>},
    {"hints", "true or false", SetTruth<&Settings::hints>},
    {"kiosk", "true or false", SetTruth<&Settings::kiosk>},
    {"scan", "a number of seconds from 0 to 60", SetScan},
};

const Key* Find(const QString& name)
{
    for (const Key& key : Keys)
        if (name == QLatin1String(key.name)) return &key;
    return nullptr;
}

const QString Valid = QStringLiteral("the options are --help, --version, --game=torte|figurine, --mute, --no-voice, "
                                     "--no-hints, --kiosk and --scan=SECONDS");

void ReadFile(const QString& path, Settings& settings)
{
    if (!QFile::exists(path)) return;
    // Only read: QSettings writes a file back only when a value was set.
    const QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError) {
        qCWarning(lcStart, "%s: cannot be read as an INI file; it is ignored", qUtf8Printable(path));
        return;
    }
    for (const QString& name : file.allKeys()) {
        if (name.startsWith(u'#')) continue; // QSettings takes only ';' for a comment; /etc's files take '#'
        const QString value = file.value(name).toString().toLower();
        if (const Key* key = Find(name); !key)
            qCWarning(lcStart, "%s: unknown key %s; the keys are game, mute, voice, hints, kiosk and scan",
                      qUtf8Printable(path), qUtf8Printable(name));
        else if (!key->set(settings, value))
            qCWarning(lcStart, "%s: %s=%s is not %s; it is ignored", qUtf8Printable(path), key->name,
                      qUtf8Printable(file.value(name).toString()), key->takes);
    }
}

} // namespace

std::variant<Settings, Exit> Read(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A puzzle game for young children, with an Italian interface.\n"
                       "The same settings are read from merendella/merendella.conf in each folder\n"
                       "of $XDG_CONFIG_DIRS (/etc/xdg), then in $XDG_CONFIG_HOME (~/.config);\n"
                       "the command line wins over both.\n"
                       "In classroom mode a grown-up ends the game with Ctrl+Shift+Q."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version."));
    const QCommandLineOption game(QStringLiteral("game"), QStringLiteral("Start straight in a game, not on the title."),
                                  QStringLiteral("torte|figurine"));
    const QCommandLineOption mute(QStringLiteral("mute"), QStringLiteral("Start silent (M turns the sound on)."));
    const QCommandLineOption noVoice(QStringLiteral("no-voice"), QStringLiteral("Sounds, but no voice."));
    const QCommandLineOption noHints(QStringLiteral("no-hints"), QStringLiteral("No help on request."));
    const QCommandLineOption kiosk(QStringLiteral("kiosk"),
                                   QStringLiteral("Classroom mode: the child cannot end the game."));
    const QCommandLineOption scan(QStringLiteral("scan"),
                                  QStringLiteral("Switch scanning, a step every SECONDS (0 to 60; 0: a second "
                                                 "switch)."),
                                  QStringLiteral("SECONDS"));
    parser.addOptions({help, version, game, mute, noVoice, noHints, kiosk, scan});
    const auto refuse = [](const QString& what, const QString& valid = Valid) {
        return Exit{2, QStringLiteral("merendella: %1; %2\n").arg(what, valid)};
    };
    if (!parser.parse(arguments)) return refuse(parser.errorText().chopped(1)); // its own full stop goes
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    if (parser.isSet(help)) { // named as its manual page names it, however it was started
        const QString text = parser.helpText();
        return Exit{0, QStringLiteral("Usage: merendella [options]") + text.mid(text.indexOf(u'\n'))};
    }
    if (parser.isSet(version)) return Exit{0, QStringLiteral("merendella " MERENDELLA_VERSION "\n")};

    Settings settings;
    // The first folder listed wins: read last. The user's comes first in the list, and wins over all.
    const QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    for (auto folder = folders.crbegin(); folder != folders.crend(); ++folder)
        ReadFile(QDir(*folder).filePath(QStringLiteral("merendella/merendella.conf")), settings);

    struct Given {
        const QCommandLineOption& option;
        const char* key;
        QString value;
    };
    const Given given[] = {{game, "game", parser.value(game)},          {mute, "mute", QStringLiteral("true")},
                           {noVoice, "voice", QStringLiteral("false")}, {noHints, "hints", QStringLiteral("false")},
                           {kiosk, "kiosk", QStringLiteral("true")},    {scan, "scan", parser.value(scan)}};
    for (const Given& g : given) {
        const Key& key = *Find(QLatin1String(g.key));
        if (parser.isSet(g.option) && !key.set(settings, g.value.toLower()))
            return refuse(QStringLiteral("bad value --%1=%2").arg(g.option.names().constFirst(), g.value),
                          QStringLiteral("it takes ") + QLatin1String(key.takes));
    }
    return settings;
}

} // namespace Options
