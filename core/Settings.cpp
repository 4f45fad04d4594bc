#include "Settings.h"
#include "Globals.h"

#include "Profile.h"
#include "Vb.h"
#include "VbError.h"

#include <QRegularExpression>
#include <QStringList>

QString ReadIni(const QString& section, const QString& key, const QString& defaultValue, const QString& file)
{
    QString value;
    if (Profile::GetString(section, key, QString(), value, 255, file) != 0)
        return value;
    if (!defaultValue.isEmpty())
        WriteIni(section, key, defaultValue, file);
    return defaultValue;
}

bool WriteIni(const QString& section, const QString& key, const QString& value, const QString& file)
{
    return Profile::WriteString(section, key, value, file);
}

namespace {

const QString LocalMachine = QStringLiteral("localhost");

// A value that would end its entry early is braced, with any closing brace doubled.
QString connectionValue(const QString& value)
{
    if (!value.contains(';') && !value.contains('}') && !value.startsWith('{'))
        return value;
    return "{" + QString(value).replace("}", "}}") + "}";
}

QString systemKey(const QString& key, const QString& defaultValue = {})
{
    return ReadIni("System", key, defaultValue, IniFile);
}

// Splits "a&b" into its two court numbers; false for a pair that cannot be read.
bool splitPair(const QString& pair, int& master, int& dependent)
{
    const QStringList parts = pair.split('&');
    if (parts.size() != 2 || !Vb::IsNumeric(parts[0]) || !Vb::IsNumeric(parts[1]))
        return false;
    master = static_cast<int>(Vb::Val(parts[0]));
    dependent = static_cast<int>(Vb::Val(parts[1]));
    return true;
}

} // namespace

QString BuildConnectionString(const QString& server, const QString& port, const QString& user, const QString& password)
{
    return "DRIVER={MySQL ODBC 3.51 Driver};SERVER=" + connectionValue(server) + ";DATABASE=posdb;PORT=" +
           connectionValue(port) + ";UID=" + connectionValue(user) + ";PWD=" + connectionValue(password) +
           ";OPTION=" + QString::number(18475);
}

namespace {

// What the opening and closing hours must make, for the texts that refuse them.
const QString BusinessDay = QStringLiteral("it runs from the opening hour, 1 to 24, to midnight and on to the closing "
                                           "hour after midnight, which must be earlier than the opening hour.");

// The business day runs from the opening hour to midnight (hour 24), then on through the hours
// after midnight up to the closing hour, all under the business date: at most 24 hour rows, each
// with a slot key of its own. An opening hour of 0 (or less) or above 24, or a closing hour that
// reaches it, gives more rows than the day has, whose hours after midnight take the keys of the
// morning's.
void checkBusinessHours(int opening, int closing)
{
    if (opening >= 1 && opening <= 24 && closing < opening)
        return;
    throw VbError(VbErrors::InvalidArgument, "Pallowin",
                  "The opening hour (hour_start=" + QString::number(opening) + ") and the closing hour (hour_end=" +
                      QString::number(closing) + ") in [System] of " + IniFile + " do not make a business day: " +
                      BusinessDay);
}

// An opening or closing hour as a number. A text that is none (the default a first start writes,
// "StartOfWorkingHour", among them) stops the start with the conversion's error, told with both keys
// rather than as "Type mismatch" alone.
int hourSetting(const QString& key, const QString& defaultValue, const QString& hour)
{
    const QString text = systemKey(key, defaultValue);
    try {
        return Vb::CInt(text);
    } catch (const VbError& e) {
        throw VbError(e.number(), "Pallowin",
                      "The " + hour + " (" + key + "=" + text + ") in [System] of " + IniFile +
                          " is not an hour. The opening hour (hour_start) and the closing hour (hour_end) make the "
                          "business day: " + BusinessDay);
    }
}

// A station setting as written, and its value when that is a whole number a station number can take
// (the suffix of the station's tables), else 0: rounding 1.5 would make this station another one.
struct StationSetting {
    QString text;
    int value = 0;
};
StationSetting stationSetting(const QString& key)
{
    // Only a missing key takes the default: one left empty on a new PC would make it another station
    // 1, sharing that station's journal and shift.
    const bool present = Profile::HasKey("System", key, IniFile);
    StationSetting setting{ReadIni("System", key, present ? QString() : QStringLiteral("1"), IniFile).trimmed()};
    static const QRegularExpression wholeNumber("^[0-9]{1,5}$");
    if (wholeNumber.match(setting.text).hasMatch() && setting.text.toInt() <= 32767)
        setting.value = setting.text.toInt();
    return setting;
}

// The station's number and the number of stations come from its settings file, both 1 when missing.
void readStationNumbers()
{
    const StationSetting number = stationSetting("counter_number");
    const StationSetting count = stationSetting("counter_count");
    if (count.value < 1 || number.value < 1 || number.value > count.value)
        throw VbError(VbErrors::InvalidArgument, "Pallowin",
                      "The station number (counter_number=" + number.text +
                          ") and the number of stations (counter_count=" + count.text + ") in [System] of " + IniFile +
                          " must be whole numbers from 1, the station number no greater than the number of stations.");
    CounterNumber = number.value;
    ShownCounter = number.value;
    CounterCount = count.value;
}

} // namespace

void CheckSettingsFile()
{
    const QString failure = Profile::UnreadableReason(IniFile);
    if (!failure.isEmpty())
        throw VbError(VbErrors::PathFileAccess, "Pallowin",
                      "The settings file " + Profile::PathOf(IniFile) + " exists but cannot be read (" + failure +
                          "). Nothing was written into it; the station starts once the file can be read.");
}

void LoadSettings()
{
    // A second load after a hand-over must leave nothing of the first one behind.
    CourtNames.fill(QString());
    SharedCourtPairs.fill(QString());
    CourtDisplayNames.fill(QString());

    FrontPictureFile = systemKey("picture_front", "picture_front");
    LogoPictureFile = systemKey("picture_logo", "picture_logo");
    HourStart = hourSetting("hour_start", "StartOfWorkingHour", "opening hour");
    HourEnd = hourSetting("hour_end", "EndOfWorkingHour", "closing hour");
    checkBusinessHours(HourStart, HourEnd);
    SpecialGroupCount = SpecialGroupLimit;

    DatabaseServer = systemKey("database_server", LocalMachine);
    DatabasePort = systemKey("database_port", "3306");
    DatabaseUser = systemKey("database_user");
    DatabasePassword = systemKey("database_password");
    WebServerHost = systemKey("webserver", LocalMachine);

    DrawerCommPort = Vb::CInt(systemKey("cashdrawercommport", "2"));
    DrawerCommand = Profile::Encoded(systemKey("cashdrawercommand"), IniFile);
    DrawerCommSettings = systemKey("cashdrawercomm");

    ConnectionString = BuildConnectionString(DatabaseServer, DatabasePort, DatabaseUser, DatabasePassword);

    const int highest = std::min(LastCourtIndex, MaxCourts - 1);
    for (int i = 0; i <= highest; ++i) {
        const QString key = "pitch" + QString::number(i);
        CourtNames[i] = systemKey(key);
        if (CourtNames[i].isEmpty() || CourtNames[i] == key) {
            CourtNames[i].clear();
            LastCourtIndex = i - 1;
            break;
        }
    }

    for (int i = 0; i <= LastCourtIndex; ++i) {
        const QString key = "Shared" + QString::number(i);
        SharedCourtPairs[i] = ReadIni("Shared", key, QString(), IniFile);
        if (SharedCourtPairs[i].isEmpty() || SharedCourtPairs[i] == key) {
            SharedCourtPairs[i].clear();
            break;
        }
    }

    for (int i = 0; i <= LastCourtIndex; ++i)
        CourtDisplayNames[i] = systemKey("display" + QString::number(i), "pitch" + QString::number(i));

    PasteFromWaitList = false;
}

std::array<int, 16> GetSharedCourts(int court)
{
    std::array<int, 16> result;
    result.fill(-1);
    size_t k = 0;
    for (const QString& pair : SharedCourtPairs) {
        if (pair.isEmpty())
            break;
        int master = 0, dependent = 0;
        if (splitPair(pair, master, dependent) && master == court && k < result.size())
            result[k++] = dependent;
    }
    return result;
}

std::vector<int> DependentCourts(int court)
{
    std::vector<int> courts;
    for (int shared : GetSharedCourts(court)) {
        if (shared == -1)
            break;
        courts.push_back(shared);
    }
    return courts;
}

int GetSharedMaster(int court)
{
    for (const QString& pair : SharedCourtPairs) {
        if (pair.isEmpty())
            break;
        int master = 0, dependent = 0;
        if (splitPair(pair, master, dependent) && dependent == court)
            return master;
    }
    return -1;
}

void ReadStationSettings()
{
    CheckSettingsFile();
    LastCourtIndex = MaxCourts - 1;
    LastCourtTypeIndex = Vb::CInt(Vb::Val(ReadIni("System", "CourtType", "1", IniFile)) - 1);
    readStationNumbers();
    LoadSettings();
}
