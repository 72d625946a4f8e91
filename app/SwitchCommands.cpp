#include "SwitchCommands.h"

#include <windows.h>

#include "AppMessageBox.h"
#include "LogOnKeys.h"
#include "MapFileDisk.h"
#include "Platform.h"
#include "Switches.h"
#include "SystemMap.h"

namespace {

const char nothingApplied[] = " Nothing was applied.";

const char* Plural(int count) { return count == 1 ? "" : "s"; }

// Why a file could not be read, on one line: the path stands where the message names the
// file, or else before it.
void DescribeUnreadFile(char* line, const char* path, MapFile::Result decoded)
{
    const char* message = MapFile::failureMessage(decoded);
    Text text = Text(message).find("%s") == Text::npos ? Text(path) + ": " + message : FormatMessageText(message, path);
    for (std::size_t at = text.find('\n'); at != Text::npos; at = text.find('\n', at))
        text.replace(at, 1, " ");
    wsprintfA(line, "%s%s", text.c_str(), nothingApplied);
}

// NT 4 keeps the value but never applies it, as the window tells after OK.
const char notAppliedOnNT4[] =
    "They are stored, but this version of Windows does not apply key mappings: they take effect on Windows "
    "2000 and later versions.";

// When the keyboard driver of Windows 95/98/ME uses the table.
const char* DriverWhen(DriverHandOver handOver)
{
    switch (handOver) {
    case DriverTookTable:
        return "the keyboard driver uses them now.";
    case DriverRefusedTable:
        return "the keyboard driver refused them, so they take effect when Windows next starts.";
    case DriverNotLoaded:
        break;
    }
    return "the keyboard driver is not loaded yet, so they take effect when Windows next starts.";
}

}  // namespace

int ApplyMapFileQuietly(const char* path, bool force, char* line)
{
    MapRecords records;
    MapFile::Result decoded;
    switch (ReadMapFileFrom(path, records, decoded)) {
    case MapFileNotOpened:
        wsprintfA(line, "Unable to access %s.%s", path, nothingApplied);
        return ExitBadFile;
    case MapFileNoReader:
        wsprintfA(line, "%s: %s.%s", path, MapFile::failureMessage(MapFile::NoMemory), nothingApplied);
        return ExitBadFile;
    case MapFileNotDecoded:
        DescribeUnreadFile(line, path, decoded);
        return ExitBadFile;
    case MapFileRead:
        break;
    }
    // Windows 95/98/ME cannot map extended keys: left out, as Load leaves them out.
    const int inFile = records.count();
    if (!IsNT)
        records.removeExtended();
    const int leftOut = inFile - records.count();
    // Forced, they are kept as OK keeps the ones it read from the registry: the window's own
    // elevated copy applies its list so.
    if (!force && records.removeUnknown()) {
        wsprintfA(line, "%s is damaged: it holds key codes that Swivelkin does not know.%s", path, nothingApplied);
        return ExitBadFile;
    }
    MappingList list;
    if (!AppendRecords(records, list)) {
        wsprintfA(line, "%s: %s.%s", path, MapFile::failureMessage(MapFile::NoMemory), nothingApplied);
        return ExitBadFile;
    }
    list.normalise();
    // Windows 95/98/ME ask for no Ctrl+Alt+Del at log-on.
    if (IsNT && !force) {
        if (int missing = missingLogOnKeys(list)) {
            wsprintfA(line,
                      "With the mappings of %s no key would produce %s, so Ctrl+Alt+Del could not be pressed and "
                      "Windows may not let you log on.%s /apply /force applies it anyway.",
                      path, logOnKeyNames(missing), nothingApplied);
            return ExitLocksOut;
        }
    }

    StoreWriteResult written;
    if (IsNT) {
        written = WriteScancodeMap(list);
    } else {
        BuildTranslationTable(list);
        written = WriteTranslationTable();
    }
    switch (written) {
    case OpenFailed:
        wsprintfA(line, "Unable to open the key mappings in the registry (administrator rights are needed).%s",
                  nothingApplied);
        return ExitStoreNotOpened;
    case WriteFailed:
        wsprintfA(line, "Error writing the key mappings to the registry.");
        return ExitNotWritten;
    case Written:
        break;
    }
    const int count = list.count();
    if (IsNT4) {
        wsprintfA(line, "Applied %d mapping%s from %s. %s", count, Plural(count), path, notAppliedOnNT4);
    } else if (IsNT) {
        wsprintfA(line, "Applied %d mapping%s from %s; they take effect after the next log-on or restart.", count,
                  Plural(count), path);
    } else {
        // A driver not loaded yet takes the stored table when Windows next starts.
        const char* when = DriverWhen(HandTableToDriver());
        if (leftOut == 0)
            wsprintfA(line, "Applied %d mapping%s from %s; %s", count, Plural(count), path, when);
        else
            wsprintfA(line, "Applied %d mapping%s from %s, leaving out %d for extended keys, which this version "
                      "of Windows cannot map; %s", count, Plural(count), path, leftOut, when);
    }
    return ExitDone;
}

int SaveMappingsInEffect(const char* path, char* line)
{
    MappingList list;
    int read = ReadCurrentMap(list);
    if (read != ReadOk) {
        wsprintfA(line, "%s Nothing was saved.", ReadFailureMessage(read));
        return ExitStoreNotOpened;
    }
    list.normalise();
    switch (WriteMapFileTo(path, list)) {
    case MapFileNotAccessible:
        wsprintfA(line, "Unable to access %s. Nothing was saved.", path);
        return ExitNotWritten;
    case MapFileNotWritten:
        wsprintfA(line, "Error writing %s. Nothing was saved.", path);
        return ExitNotWritten;
    case MapFileWritten:
        break;
    }
    wsprintfA(line, "Saved %d mapping%s to %s.", list.count(), Plural(list.count()), path);
    return ExitDone;
}
