#include "MainWindow.h"

#include "AppMessageBox.h"
#include "CurrentMap.h"
#include "ElevatedWrite.h"
#include "Help.h"
#include "Platform.h"
#include "SystemCalls.h"
#include "resource.h"

#ifndef BCM_SETSHIELD
#define BCM_SETSHIELD 0x160C
#endif

const CommandEntry<MainWindow> MainWindow::commands[] = {
    {IDC_MAP, &MainWindow::OnMap},          {IDC_SWAP, &MainWindow::OnSwap},
    {IDC_DISABLE, &MainWindow::OnDisable},  {IDC_UNMAP, &MainWindow::OnUnmap},
    {IDC_SAVE, &MainWindow::OnSaveMap},     {IDC_LOAD, &MainWindow::OnLoadMap},
    {IDC_ABOUT, &MainWindow::OnAbout},      {ID_HELP, &MainWindow::OnHelp},
    {IDOK, &MainWindow::OnOK},              {IDCANCEL, &MainWindow::OnCancel},
};

const NotifyEntry<MainWindow> MainWindow::notifications[] = {
    {IDC_MAPPED_LIST, LVN_GETDISPINFOA, &MainWindow::OnMappedDispInfo},
    {IDC_FROM_LIST, LVN_GETDISPINFOA, &MainWindow::OnKeyDispInfo},
    {IDC_TO_LIST, LVN_GETDISPINFOA, &MainWindow::OnKeyDispInfo},
    {IDC_MAPPED_LIST, static_cast<UINT>(NM_CUSTOMDRAW), &MainWindow::OnCustomDraw},
    {IDC_FROM_LIST, static_cast<UINT>(NM_CUSTOMDRAW), &MainWindow::OnCustomDraw},
    {IDC_TO_LIST, static_cast<UINT>(NM_CUSTOMDRAW), &MainWindow::OnCustomDraw},
    {IDC_FROM_LIST, static_cast<UINT>(LVN_ITEMCHANGED), &MainWindow::OnKeyItemChanged},
    {IDC_TO_LIST, static_cast<UINT>(LVN_ITEMCHANGED), &MainWindow::OnKeyItemChanged},
    {IDC_MAPPED_LIST, static_cast<UINT>(LVN_ITEMCHANGED), &MainWindow::OnMappedItemChanged},
    {IDC_MAPPED_LIST, static_cast<UINT>(NM_SETFOCUS), &MainWindow::OnMappedSetFocus},
    {IDC_MAPPED_LIST, static_cast<UINT>(LVN_KEYDOWN), &MainWindow::OnMappedKeyDown},
};

namespace {

HICON LoadAppIcon(int size)
{
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                         size, size, LR_DEFAULTCOLOR));
}

class AboutBox : public Dialog {};

}  // namespace

MainWindow::MainWindow(SettingsFile& settings, SharedInstanceBlock* sharedBlock, const Text& commandLineFile,
                       const Text& savePath)
    : savePath(savePath), commandLineFile(commandLineFile), settings_(settings), sharedBlock_(sharedBlock)
{
    bigIcon = LoadAppIcon(32);
    smallIcon = LoadAppIcon(16);
}

MainWindow::~MainWindow()
{
    // Normally gone with the window; not when the window never opened.
    if (smallIcon)
        DestroyIcon(smallIcon);
    if (bigIcon)
        DestroyIcon(bigIcon);
}

INT_PTR MainWindow::Run() { return RunModal(IDD_MAIN, nullptr); }

BOOL MainWindow::OnInitDialog()
{
    swapButton = Item(IDC_SWAP);
    toList.Attach(Item(IDC_TO_LIST));
    fromList.Attach(Item(IDC_FROM_LIST));
    unmapButton = Item(IDC_UNMAP);
    mappedList.Attach(Item(IDC_MAPPED_LIST));

    warnRestart = settings_.ReadSettingInt("WarnRestart", 1);
    noColor = settings_.ReadSettingInt("NoColor", 0);
    DetectPlatform();

    kindImages = ImageList_LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_KIND_IMAGES), 16, 0,
                                      RGB(0, 255, 0), IMAGE_BITMAP, LR_DEFAULTCOLOR);
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));

    mappedList.AddColumn(0, "Key", 90);
    mappedList.AddColumn(1, "Mapped to", 90);
    mappedList.SetSmallImageList(kindImages);
    // Full-row selection where the list view has it (COMCTL32 4.70, Internet Explorer 3, on).
    mappedList.SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    fromList.SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    toList.SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);

    int result = ReadCurrentMap(mappings);
    if (const char* message = ReadFailureMessage(result)) {
        systemCalls.messageBox(Handle(), message, "Swivelkin error", MB_OK | MB_ICONERROR);
        End(IDCANCEL);
        return TRUE;
    }
    mappings.normalise();

    fromList.AddColumn(0, nullptr, 100);
    toList.AddColumn(0, nullptr, 100);
    FillKeyLists();
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    fromList.SetRowState(0, both, both);
    toList.SetRowState(0, both, both);
    fromList.SetColumnWidth(0, LVSCW_AUTOSIZE);
    toList.SetColumnWidth(0, LVSCW_AUTOSIZE);

    dirty = 0;
    if (mappings.count() > 0) {
        InsertMappingRows();
        mappedList.SelectSingleRow(0);
        SyncKeyLists(0);
    }
    if (!commandLineFile.empty() && !LoadMapFile(commandLineFile.c_str()))
        systemCalls.messageBox(Handle(),
                               "File load failed.\n\nList will display mappings (if any) that\n"
                               "are currently in effect.",
                               "Swivelkin", MB_OK | MB_ICONINFORMATION);

    SetMinimumColumnWidths();
    FitColumns();
    UpdateButtons();
    // The shield tells that OK will ask for administrator rights; nothing else does.
    if (WriteNeedsElevation())
        SendMessageA(Item(IDOK), BCM_SETSHIELD, 0, TRUE);

    // An elevated copy's window would otherwise not hear an unelevated second copy.
    systemCalls.allowMessageFromLower(Handle(), WM_APP_IDENTIFY);
    systemCalls.allowMessageFromLower(Handle(), WM_APP_LOADFILE);
    if (sharedBlock_)
        sharedBlock_->hWndMain = static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(Handle()));
    return TRUE;
}

void MainWindow::FillKeyLists()
{
    fromList.SetRedraw(false);
    toList.SetRedraw(false);
    for (int index = 0; index < KeyCatalogue::size; ++index) {
        if (!IsNT && KeyCatalogue::isExtended(KeyCatalogue::entryAt(index).code))
            continue;
        if (index >= 1) {
            fromList.AppendRowWithData(index);
            ++fromListCount;
        }
        toList.AppendRowWithData(index);
        ++toListCount;
    }
    fromList.SetRedraw(true);
    toList.SetRedraw(true);
}

void MainWindow::InsertMappingRows()
{
    mappedList.SetRedraw(false);
    mappedList.ReserveRows(mappings.count());
    mappedList.InsertCallbackRows(0, mappings.count(), true);
    mappedList.SetRedraw(true);
}

bool MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    switch (message) {
    case WM_COMMAND: {
        CommandScope command(*this);
        DispatchCommand(this, commands, LOWORD(wParam));
        return true;
    }
    case WM_NOTIFY: {
        LRESULT value = 0;
        bool handled;
        {
            CommandScope command(*this);
            handled = DispatchNotify(this, notifications, reinterpret_cast<NMHDR*>(lParam), value);
        }
        // Set only now: a hand-over carried out as the scope ended sends notifications too.
        if (handled)
            result = MessageResult(value);
        return handled;
    }
    case WM_APP_IDENTIFY:
        // Answered at once, whatever runs: the second copy waits for it.
        result = MessageResult(INSTANCE_REPLY);
        return true;
    case WM_APP_LOADFILE:
        OnHandOver();
        result = MessageResult(0);
        return true;
    case WM_CONTEXTMENU: {
        // The menu and the key-press window run loops of their own, as a command's boxes do.
        CommandScope command(*this);
        return OnKeyListContextMenu(reinterpret_cast<HWND>(wParam), lParam);
    }
    case WM_DESTROY:
        OnDestroy();
        return false;
    }
    return false;
}

void MainWindow::OnHandOver()
{
    // The block holds one path: hand-overs queued behind this one would only load it again,
    // and a burst of them would keep the window busy for minutes.
    MSG queued;
    while (PeekMessageA(&queued, Handle(), WM_APP_LOADFILE, WM_APP_LOADFILE, PM_REMOVE)) {
    }
    handOverWaiting_ = true;
    if (commandDepth_ == 0)
        CarryOutHandOvers();
}

// The path is read only now, so the latest hand-over wins; one that arrives during this
// load waits for it and is carried out next. Once OK or Cancel has ended the window, a
// waiting hand-over is dropped.
void MainWindow::CarryOutHandOvers()
{
    while (handOverWaiting_) {
        handOverWaiting_ = false;
        if (Ended() || !sharedBlock_)
            return;
        // A copy of it: a hand-over during the load must not change the path under it.
        char path[sizeof sharedBlock_->filePath];
        lstrcpynA(path, sharedBlock_->filePath, sizeof path);
        ++commandDepth_;
        LoadMapFile(path);
        --commandDepth_;
    }
}

void MainWindow::OnDestroy()
{
    mappings.clear();
    DestroyIcon(smallIcon);
    smallIcon = nullptr;
    DestroyIcon(bigIcon);
    bigIcon = nullptr;
    char help[MAX_PATH];
    if (HelpFilePath(help))
        systemCalls.winHelp(Handle(), help, HELP_QUIT, 0);
}

void MainWindow::OnAbout()
{
    AboutBox about;
    about.RunModal(IDD_ABOUTBOX, Handle());
}

void MainWindow::OnHelp() { OpenHelp(Handle()); }
