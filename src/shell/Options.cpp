#include "shell/Options.h"

#include "machine/Log.h"
#include "rules/Levels.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <vector>

using platform::Settings;

namespace Options {

namespace {

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

// A language's code, as a locale is named ("en", "pt_BR"): whether the game has it is known only once
// its translations are looked for.
bool SetLanguage(Settings& s, const QString& value)
{
    static const QRegularExpression code(QStringLiteral("^[a-z]{2,3}([_-][a-z0-9]{2,8})*$"));
    if (!code.match(value).hasMatch()) return false;
    s.language = value;
    return true;
}

bool SetLevel(Settings& s, const QString& value)
{
    const int level = value.toInt();
    if (value == QLatin1String("auto"))
        s.level = rules::AutoLevel;
    else if (level >= rules::EasiestLevel && level <= rules::HardestLevel && value == QString::number(level))
        s.level = level;
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

// One setting a grown-up can give: --option on the command line (a flag, or --option=VALUE) and
// key=value in merendella.conf. All the program says of its options comes from this table: --help,
// the refusal of a bad option, the warnings about a file. A new option is a line here, a field of
// Settings, and its lines in the README, the example merendella.conf and the manual page (a test
// checks those three).
struct Option {
    const char* option;    // on the command line
    const char* key;       // in the files
    const char* flag;      // what the flag sets the key to; null: the option takes a value
    const char* values;    // what the key takes, in short: "torte|figurine", "SECONDS"
    const char* takes;     // the same in words, for a refusal
    const char* byDefault; // what holds when it is not given
    const char* help;
    bool (*set)(Settings&, const QString& value); // false: not a value it takes
};

constexpr Option Table[] = {
    {"game", "game", nullptr, "torte|figurine", "torte or figurine", "the title",
     "Start straight in a game, not on the title.", SetGame},
    {"mute", "mute", "true", "true|false", "true or false", "false", "Start silent (M turns the sound on).",
     SetTruth<&Settings::mute>},
    {"no-voice", "voice", "false", "true|false", "true or false", "true", "Sounds, but no voice.",
     SetTruth<&Settings::voice>},
    {"no-hints", "hints", "false", "true|false", "true or false", "true", "No help on request.",
     SetTruth<&Settings::hints>},
    {"kiosk", "kiosk", "true", "true|false", "true or false", "false", "Classroom mode: the child cannot end the game.",
     SetTruth<&Settings::kiosk>},
    {"scan", "scan", nullptr, "SECONDS", "a number of seconds from 0 to 60", "no scanning",
     "Switch scanning, a step every SECONDS (0 to 60; 0: a second switch).", SetScan},
    {"level", "level", nullptr, "1|2|3|4|auto", "1, 2, 3, 4 or auto", "4",
     "How hard: a deal 1, 2 or 3 swaps from the end, or 4, the full puzzle; auto follows the child.", SetLevel},
    {"totals", "totals", "true", "true|false", "true or false", "false", "Each child's total shown beside them.",
     SetTruth<&Settings::totals>},
    {"language", "language", nullptr, "CODE", "a language code such as en or de", "the desktop's",
     "Show and speak this language (it, en, fr, es or de), not the desktop's.", SetLanguage},
};

const Option* FindKey(const QString& key)
{
    for (const Option& o : Table)
        if (key == QLatin1String(o.key)) return &o;
    return nullptr;
}

// "a, b and c"
QString Listed(const QStringList& items)
{
    return items.size() < 2
               ? items.join(QString())
               : items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + items.last();
}

QString ValidOptions()
{
    QStringList options{QStringLiteral("--help"), QStringLiteral("--version")};
    for (const Option& o : Table)
        options << QStringLiteral("--%1%2").arg(QLatin1String(o.option),
                                                o.flag ? QString() : QLatin1Char('=') + QLatin1String(o.values));
    return QStringLiteral("the options are ") + Listed(options);
}

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
        const QString value = file.value(name).toString();
        if (const Option* o = FindKey(name); !o) {
            QStringList keys;
            for (const Option& known : Table) keys << QLatin1String(known.key);
            qCWarning(lcStart, "%s: unknown key %s; the keys are %s", qUtf8Printable(path), qUtf8Printable(name),
                      qUtf8Printable(Listed(keys)));
        } else if (!o->set(settings, value.toLower())) {
            qCWarning(lcStart, "%s: %s=%s is not %s; it is ignored", qUtf8Printable(path), o->key,
                      qUtf8Printable(value), o->takes);
        }
    }
}

// The files' settings over the defaults. The first folder listed wins: read last. The user's comes
// first in the list, and wins over all.
Settings FromFiles()
{
    Settings settings;
    const QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    for (auto folder = folders.crbegin(); folder != folders.crend(); ++folder)
        ReadFile(QDir(*folder).filePath(QStringLiteral("merendella/merendella.conf")), settings);
    return settings;
}

} // namespace

std::variant<Settings, Exit> Read(const QStringList& arguments)
{
    if (arguments.size() <= 1) return FromFiles(); // nothing to parse, as a child's start usually is
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A puzzle game for young children, in Italian and in the desktop's language.\n"
                       "The same settings are read from merendella/merendella.conf in each folder\n"
                       "of $XDG_CONFIG_DIRS (/etc/xdg), then in $XDG_CONFIG_HOME (~/.config);\n"
                       "the command line wins over both. Each option's key in the files is in [ ].\n"
                       "In classroom mode a grown-up ends the game with Ctrl+Shift+Q."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version."));
    parser.addOptions({help, version});
    std::vector<QCommandLineOption> options;
    for (const Option& o : Table) {
        const QString help =
            QStringLiteral("%1\n[%2=%3; default %4]")
                .arg(QLatin1String(o.help), QLatin1String(o.key), QLatin1String(o.values), QLatin1String(o.byDefault));
        options.emplace_back(QLatin1String(o.option), help, o.flag ? QString() : QLatin1String(o.values));
        parser.addOption(options.back());
    }
    const auto refuse = [](const QString& what, const QString& valid = ValidOptions()) {
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

    Settings settings = FromFiles();
    for (std::size_t i = 0; i < std::size(Table); ++i) {
        const Option& o = Table[i];
        const QString value = o.flag ? QLatin1String(o.flag) : parser.value(options[i]);
        if (parser.isSet(options[i]) && !o.set(settings, value.toLower()))
            return refuse(QStringLiteral("bad value --%1=%2").arg(QLatin1String(o.option), value),
                          QStringLiteral("it takes ") + QLatin1String(o.takes));
    }
    return settings;
}

} // namespace Options
