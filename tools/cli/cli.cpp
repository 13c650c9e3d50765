// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "cli.h"

#include "addresschecks.h"
#include "ansibleinventory.h"
#include "auditlog.h"
#include "deviceformat.h"
#include "devicetext.h"
#include "devicewatch.h"
#include "differenceformat.h"
#include "exitcode.h"
#include "fleet.h"
#include "interruptwatcher.h"
#include "plan.h"
#include "safetext.h"
#include "scantext.h"
#include "snapshot.h"
#include "version.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>

namespace {

constexpr int DefaultWaitMs = 2000;
constexpr int DefaultFlashSeconds = 10;
constexpr int DaySeconds = 24 * 3600;
constexpr int DayMs = DaySeconds * 1000;
const char ProgramName[] = "nesdrix-cli";
const char MacArgumentHelp[]
    = "The device's MAC address: 00:1A:2B:3C:4D:5E, 00-1A-2B-3C-4D-5E or 001a2b3c4d5e.";
const char RestartTip[] = "The devices take their new settings after they restart.";

void printOut(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

void printError(const QString &text)
{
    std::fputs(QStringLiteral("%1: %2\n").arg(ProgramName, text).toUtf8().constData(), stderr);
}

QCommandLineOption waitOption()
{
    return { QStringLiteral("wait-ms"),
        QStringLiteral("Listen for scan replies for <ms> milliseconds after the last scan "
                       "request (default 2000)."),
        QStringLiteral("ms"), QString::number(DefaultWaitMs) };
}

QCommandLineOption triesOption()
{
    return { QStringLiteral("tries"),
        QStringLiteral("Send the scan request <n> times, 1 to %1, spread over the first "
                       "seconds (0, 0.5 s, 1.5 s, then every 2 s), so that a device whose "
                       "datagram was lost answers the next one (default %2).")
            .arg(ScanRun::MaxTries)
            .arg(ScanRun::DefaultTries),
        QStringLiteral("n"), QString::number(ScanRun::DefaultTries) };
}

QCommandLineOption auditOption()
{
    return { QStringLiteral("audit"),
        QStringLiteral("Append a line for every write to <file>, synced to disk line by line "
                       "(default %1; a missing folder is made, private to you). A symbolic "
                       "link is refused.")
            .arg(defaultAuditPath()),
        QStringLiteral("file"), defaultAuditPath() };
}

QCommandLineOption verifyOption()
{
    return { QStringLiteral("verify-after-ms"),
        QStringLiteral("After writing, wait <ms> milliseconds, scan again and report whether "
                       "the devices answer with their new settings (default 0: no check)."),
        QStringLiteral("ms"), QStringLiteral("0") };
}

QCommandLineOption yesOption()
{
    return { QStringLiteral("yes"),
        QStringLiteral("Write. Without it nothing is sent but the scan, and the command "
                       "shows what it would write.") };
}

// Parses a command's own arguments; gives the exit status when the command
// ends here (help shown, or a usage error), nothing when it is to go on.
std::optional<int> parseCommandLine(QCommandLineParser &parser, const QString &command,
    const QStringList &arguments, int positionalCount)
{
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QString usageName = QStringLiteral("%1 %2").arg(ProgramName, command);
    if (!parser.parse(QStringList(usageName) + arguments)) {
        printError(QStringLiteral("%1 (try: %2 --help)").arg(parser.errorText(), usageName));
        return ExitUsage;
    }
    if (parser.isSet(helpOption)) {
        QString help = parser.helpText();
        help.replace(
            0, help.indexOf(QLatin1Char('[')), QStringLiteral("Usage: %1 ").arg(usageName));
        printOut(help);
        return ExitSuccess;
    }
    if (parser.positionalArguments().size() != positionalCount) {
        printError(QStringLiteral("%1 takes %2, %3 given (try: %4 --help)")
                       .arg(command, countText(positionalCount, "argument", "arguments"))
                       .arg(parser.positionalArguments().size())
                       .arg(usageName));
        return ExitUsage;
    }
    return std::nullopt;
}

// A whole number from `minimum` to a day (in the option's unit) from an
// option, or nothing after an error message.
std::optional<int> numberValue(const QCommandLineParser &parser, const QCommandLineOption &option,
    int minimum, int dayInUnits = DayMs)
{
    const QString text = parser.value(option);
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok && value >= minimum && value <= dayInUnits)
        return value;
    printError(QStringLiteral("--%1 needs a whole number from %2 to %3, not \"%4\"")
                   .arg(option.names().constFirst())
                   .arg(minimum)
                   .arg(dayInUnits)
                   .arg(text));
    return std::nullopt;
}

// How long a scan listens after its last try (--wait-ms) and how many tries
// it sends (--tries): the same for every command that scans.
struct ScanTiming
{
    int waitMs = 0;
    int tries = 1;
};

std::optional<ScanTiming> scanTiming(const QCommandLineParser &parser,
    const QCommandLineOption &wait, const QCommandLineOption &tries)
{
    const std::optional<int> waitMs = numberValue(parser, wait, 0);
    const std::optional<int> scanTries = numberValue(parser, tries, 1, ScanRun::MaxTries);
    if (!waitMs || !scanTries)
        return std::nullopt;
    return ScanTiming { *waitMs, *scanTries };
}

// The MAC argument, or nothing after the device dialog's message.
std::optional<MacAddress> macArgument(const QCommandLineParser &parser)
{
    const QString text = parser.positionalArguments().constFirst();
    if (const std::optional<MacAddress> mac = MacAddress::fromText(text))
        return mac;
    printError(
        QStringLiteral("%1 \"%2\"")
            .arg(settingsFieldErrorText(SettingsFault::Mac), boundedText(neutralizedText(text))));
    return std::nullopt;
}

// What a command's one scan found, or the exit status when it ends there.
struct Scan
{
    QVector<DeviceRecord> devices;
    int failure = ExitSuccess;
    // flash and set: the one device that answered with the MAC.
    DeviceRecord device;
};

// The scan's devices, with a warning when more answered than a scan lists.
QVector<DeviceRecord> scanAndWarn(Fleet &fleet, int waitMs)
{
    const QVector<DeviceRecord> devices = fleet.scan(waitMs);
    const DeviceListModel &listed = fleet.listedDevices();
    if (listed.leftOutCount() > 0)
        printError(QStringLiteral("warning: %1 more were left out: a scan lists at most %2 devices")
                       .arg(countText(listed.leftOutCount(), "reply", "replies"))
                       .arg(listed.maxListed()));
    return devices;
}

// Why no copy of the scan could be sent: no adapter, or each adapter's reason.
QString scanFailureText(const ScanReport &report)
{
    if (report.noAdapter())
        return QStringLiteral("no network adapter is up to scan on: connect a cable or bring "
                              "an adapter up, then try again");
    QStringList reasons;
    for (const ScanAdapter &adapter : report.adapters)
        reasons << QStringLiteral("%1: %2").arg(adapter.name, adapter.error);
    return QStringLiteral("the scan could not be sent on any adapter (%1)")
        .arg(reasons.join(QStringLiteral("; ")));
}

// " via plant": the adapter that heard the device, when known.
QString viaText(const DeviceRecord &device)
{
    const QString adapter = adapterName(device.interfaceIndex);
    return adapter.isEmpty() ? QString() : QStringLiteral(" via %1").arg(adapter);
}

// Where the scan went and what to check when nothing answered it.
QString noAnswerText(const ScanReport &report, int waitMs)
{
    return QStringLiteral(
        "no device answered within %1 ms on %2: check the cable and the VLAN, that a "
        "firewall lets UDP port 102 in, and that reverse-path filtering (rp_filter) does "
        "not drop replies from other subnets; the README's \"When nothing answers\" "
        "explains each, then try --wait-ms 5000")
        .arg(waitMs)
        .arg(scannedAdaptersText(report));
}

Scan openAndScan(Fleet &fleet, const InterruptWatcher &watcher, const ScanTiming &timing)
{
    fleet.setScanTries(timing.tries);
    if (!fleet.open()) {
        printError(bindFailureText(fleet.bindErrorString(), fleet.bindAdvice()));
        Scan failed;
        failed.failure = ExitPortUnavailable;
        return failed;
    }
    Scan scan;
    scan.devices = scanAndWarn(fleet, timing.waitMs);
    if (!fleet.lastScan().anySent()) {
        printError(scanFailureText(fleet.lastScan()));
        scan.failure = ExitSendFailed;
    } else if (watcher.isInterrupted()) {
        scan.failure = ExitInterrupted;
    }
    return scan;
}

// The one device that answered with the MAC, or nothing after a message.
std::optional<DeviceRecord> soleDevice(const QVector<DeviceRecord> &devices, MacAddress mac)
{
    const QVector<DeviceRecord> found = devicesWithMac(devices, mac);
    if (found.size() == 1)
        return found.constFirst();
    if (found.isEmpty())
        printError(QStringLiteral("MAC %1 did not answer the scan: check the MAC against "
                                  "\"%2 scan\", which lists every device that answers")
                       .arg(mac.toString(), ProgramName));
    else
        printError(QStringLiteral("MAC %1 answered %2 times; it cannot be told apart")
                       .arg(mac.toString())
                       .arg(found.size()));
    return std::nullopt;
}

Scan openAndFind(
    Fleet &fleet, const InterruptWatcher &watcher, const ScanTiming &timing, MacAddress mac)
{
    Scan scan = openAndScan(fleet, watcher, timing);
    if (scan.failure != ExitSuccess)
        return scan;
    if (const std::optional<DeviceRecord> device = soleDevice(scan.devices, mac))
        scan.device = *device;
    else
        scan.failure = ExitDeviceNotFound;
    return scan;
}

bool openAudit(AuditLog &audit)
{
    if (audit.open()) {
        const QStringList missing = audit.missingColumns();
        if (!missing.isEmpty())
            printError(QStringLiteral("warning: the audit log %1 was begun by an earlier version "
                                      "and has no %2 column, so the lines added to it leave that "
                                      "out; move it aside and the next write begins a new log "
                                      "with every column")
                           .arg(audit.path(), missing.join(QStringLiteral(", "))));
        return true;
    }
    printError(QStringLiteral("cannot open the audit log %1: %2 (nothing written)")
                   .arg(audit.path(), audit.errorString()));
    return false;
}

// Sends the write and records it, also when it could not be sent; gives the
// exit status when the run stops here. A write the log could not take is
// printed in full so that it is recorded somewhere.
std::optional<int> writeAndRecord(Fleet &fleet, AuditLog &audit, const DeviceRecord &device,
    const PlanEntry &target, const QString &addressCheck)
{
    const bool sent = fleet.write(device, target);
    const QString outcome = sent ? QStringLiteral("sent")
                                 : QStringLiteral("send failed: %1").arg(fleet.sendErrorString());
    if (!audit.record(device, target, outcome, addressCheck)) {
        printError(QStringLiteral("the audit log %1 could not take this write, stopping: %2 (%3)")
                       .arg(audit.path(), changeText(device, target), audit.errorString()));
        return ExitAuditFailed;
    }
    if (sent)
        return std::nullopt;
    printError(QStringLiteral("the write could not be sent, stopping: %1 (%2); check the cable "
                              "and the adapter, then try again")
                   .arg(changeText(device, target), fleet.sendErrorString()));
    return ExitSendFailed;
}

// The format of a file to save a list to, by its ending (.csv or .json), or
// nothing after an error message.
std::optional<OutputFormat> saveFormat(const QString &path)
{
    const QString ending = QFileInfo(path).suffix().toLower();
    const std::optional<OutputFormat> format = outputFormatFromText(ending);
    if (format && format != OutputFormat::Table)
        return format;
    printError(QStringLiteral("--save needs a file name ending in .csv or .json, not \"%1\"")
                   .arg(boundedText(neutralizedText(path))));
    return std::nullopt;
}

bool saveDevices(const DeviceListModel &devices, const QString &path, OutputFormat format)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(formatDevices(devices, format).toUtf8()) >= 0
        && file.commit())
        return true;
    printError(QStringLiteral("cannot save the list to %1: %2").arg(path, file.errorString()));
    return false;
}

// Saved lists compared: diff, scan --compare and watch.

QCommandLineOption compareOption()
{
    return { QStringLiteral("compare"),
        QStringLiteral("Compare the devices that answer with the saved list <file> (the CSV of "
                       "Export List or scan --format csv, or the JSON of scan --format json) "
                       "and print what differs, as diff does; --format then takes text or "
                       "json."),
        QStringLiteral("file") };
}

// text or json; --format's default, table, counts as text.
std::optional<bool> jsonFormat(const QCommandLineParser &parser, const QCommandLineOption &format)
{
    const QString text = parser.value(format);
    if (text == QLatin1String("json"))
        return true;
    if (text == QLatin1String("text") || text == QLatin1String("table"))
        return false;
    printError(QStringLiteral("--format takes text or json here, not \"%1\"")
                   .arg(boundedText(neutralizedText(text))));
    return std::nullopt;
}

std::optional<Snapshot> savedList(const QString &path)
{
    QString error;
    std::optional<Snapshot> list = readSnapshotFile(path, &error);
    if (!list)
        printError(QStringLiteral("cannot compare: %1").arg(error));
    return list;
}

int printDifferences(const Snapshot &oldList, const Snapshot &newList, bool json)
{
    const QVector<DeviceDifference> differences = compareSnapshots(oldList, newList);
    printOut(json ? differencesJson(differences) : differencesText(differences));
    return differences.isEmpty() ? ExitSuccess : ExitDifferencesFound;
}

int diffCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Compares two saved device lists (the CSV of Export List or scan --format csv, or the "
        "JSON of scan --format json) device by device, by MAC, and prints one line per "
        "difference: new MAC NAME IP, missing MAC NAME IP, changed MAC NAME: FIELD OLD -> NEW, "
        "..., and duplicate for a MAC listed more than once. Sends nothing. Exit status 0: the "
        "lists are the same; 9: they differ; 1: a list could not be read."));
    parser.addPositionalArgument(QStringLiteral("OLD"), QStringLiteral("The earlier list."));
    parser.addPositionalArgument(QStringLiteral("NEW"), QStringLiteral("The later list."));
    const QCommandLineOption format(QStringLiteral("format"),
        QStringLiteral("text (default) or json."), QStringLiteral("format"),
        QStringLiteral("text"));
    parser.addOption(format);
    if (const std::optional<int> status
        = parseCommandLine(parser, QStringLiteral("diff"), arguments, 2))
        return *status;
    const std::optional<bool> json = jsonFormat(parser, format);
    if (!json)
        return ExitUsage;
    const std::optional<Snapshot> oldList = savedList(parser.positionalArguments().at(0));
    const std::optional<Snapshot> newList = savedList(parser.positionalArguments().at(1));
    if (!oldList || !newList)
        return ExitUsage;
    return printDifferences(*oldList, *newList, *json);
}

int watchCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Scans again and again and prints one line per event, after its time (ISO 8601, UTC): "
        "appeared MAC NAME IP, changed MAC NAME: FIELD OLD -> NEW, ..., gone MAC NAME IP. "
        "A device is gone only after it missed two scans in a row. The first scan reports "
        "every device as appeared. Ctrl-C ends it (exit status 0); a scan that cannot be sent "
        "ends it with status 8."));
    const QCommandLineOption wait = waitOption();
    const QCommandLineOption interval(QStringLiteral("interval-ms"),
        QStringLiteral("Start a scan every <ms> milliseconds (default 10000), or as soon as "
                       "the last one ended when it listens longer."),
        QStringLiteral("ms"), QStringLiteral("10000"));
    const QCommandLineOption format(QStringLiteral("format"),
        QStringLiteral("text (default), or json: one JSON object a line, with \"time\", "
                       "\"event\", \"mac\" and the \"old\" and \"new\" device."),
        QStringLiteral("format"), QStringLiteral("text"));
    const QCommandLineOption tries = triesOption();
    parser.addOptions({ wait, tries, interval, format });
    if (const std::optional<int> status
        = parseCommandLine(parser, QStringLiteral("watch"), arguments, 0))
        return *status;
    const std::optional<ScanTiming> timing = scanTiming(parser, wait, tries);
    const std::optional<int> intervalMs = numberValue(parser, interval, 100);
    const std::optional<bool> json = jsonFormat(parser, format);
    if (!timing || !intervalMs || !json)
        return ExitUsage;

    InterruptWatcher watcher;
    Fleet fleet(&watcher);
    fleet.setScanTries(timing->tries);
    if (!fleet.open()) {
        printError(bindFailureText(fleet.bindErrorString(), fleet.bindAdvice()));
        return ExitPortUnavailable;
    }
    DeviceWatch devices;
    QElapsedTimer sinceScan;
    do {
        sinceScan.start();
        const QVector<DeviceRecord> heard = scanAndWarn(fleet, timing->waitMs);
        if (!fleet.lastScan().anySent()) {
            printError(scanFailureText(fleet.lastScan()));
            return ExitSendFailed;
        }
        // A scan cut short by Ctrl-C would report every device not heard yet.
        if (watcher.isInterrupted())
            break;
        const QDateTime now = QDateTime::currentDateTimeUtc();
        QString events;
        for (const DeviceDifference &event : devices.takeScan(heard))
            events += watchEventLine(now, event, *json) + QLatin1Char('\n');
        printOut(events);
    } while (fleet.pause(int(qMax<qint64>(0, *intervalMs - sinceScan.elapsed()))));
    return ExitSuccess;
}

int scanCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Broadcasts the scan request (three times by default) and lists every device that "
        "answers, one a line, once however often it answers. Devices that share a MAC or IP "
        "address are flagged in the Duplicate column. With no device, json prints [] and csv "
        "its header line."));
    const QCommandLineOption wait = waitOption();
    const QCommandLineOption tries = triesOption();
    const QCommandLineOption format(QStringLiteral("format"),
        QStringLiteral("table (default), csv or json."), QStringLiteral("format"),
        QStringLiteral("table"));
    const QCommandLineOption save(QStringLiteral("save"),
        QStringLiteral("Also write the list to <file>, as CSV or JSON by the name's ending "
                       "(.csv, .json), also when no device answered; may be given more than "
                       "once. A file of that name is replaced."),
        QStringLiteral("file"));
    const QCommandLineOption compare = compareOption();
    parser.addOptions({ wait, tries, format, save, compare });
    if (const std::optional<int> status
        = parseCommandLine(parser, QStringLiteral("scan"), arguments, 0))
        return *status;
    const std::optional<ScanTiming> timing = scanTiming(parser, wait, tries);
    // With --compare the output is the comparison's: text or json.
    const bool comparing = parser.isSet(compare);
    const std::optional<bool> json
        = comparing ? jsonFormat(parser, format) : std::optional<bool>(false);
    const std::optional<OutputFormat> outputFormat = outputFormatFromText(parser.value(format));
    if (!comparing && !outputFormat)
        printError(QStringLiteral("--format takes table, csv or json, not \"%1\"")
                       .arg(parser.value(format)));
    QVector<std::pair<QString, OutputFormat>> saves;
    for (const QString &path : parser.values(save)) {
        if (const std::optional<OutputFormat> fileFormat = saveFormat(path))
            saves.append({ path, *fileFormat });
    }
    if (!timing || !json || (!comparing && !outputFormat)
        || saves.size() != parser.values(save).size())
        return ExitUsage;
    const std::optional<Snapshot> oldList
        = comparing ? savedList(parser.value(compare)) : std::optional<Snapshot>(Snapshot {});
    if (!oldList)
        return ExitUsage;

    InterruptWatcher watcher;
    Fleet fleet(&watcher);
    const Scan scan = openAndScan(fleet, watcher, *timing);
    if (scan.failure != ExitSuccess)
        return scan.failure;
    for (const auto &[path, fileFormat] : qAsConst(saves)) {
        if (!saveDevices(fleet.listedDevices(), path, fileFormat))
            return ExitUsage;
    }
    if (comparing)
        return printDifferences(*oldList, snapshotOfScan(scan.devices), *json);
    // Scripts read an empty list as one: JSON's [] and CSV's header line.
    if (!scan.devices.isEmpty() || *outputFormat != OutputFormat::Table)
        printOut(formatDevices(fleet.listedDevices(), *outputFormat));
    if (!scan.devices.isEmpty())
        return ExitSuccess;
    printError(noAnswerText(fleet.lastScan(), timing->waitMs));
    return ExitNoDevices;
}

int flashCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Finds the device by its MAC address and flashes its LEDs for some seconds, or until "
        "Ctrl-C, then sends the stop request."));
    parser.addPositionalArgument(QStringLiteral("MAC"), QLatin1String(MacArgumentHelp));
    const QCommandLineOption wait = waitOption();
    const QCommandLineOption tries = triesOption();
    const QCommandLineOption seconds(QStringLiteral("seconds"),
        QStringLiteral("Flash for <n> seconds (default 10)."), QStringLiteral("n"),
        QString::number(DefaultFlashSeconds));
    parser.addOptions({ wait, tries, seconds });
    if (const std::optional<int> status
        = parseCommandLine(parser, QStringLiteral("flash"), arguments, 1))
        return *status;
    const std::optional<MacAddress> mac = macArgument(parser);
    const std::optional<ScanTiming> timing = scanTiming(parser, wait, tries);
    const std::optional<int> flashSeconds = numberValue(parser, seconds, 1, DaySeconds);
    if (!mac || !timing || !flashSeconds)
        return ExitUsage;

    InterruptWatcher watcher;
    Fleet fleet(&watcher);
    const Scan scan = openAndFind(fleet, watcher, *timing, *mac);
    if (scan.failure != ExitSuccess)
        return scan.failure;
    const DeviceRecord &device = scan.device;

    if (!fleet.startFlashing(device)) {
        printError(QStringLiteral("the flash request to %1 at %2 could not be sent: %3")
                       .arg(device.mac.toString(), device.ip.toString(), fleet.sendErrorString()));
        return ExitSendFailed;
    }
    printOut(QStringLiteral("Flashing %1 at %2%3 for %4 s; Ctrl-C stops it.\n")
                 .arg(device.mac.toString(), device.ip.toString(), viaText(device))
                 .arg(*flashSeconds));
    fleet.pause(*flashSeconds * 1000);
    if (!fleet.stopFlashing(device)) {
        printError(QStringLiteral("the stop request to %1 at %2 could not be sent: %3")
                       .arg(device.mac.toString(), device.ip.toString(), fleet.sendErrorString()));
        return ExitSendFailed;
    }
    printOut(QStringLiteral("Stopped.\n"));
    return ExitSuccess;
}

struct DeviceSettingsTexts
{
    QString ip, mask, gateway;
};

// The texts of set's options; an option left out stays empty. Nothing when
// none is given.
std::optional<DeviceSettingsTexts> givenSettings(const QCommandLineParser &parser,
    const QCommandLineOption &ip, const QCommandLineOption &mask, const QCommandLineOption &gateway)
{
    if (!parser.isSet(ip) && !parser.isSet(mask) && !parser.isSet(gateway)) {
        printError(QStringLiteral("set needs at least one of --ip, --mask and --gateway (the "
                                  "others keep what the device reports)"));
        return std::nullopt;
    }
    return DeviceSettingsTexts { parser.value(ip), parser.value(mask), parser.value(gateway) };
}

// The settings given, with what they leave out as the device reports it,
// checked with the device dialog's rules.
std::optional<PlanEntry> setTarget(
    MacAddress mac, const DeviceSettingsTexts &given, const DeviceRecord &device)
{
    const auto orReported = [](const QString &text, Ipv4Address reported) {
        return text.isEmpty() ? reported.toString() : text;
    };
    const QString ip = orReported(given.ip, device.ip);
    const QString mask = orReported(given.mask, device.mask);
    const QString gateway = orReported(given.gateway, device.gateway);
    const QString problem = settingsProblem(mac.toString(), ip, mask, gateway);
    if (!problem.isEmpty()) {
        printError(problem);
        return std::nullopt;
    }
    return PlanEntry { 0, mac, *DeviceSettings::fromTexts(ip, mask, gateway) };
}

std::optional<QString> planText(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return QString::fromUtf8(file.readAll());
    printError(QStringLiteral("cannot read the plan %1: %2").arg(path, file.errorString()));
    return std::nullopt;
}

// Every plan line paired with the one device that answered with its MAC.
struct PlannedWrite
{
    DeviceRecord device;
    PlanEntry target;
    // The audit log's words for the check of the new IP.
    QString addressCheck;
    // A device that already has the planned settings is sent nothing: a write
    // would only restart it.
    bool changes = true;
};

QVector<PlannedWrite> plannedWrites(
    const QVector<PlanEntry> &entries, const QVector<DeviceRecord> &devices)
{
    QVector<PlannedWrite> writes;
    for (const PlanEntry &entry : entries) {
        const DeviceRecord device = devicesWithMac(devices, entry.mac).constFirst();
        writes.append({ device, entry, QString(), changesSettings(device, entry) });
    }
    return writes;
}

QVector<PlannedWrite> writesThatChange(const QVector<PlannedWrite> &writes)
{
    QVector<PlannedWrite> changing;
    std::copy_if(writes.cbegin(), writes.cend(), std::back_inserter(changing),
        [](const PlannedWrite &write) { return write.changes; });
    return changing;
}

QString unchangedLineText(const PlannedWrite &write)
{
    return QStringLiteral("line %1: nothing to write, %2\n")
        .arg(write.target.lineNo)
        .arg(changeText(write.device, write.target));
}

// Writes the plan in order until its end, an interrupt or an audit failure;
// gives the exit status when the batch did not run to its end.
std::optional<int> writeBatch(Fleet &fleet, AuditLog &audit, const InterruptWatcher &watcher,
    const QVector<PlannedWrite> &writes, int intervalMs)
{
    int written = 0;
    for (const PlannedWrite &write : writes) {
        if (!write.changes) {
            printOut(unchangedLineText(write));
            continue;
        }
        // Also before the first write: a Ctrl-C still unread in the event loop counts.
        if (!fleet.pause(written > 0 ? intervalMs : 0))
            break;
        if (const std::optional<int> status
            = writeAndRecord(fleet, audit, write.device, write.target, write.addressCheck))
            return *status;
        ++written;
        printOut(QStringLiteral("line %1: sent %2\n")
                     .arg(write.target.lineNo)
                     .arg(changeText(write.device, write.target)));
    }
    if (!watcher.isInterrupted())
        return std::nullopt;
    printError(
        QStringLiteral("interrupted after %1 of %2; the audit log %3 lists them")
            .arg(written)
            .arg(countText(writesThatChange(writes).size(), "write", "writes"), audit.path()));
    return ExitInterrupted;
}

// Scans again and records, for every write, whether its device now answers
// with the new settings.
int verifyBatch(Fleet &fleet, AuditLog &audit, const QVector<PlannedWrite> &writes, int waitMs)
{
    const QVector<DeviceRecord> devices = scanAndWarn(fleet, waitMs);
    int failures = 0;
    bool recorded = true;
    for (const PlannedWrite &write : writes) {
        const QString outcome = verificationOutcome(devices, write.target);
        failures += outcome == VerifiedOutcome ? 0 : 1;
        recorded = audit.record(write.device, write.target, outcome) && recorded;
        // set's one write has no plan line.
        const QString line = write.target.lineNo > 0
            ? QStringLiteral("line %1: ").arg(write.target.lineNo)
            : QString();
        printOut(QStringLiteral("%1%2 %3 at %4\n")
                     .arg(line, write.target.mac.toString(), outcome,
                         write.target.settings.ip.toString()));
    }
    if (!recorded)
        printError(QStringLiteral("the audit log %1 could not take every check: %2")
                       .arg(audit.path(), audit.errorString()));
    if (failures > 0)
        printError(QStringLiteral("%1 of %2 %3 not answer with the new settings: wait longer "
                                  "(--verify-after-ms) or check those devices in \"%4 scan\"")
                       .arg(failures)
                       .arg(countText(writes.size(), "device", "devices"),
                           QLatin1String(failures == 1 ? "does" : "do"), ProgramName));
    return !recorded ? ExitAuditFailed : failures > 0 ? ExitNotVerified : ExitSuccess;
}

AddressProbeSender probeSender(Fleet &fleet)
{
    return [&fleet](const QHostAddress &ip, int interfaceIndex, QString *error) {
        return fleet.sendAddressProbe(ip, interfaceIndex, error);
    };
}

// The check of set's new IP: the audit log's words for it, or the exit status
// when the write is refused or interrupted.
struct CheckedAddress
{
    QString auditText;
    int failure = ExitSuccess;
};

CheckedAddress checkNewAddress(Fleet &fleet, const InterruptWatcher &watcher,
    const QVector<DeviceRecord> &devices, const DeviceRecord &device, const PlanEntry &target,
    bool writeAnyway)
{
    const std::optional<QVector<AddressCheckResult>> results = runAddressChecks(
        { { device, target.settings.ip } }, devices, probeSender(fleet), watcher);
    if (!results)
        return { {}, ExitInterrupted };
    const AddressCheckResult &result = results->constFirst();
    const QString ip = target.settings.ip.toString();
    if (result.outcome != AddressCheckResult::Outcome::InUse) {
        printOut(QStringLiteral("New IP %1: %2\n").arg(ip, addressCheckText(result)));
        return { addressCheckText(result) };
    }
    if (!writeAnyway) {
        printError(QStringLiteral("%1 is in use by %2; nothing written (--allow-duplicate-ip "
                                  "writes it all the same)")
                       .arg(ip, addressHolderText(result)));
        return { {}, ExitRefused };
    }
    printOut(
        QStringLiteral("New IP %1: %2, to be written anyway\n").arg(ip, addressCheckText(result)));
    return { addressCheckText(result) + QStringLiteral(", written anyway") };
}

int setCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Finds the device by its MAC address and writes it a new IP address, net mask and "
        "gateway, keeping its MAC address and name. Checks first that no other device or "
        "station holds the new IP (by ARP, up to about 3.5 s) and refuses it when one does. "
        "Shows the old and the new values; writes only with --yes, and then appends the write "
        "and the check's result to the audit log."));
    parser.addPositionalArgument(QStringLiteral("MAC"), QLatin1String(MacArgumentHelp));
    const QCommandLineOption ip(QStringLiteral("ip"),
        QStringLiteral("New IP address (default: the one the device reports)."),
        QStringLiteral("address"));
    const QCommandLineOption mask(QStringLiteral("mask"),
        QStringLiteral("New net mask (default: the one the device reports)."),
        QStringLiteral("mask"));
    const QCommandLineOption gateway(QStringLiteral("gateway"),
        QStringLiteral("New gateway (default: the one the device reports)."),
        QStringLiteral("address"));
    const QCommandLineOption yes = yesOption();
    const QCommandLineOption allowDuplicate(QStringLiteral("allow-duplicate-ip"),
        QStringLiteral("Write even when the new IP address is in use: held by another device "
                       "that answered the scan, or answered for by any station on the cable "
                       "(the address is checked by ARP before writing)."));
    const QCommandLineOption verify = verifyOption();
    const QCommandLineOption wait = waitOption();
    const QCommandLineOption tries = triesOption();
    const QCommandLineOption audit = auditOption();
    parser.addOptions({ ip, mask, gateway, yes, allowDuplicate, verify, wait, tries, audit });
    if (const std::optional<int> status
        = parseCommandLine(parser, QStringLiteral("set"), arguments, 1))
        return *status;
    const std::optional<MacAddress> mac = macArgument(parser);
    const std::optional<ScanTiming> timing = scanTiming(parser, wait, tries);
    const std::optional<int> verifyMs = numberValue(parser, verify, 0);
    if (!mac || !timing || !verifyMs)
        return ExitUsage;
    const std::optional<DeviceSettingsTexts> given = givenSettings(parser, ip, mask, gateway);
    // Given in full, the settings are checked before anything is sent.
    if (!given
        || (parser.isSet(ip) && parser.isSet(mask) && parser.isSet(gateway)
            && !setTarget(*mac, *given, DeviceRecord())))
        return ExitUsage;

    InterruptWatcher watcher;
    Fleet fleet(&watcher);
    const Scan scan = openAndFind(fleet, watcher, *timing, *mac);
    if (scan.failure != ExitSuccess)
        return scan.failure;
    const DeviceRecord &device = scan.device;
    const std::optional<PlanEntry> target = setTarget(*mac, *given, device);
    if (!target)
        return ExitUsage;
    if (!changesSettings(device, *target)) {
        printOut(changeText(device, *target) + QLatin1Char('\n'));
        printOut(QStringLiteral("Nothing written: the device already has these settings.\n"));
        return ExitSuccess;
    }
    const CheckedAddress check = checkNewAddress(
        fleet, watcher, scan.devices, device, *target, parser.isSet(allowDuplicate));
    if (check.failure != ExitSuccess)
        return check.failure;

    printOut(changeText(device, *target) + viaText(device) + QLatin1Char('\n'));
    if (!parser.isSet(yes)) {
        printOut(QStringLiteral("Nothing written: add --yes to write.\n"));
        return ExitSuccess;
    }
    AuditLog auditLog(parser.value(audit));
    if (!openAudit(auditLog))
        return ExitAuditFailed;
    if (const std::optional<int> status
        = writeAndRecord(fleet, auditLog, device, *target, check.auditText))
        return *status;
    printOut(QStringLiteral("Written. %1\n").arg(RestartTip));
    if (*verifyMs == 0)
        return ExitSuccess;
    if (!fleet.pause(*verifyMs))
        return ExitInterrupted;
    return verifyBatch(fleet, auditLog, { { device, *target, check.auditText } }, timing->waitMs);
}

// Checks every new IP of the plan, side by side, before anything is written;
// refuses the plan when one is in use by a device or station that the plan
// does not move. Gives the exit status when the plan stops here.
std::optional<int> checkPlanAddresses(Fleet &fleet, const InterruptWatcher &watcher,
    const QVector<DeviceRecord> &devices, QVector<PlannedWrite> &writes)
{
    // A device that keeps its settings holds its IP as any device outside the plan does.
    QVector<PlannedWrite *> moving;
    QSet<quint64> plannedMacs;
    QVector<AddressCheckJob> jobs;
    for (PlannedWrite &write : writes) {
        if (!write.changes)
            continue;
        moving.append(&write);
        plannedMacs.insert(write.device.mac.toUInt64());
        jobs.append({ write.device, write.target.settings.ip });
    }
    if (moving.isEmpty())
        return std::nullopt;
    // A listed holder outside the plan was refused already; one inside moves away.
    QVector<DeviceRecord> unplanned;
    for (const DeviceRecord &device : devices) {
        if (!plannedMacs.contains(device.mac.toUInt64()))
            unplanned.append(device);
    }
    const std::optional<QVector<AddressCheckResult>> results
        = runAddressChecks(jobs, unplanned, probeSender(fleet), watcher);
    if (!results)
        return ExitInterrupted;
    QVector<PlanProblem> problems;
    for (int index = 0; index < moving.size(); ++index) {
        const AddressCheckResult &result = results->at(index);
        PlannedWrite &write = *moving.at(index);
        write.addressCheck = addressCheckText(result);
        if (result.outcome != AddressCheckResult::Outcome::InUse)
            continue;
        if (!result.heldByThisComputer && plannedMacs.contains(result.holderMac.toUInt64())) {
            write.addressCheck += QStringLiteral(", which moves in this plan");
            continue;
        }
        problems.append({ write.target.lineNo,
            QStringLiteral("new IP %1 is in use by %2, which is not in the plan")
                .arg(write.target.settings.ip.toString(), addressHolderText(result)) });
    }
    if (problems.isEmpty())
        return std::nullopt;
    printError(QStringLiteral("plan refused, nothing written:\n") + planProblemsText(problems));
    return ExitRefused;
}

int applyCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes a commissioning plan: one line MAC,IP,MASK,GATEWAY per device (a header line "
        "MAC,... is optional, lines starting with # are comments). Scans once and checks the "
        "whole plan before writing anything: each MAC answers exactly once and is planned "
        "once, every address passes the device dialog's checks, no two lines share a new IP, "
        "no new IP is held by a device outside the plan, and no new IP is answered for on the "
        "cable by a device or station the plan does not move (checked by ARP, side by side). "
        "On any failure it names every bad line and writes nothing. With --yes it writes the "
        "devices in plan order and appends each write, with its address check, to the audit "
        "log. A device that already has its planned settings is sent nothing (a write would "
        "only restart it) and gets no audit line."));
    parser.addPositionalArgument(QStringLiteral("PLAN"), QStringLiteral("The plan file (CSV)."));
    const QCommandLineOption yes = yesOption();
    const QCommandLineOption verify = verifyOption();
    const QCommandLineOption interval(QStringLiteral("interval-ms"),
        QStringLiteral("Pause <ms> milliseconds between two writes (default 0)."),
        QStringLiteral("ms"), QStringLiteral("0"));
    const QCommandLineOption wait = waitOption();
    const QCommandLineOption tries = triesOption();
    const QCommandLineOption audit = auditOption();
    parser.addOptions({ yes, verify, interval, wait, tries, audit });
    if (const std::optional<int> status
        = parseCommandLine(parser, QStringLiteral("apply"), arguments, 1))
        return *status;
    const std::optional<ScanTiming> timing = scanTiming(parser, wait, tries);
    const std::optional<int> verifyMs = numberValue(parser, verify, 0);
    const std::optional<int> intervalMs = numberValue(parser, interval, 0);
    if (!timing || !verifyMs || !intervalMs)
        return ExitUsage;
    const std::optional<QString> text = planText(parser.positionalArguments().constFirst());
    if (!text)
        return ExitUsage;
    const ParsedPlan plan = parsePlan(*text);
    if (plan.entries.isEmpty() && plan.problems.isEmpty()) {
        printError(QStringLiteral("the plan lists no device"));
        return ExitUsage;
    }

    InterruptWatcher watcher;
    Fleet fleet(&watcher);
    const Scan scan = openAndScan(fleet, watcher, *timing);
    if (scan.failure != ExitSuccess)
        return scan.failure;
    const QVector<DeviceRecord> &devices = scan.devices;
    const QVector<PlanProblem> problems = checkPlan(plan, devices);
    if (!problems.isEmpty()) {
        printError(QStringLiteral("plan refused, nothing written:\n") + planProblemsText(problems));
        return ExitRefused;
    }

    QVector<PlannedWrite> writes = plannedWrites(plan.entries, devices);
    if (const std::optional<int> status = checkPlanAddresses(fleet, watcher, devices, writes))
        return *status;
    const QVector<PlannedWrite> changing = writesThatChange(writes);
    // Like set, a plan that changes nothing leaves the audit log alone.
    if (!parser.isSet(yes) || changing.isEmpty()) {
        for (const PlannedWrite &write : qAsConst(writes))
            printOut(write.changes
                    ? QStringLiteral("line %1: would write %2 (new IP %3)\n")
                          .arg(write.target.lineNo)
                          .arg(changeText(write.device, write.target), write.addressCheck)
                    : unchangedLineText(write));
        printOut(changing.isEmpty()
                ? QStringLiteral("Nothing written: the devices already have these settings.\n")
                : QStringLiteral("Nothing written: add --yes to write.\n"));
        return ExitSuccess;
    }
    AuditLog auditLog(parser.value(audit));
    if (!openAudit(auditLog))
        return ExitAuditFailed;
    if (const std::optional<int> status = writeBatch(fleet, auditLog, watcher, writes, *intervalMs))
        return *status;
    const int unchanged = writes.size() - changing.size();
    printOut(QStringLiteral("%1 written%2. %3\n")
                 .arg(countText(changing.size(), "device", "devices"),
                     unchanged > 0 ? QStringLiteral(", %1 unchanged").arg(unchanged) : QString(),
                     RestartTip));
    if (*verifyMs == 0)
        return ExitSuccess;
    if (!fleet.pause(*verifyMs))
        return ExitInterrupted;
    return verifyBatch(fleet, auditLog, changing, timing->waitMs);
}

int inventoryCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Scans and prints the devices as an Ansible dynamic inventory (JSON): one host per "
        "device, named after the device, in a group per type (plc, hmi, servo, vfd). A network "
        "where no device answers gives an empty inventory."));
    const QCommandLineOption list(
        QStringLiteral("list"), QStringLiteral("Print the whole inventory (the default)."));
    const QCommandLineOption host(QStringLiteral("host"),
        QStringLiteral("Print only the variables of the host <name>."), QStringLiteral("name"));
    const QCommandLineOption wait = waitOption();
    const QCommandLineOption tries = triesOption();
    parser.addOptions({ list, host, wait, tries });
    if (const std::optional<int> status
        = parseCommandLine(parser, QStringLiteral("inventory"), arguments, 0))
        return *status;
    const std::optional<ScanTiming> timing = scanTiming(parser, wait, tries);
    if (!timing)
        return ExitUsage;
    if (parser.isSet(list) && parser.isSet(host)) {
        printError(QStringLiteral("--list and --host exclude each other"));
        return ExitUsage;
    }

    InterruptWatcher watcher;
    Fleet fleet(&watcher);
    const Scan scan = openAndScan(fleet, watcher, *timing);
    if (scan.failure != ExitSuccess)
        return scan.failure;
    if (scan.devices.isEmpty())
        printError(noAnswerText(fleet.lastScan(), timing->waitMs));
    QJsonObject printed = ansibleInventory(scan.devices);
    if (parser.isSet(host)) {
        printed = ansibleHostVariables(printed, parser.value(host));
        if (printed.isEmpty()) {
            printError(QStringLiteral("no device answered as host \"%1\"")
                           .arg(boundedText(neutralizedText(parser.value(host)))));
            return ExitDeviceNotFound;
        }
    }
    printOut(jsonWithEscapedHiddenCharacters(
        QString::fromUtf8(QJsonDocument(printed).toJson(QJsonDocument::Indented))));
    return ExitSuccess;
}

struct Command
{
    const char *name;
    const char *summary;
    int (*run)(const QStringList &arguments);
};

const Command Commands[] = {
    { "scan", "list the devices that answer a scan", scanCommand },
    { "flash", "flash one device's LEDs so it can be found", flashCommand },
    { "set", "write one device a new IP address, net mask and gateway", setCommand },
    { "apply", "write a whole commissioning plan from a CSV file", applyCommand },
    { "diff", "compare two saved device lists", diffCommand },
    { "watch", "scan again and again and report devices that appear, change or go", watchCommand },
    { "inventory", "list the devices as an Ansible dynamic inventory", inventoryCommand },
};

QString generalHelp()
{
    QString text = QStringLiteral("Usage: %1 COMMAND [options]\n\n"
                                  "Finds and configures devices over UDP port 102.\n\n"
                                  "Commands:\n")
                       .arg(ProgramName);
    int nameWidth = 0;
    for (const Command &command : Commands)
        nameWidth = qMax(nameWidth, int(qstrlen(command.name)));
    for (const Command &command : Commands)
        text += QStringLiteral("  %1  %2\n")
                    .arg(QString::fromLatin1(command.name).leftJustified(nameWidth),
                        QLatin1String(command.summary));
    text += QStringLiteral("\n%1 help COMMAND (or %1 COMMAND --help) explains each command; "
                           "%1 --version prints the version.\n"
                           "Exit status 8: a request could not be sent (no network adapter is "
                           "up, or the system refused the send); man %1 lists every status.\n")
                .arg(ProgramName);
    return text;
}

} // namespace

int runCli(const QStringList &arguments)
{
    const QString name = arguments.value(1);
    if (name == QLatin1String("--version") || name == QLatin1String("-v")) {
        printOut(QStringLiteral("%1 %2\n").arg(ProgramName, QLatin1String(NESDRIX_VERSION)));
        return ExitSuccess;
    }
    const bool helpAsked = name == QLatin1String("--help") || name == QLatin1String("-h")
        || name == QLatin1String("help");
    // "help scan" is "scan --help".
    const QString commandName = helpAsked ? arguments.value(2) : name;
    if (helpAsked && commandName.isEmpty()) {
        printOut(generalHelp());
        return ExitSuccess;
    }
    for (const Command &command : Commands) {
        if (commandName == QLatin1String(command.name))
            return command.run(
                helpAsked ? QStringList { QStringLiteral("--help") } : arguments.mid(2));
    }
    printError(commandName.isEmpty() ? QStringLiteral("no command given")
                                     : QStringLiteral("unknown command \"%1\"")
                                           .arg(boundedText(neutralizedText(commandName))));
    std::fputs(generalHelp().toUtf8().constData(), stderr);
    return ExitUsage;
}
