// Save's temporary file beside the file it replaces, on real files: in the file's own
// folder whatever separates the folders, with a whole name on a double-byte code page, and
// gone again, with the old file kept, when the system reports a write error only at the
// flush or the close. The program is run once more with Wine on code page 932 (Japanese).
#include <windows.h>

#include "MapFileDisk.h"
#include "MappingListHelpers.h"
#include "ProgramCopies.h"
#include "SystemCalls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

using testing_keys::code;

namespace {

using Bytes = std::vector<unsigned char>;
using program_copies::FileBytes;

std::vector<std::string> FilesIn(const std::string& directory)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != ".." && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool RunsOnCodePage932()
{
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, sizeof program);
    return std::string(program).find("_cp932.exe") != std::string::npos;
}

// A folder "Swivelkin save N" with a folder "sub" in it; what the writes of a save see.
struct SaveBeside : ::testing::Test {
    void SetUp() override
    {
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "Swivelkin save " + std::to_string(GetCurrentProcessId());
        sub = folder + "\\sub";
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
        list.append(code("Caps Lock"), code("Left Ctrl"));
        list.normalise();
        // The bytes Save writes, from a path without anything unusual.
        ASSERT_EQ(MapFileWritten, WriteMapFileTo((folder + "\\plain.swm").c_str(), list));
        expected = FileBytes(folder + "\\plain.swm");
        DeleteFileA((folder + "\\plain.swm").c_str());
        ASSERT_FALSE(expected.empty());
        seen() = Seen{folder, sub, {}, {}};
        systemCalls.writeFile = [](HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
            seen().inFolder = FilesIn(seen().folder);
            seen().inSub = FilesIn(seen().sub);
            return WriteFile(file, data, size, written, overlapped);
        };
    }
    void TearDown() override
    {
        systemCalls = realSystemCalls;
        for (const std::string& directory : {sub, folder}) {
            for (const std::string& name : FilesIn(directory))
                DeleteFileA((directory + "\\" + name).c_str());
            RemoveDirectoryA(directory.c_str());
        }
    }

    // The files of both folders while the last write of a save went on.
    struct Seen {
        std::string folder, sub;
        std::vector<std::string> inFolder, inSub;
    };
    static Seen& seen()
    {
        static Seen s;
        return s;
    }

    std::string folder, sub;
    MappingList list;
    Bytes expected;
};

TEST_F(SaveBeside, TheTemporaryFileIsMadeInTheFolderOfAPathWithSlashesOrADriveColon)
{
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    ASSERT_TRUE(SetCurrentDirectoryA(sub.c_str()));
    ASSERT_EQ('C', sub[0]) << "the temporary folder is on drive C:";
    struct {
        std::string path, name;
        const char* temporary;  // its name in "sub" while Save writes
    } cases[] = {
        {folder + "\\sub/x", "x", "^[0-9a-f]$"},
        {folder + "/sub/ab.swm", "ab.swm", "^a~[0-9a-f]{4}$"},
        {"C:x", "x", "^[0-9a-f]$"},
        {"C:abc", "abc", "^~[0-9a-f]{2}$"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.path);
        seen().inFolder = seen().inSub = {"(nothing written)"};
        EXPECT_EQ(MapFileWritten, WriteMapFileTo(c.path.c_str(), list));
        EXPECT_TRUE(seen().inFolder.empty());
        ASSERT_EQ(1u, seen().inSub.size());
        EXPECT_TRUE(std::regex_match(seen().inSub[0], std::regex(c.temporary))) << seen().inSub[0];
        EXPECT_EQ(std::vector<std::string>{c.name}, FilesIn(sub));
        EXPECT_EQ(expected, FileBytes(sub + "\\" + c.name));
        DeleteFileA((sub + "\\" + c.name).c_str());
    }
    SetCurrentDirectoryA(current);
}

TEST_F(SaveBeside, AWriteErrorThatShowsOnlyAtTheFlushOrTheCloseKeepsTheOldFile)
{
    const std::string path = folder + "\\keep.swm";
    const Bytes old = {'o', 'l', 'd'};
    struct {
        const char* when;
        void (*fail)();
    } cases[] = {
        {"at the flush",
         [] {
             systemCalls.flushFileBuffers = [](HANDLE) {
                 SetLastError(ERROR_DISK_FULL);
                 return FALSE;
             };
         }},
        // A network share's write-behind: the handle is closed, and the close reports the error.
        {"at the close",
         [] {
             systemCalls.closeHandle = [](HANDLE handle) {
                 CloseHandle(handle);
                 SetLastError(ERROR_NETNAME_DELETED);
                 return FALSE;
             };
         }},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.when);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, old.data(), static_cast<DWORD>(old.size()), &written, nullptr);
        CloseHandle(file);
        c.fail();
        EXPECT_EQ(MapFileNotWritten, WriteMapFileTo(path.c_str(), list));
        systemCalls.flushFileBuffers = realSystemCalls.flushFileBuffers;
        systemCalls.closeHandle = realSystemCalls.closeHandle;
        EXPECT_EQ(2u, seen().inFolder.size()) << "the temporary file beside it while writing";
        EXPECT_EQ(old, FileBytes(path));
        EXPECT_EQ(std::vector<std::string>{"keep.swm"}, FilesIn(folder));
    }
    // And with both whole, the save goes through.
    EXPECT_EQ(MapFileWritten, WriteMapFileTo(path.c_str(), list));
    EXPECT_EQ(expected, FileBytes(path));
}

// Japanese names on code page 932: "~" and digits replace whole characters only, so the
// temporary name is one the system can hold, and "ソ" (83 5C) is no backslash.
TEST_F(SaveBeside, OnADoubleByteCodePageTheTemporaryNameKeepsWholeCharacters)
{
    if (GetACP() != 932) {
        if (RunsOnCodePage932())
            FAIL() << "Wine runs this copy on code page " << GetACP() << ", not 932";
        GTEST_SKIP() << "code page " << GetACP() << " has no double-byte characters";
    }
    // The bytes kept from the name; then "~" and hex digits up to its length.
    struct {
        std::string name, kept;
    } cases[] = {
        {"\x82\xA0\x82\xA2\x82\xA4", "~~"},                      // あいう
        {"\x83\x5C.swm", "~~"},                                  // ソ.swm
        {"a\x83\x5C.swm", "a~~"},                                // aソ.swm
        {"\x8A\xBF\x8E\x9A\x83\x5C\x83\x74\x83\x67.swm", "\x8A\xBF\x8E\x9A\x83\x5C\x83\x74~~"},  // 漢字ソフト.swm
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.kept);
        const std::string path = sub + "\\" + c.name;
        // An old file to replace, so that both lie side by side while Save writes.
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        CloseHandle(file);
        seen().inSub.clear();
        EXPECT_EQ(MapFileWritten, WriteMapFileTo(path.c_str(), list));
        ASSERT_EQ(2u, seen().inSub.size());
        const std::string temporary = seen().inSub[0] == c.name ? seen().inSub[1] : seen().inSub[0];
        ASSERT_EQ(c.name.size(), temporary.size());
        EXPECT_EQ(c.kept, temporary.substr(0, c.kept.size()));
        EXPECT_EQ(std::string::npos, temporary.find_first_not_of("0123456789abcdef", c.kept.size())) << temporary;
        EXPECT_NE(0, MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, temporary.c_str(), -1, nullptr, 0));
        EXPECT_EQ(std::vector<std::string>{c.name}, FilesIn(sub));
        EXPECT_EQ(expected, FileBytes(path));
        DeleteFileA(path.c_str());
    }
}

}  // namespace
