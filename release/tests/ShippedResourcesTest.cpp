// The manifest and version resources as Windows reads them from the shipped programs.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The shipped 32-bit programs, built in the ship tree beside this one.
std::string ShippedFile(const char* relative)
{
    std::string path = std::string(SWK_SHIP_DIR) + "/" + relative;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

struct Program {
    const char* file;  // in the ship tree
    const char* name;
    const char* executionLevel;
    const char* description;
};

const Program programs[] = {
    {"app/Swivelkin.exe", "Swivelkin.exe", "asInvoker", "Swivelkin keyboard remapper"},
    {"postlude/Postlude.exe", "Postlude.exe", "asInvoker", "Swivelkin post-install helper"},
};

// The manifest resource (RT_MANIFEST 1, the one the loader reads), or "" when it is missing.
std::string ManifestOf(const std::string& path)
{
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return "";
    std::string text;
    if (HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        HGLOBAL loaded = LoadResource(module, resource);
        const char* bytes = static_cast<const char*>(LockResource(loaded));
        if (bytes)
            text.assign(bytes, SizeofResource(module, resource));
    }
    FreeLibrary(module);
    return text;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// What lies between <tag...> and </tag>, or "<missing>".
std::string Element(const std::string& text, const std::string& tag)
{
    std::string::size_type open = text.find("<" + tag);
    std::string::size_type close = text.find("</" + tag + ">");
    if (open == std::string::npos || close == std::string::npos || close < open)
        return "<missing>";
    return text.substr(open, close - open);
}

TEST(ShippedResources, EachProgramCarriesItsManifest)
{
    for (const Program& program : programs) {
        SCOPED_TRACE(program.file);
        std::string manifest = ManifestOf(ShippedFile(program.file));
        ASSERT_FALSE(manifest.empty());
        EXPECT_EQ(0u, manifest.find("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"));

        std::string level = Element(manifest, "requestedPrivileges");
        EXPECT_TRUE(Contains(level, std::string("level=\"") + program.executionLevel + "\"")) << level;
        EXPECT_TRUE(Contains(level, "uiAccess=\"false\"")) << level;

        std::string controls = Element(manifest, "dependentAssembly");
        for (const char* attribute : {"type=\"win32\"", "name=\"Microsoft.Windows.Common-Controls\"",
                                      "version=\"6.0.0.0\"", "processorArchitecture=\"*\"",
                                      "publicKeyToken=\"6595b64144ccf1df\"", "language=\"*\""})
            EXPECT_TRUE(Contains(controls, attribute)) << attribute;

        std::string compatibility = Element(manifest, "compatibility");
        for (const char* system : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                                   "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                                   "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
            EXPECT_TRUE(Contains(compatibility, std::string("<supportedOS Id=\"") + system + "\"/>")) << system;

        // System DPI awareness, not per monitor: the dialogs are laid out once.
        EXPECT_TRUE(Contains(Element(manifest, "dpiAware"), ">true")) << manifest;
        EXPECT_FALSE(Contains(manifest, "dpiAwareness"));
    }
}

// The loader accepts the manifest: an activation context can be made from the resource.
TEST(ShippedResources, EachManifestMakesAnActivationContext)
{
    for (const Program& program : programs) {
        SCOPED_TRACE(program.file);
        std::string path = ShippedFile(program.file);
        ACTCTXA context = {};
        context.cbSize = sizeof context;
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = path.c_str();
        context.lpResourceName = MAKEINTRESOURCEA(1);
        HANDLE handle = CreateActCtxA(&context);
        EXPECT_NE(INVALID_HANDLE_VALUE, handle) << "error " << GetLastError();
        if (handle != INVALID_HANDLE_VALUE)
            ReleaseActCtx(handle);
    }
}

class VersionInfo {
public:
    explicit VersionInfo(const std::string& path)
    {
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        if (size == 0)
            return;
        data_.resize(size);
        if (!GetFileVersionInfoA(path.c_str(), 0, size, data_.data()))
            data_.clear();
    }
    bool Found() const { return !data_.empty(); }
    const VS_FIXEDFILEINFO* Fixed()
    {
        void* value = nullptr;
        UINT length = 0;
        if (!Found() || !VerQueryValueA(data_.data(), "\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO))
            return nullptr;
        return static_cast<const VS_FIXEDFILEINFO*>(value);
    }
    // The first translation, as "LLLLCCCC" in hex, the name of its string block.
    std::string Translation()
    {
        void* value = nullptr;
        UINT length = 0;
        if (!Found() || !VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation", &value, &length) || length < 4)
            return "";
        const WORD* pair = static_cast<const WORD*>(value);
        char name[16];
        wsprintfA(name, "%04X%04X", pair[0], pair[1]);
        return name;
    }
    std::string String(const std::string& key)
    {
        void* value = nullptr;
        UINT length = 0;
        std::string query = "\\StringFileInfo\\" + Translation() + "\\" + key;
        if (!Found() || !VerQueryValueA(data_.data(), query.c_str(), &value, &length))
            return "<missing>";
        return static_cast<const char*>(value);
    }

private:
    std::vector<char> data_;
};

TEST(ShippedResources, EachProgramTellsItsProductAndVersion)
{
    for (const Program& program : programs) {
        SCOPED_TRACE(program.file);
        VersionInfo info(ShippedFile(program.file));
        ASSERT_TRUE(info.Found());
        const VS_FIXEDFILEINFO* fixed = info.Fixed();
        ASSERT_NE(nullptr, fixed);
        EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
        EXPECT_EQ(0x00020000u, fixed->dwFileVersionMS);
        EXPECT_EQ(0u, fixed->dwFileVersionLS);
        EXPECT_EQ(0x00020000u, fixed->dwProductVersionMS);
        EXPECT_EQ(0u, fixed->dwProductVersionLS);
        EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
        EXPECT_EQ(static_cast<DWORD>(VOS__WINDOWS32), fixed->dwFileOS);
        EXPECT_EQ(0u, fixed->dwFileFlags & fixed->dwFileFlagsMask);

        EXPECT_EQ("040904E4", info.Translation());  // US English, code page 1252
        EXPECT_EQ("Swivelkin", info.String("ProductName"));
        EXPECT_EQ("2.0", info.String("ProductVersion"));
        EXPECT_EQ("2.0", info.String("FileVersion"));
        EXPECT_EQ(program.description, info.String("FileDescription"));
        EXPECT_EQ(program.name, info.String("OriginalFilename"));
        EXPECT_EQ("The Swivelkin authors", info.String("CompanyName"));
        EXPECT_EQ("Copyright (c) the Swivelkin authors. MIT licence.", info.String("LegalCopyright"));
    }
}

}  // namespace
