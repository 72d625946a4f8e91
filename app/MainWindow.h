// The program's one window: the mapped keys, the two key lists and the commands on them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "Dialog.h"
#include "ListView.h"
#include "MappingList.h"
#include "SettingsFile.h"
#include "SharedInstanceBlock.h"
#include "StoreResults.h"
#include "Text.h"

#define WM_APP_IDENTIFY (WM_APP + 5)
#define WM_APP_LOADFILE (WM_APP + 6)
const LRESULT INSTANCE_REPLY = 0xBADDCABB;

// Each group of members says which file holds it.
class MainWindow : public Dialog {
public:
    // The window writes its handle into `sharedBlock` (when there is one) and loads the files
    // handed over through it; it opens with `commandLineFile` loaded, when one is named, and
    // its file dialogs start in `savePath`.
    MainWindow(SettingsFile& settings, SharedInstanceBlock* sharedBlock, const Text& commandLineFile = Text(),
               const Text& savePath = Text());
    ~MainWindow() override;

    // MainWindow.cpp: runs the window modally; IDOK or IDCANCEL.
    INT_PTR Run();

    // MainWindowFiles.cpp: Save and Load of map and registry files.
    BOOL LoadMapFile(const char* path);
    void SaveMapFile(const Text& path);
    void RememberDirectory(const Text& path);

    // The window's state, read by its tests as a user would see it.
    Text savePath;
    Text commandLineFile;
    HWND swapButton = nullptr;
    ListView toList;
    ListView fromList;
    HWND unmapButton = nullptr;
    MappedKeysList mappedList;
    int noColor = 0;
    int keyColumnMinWidth = 0;
    int mappedToColumnMinWidth = 0;
    MappingList mappings;
    int toListCount = 0;
    int fromListCount = 0;
    ScanCode selectedToCode = 0;
    ScanCode selectedFromCode = 0;
    int dirty = 0;
    int warnRestart = 1;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    HIMAGELIST kindImages = nullptr;

protected:
    // MainWindow.cpp: opening, the message dispatch, the hand-over, About, Help, closing.
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    // Marks a command (or a load) under way for its lifetime. The boxes and dialogs of a
    // command run their own message loops, which dispatch a second copy's hand-over to this
    // window in the middle of the command; it waits until the outermost command has ended.
    class CommandScope {
    public:
        explicit CommandScope(MainWindow& window) : window_(window) { ++window_.commandDepth_; }
        ~CommandScope()
        {
            if (--window_.commandDepth_ == 0)
                window_.CarryOutHandOvers();
        }
        CommandScope(const CommandScope&) = delete;
        CommandScope& operator=(const CommandScope&) = delete;

    private:
        MainWindow& window_;
    };

    // MainWindow.cpp
    static const CommandEntry<MainWindow> commands[];
    static const NotifyEntry<MainWindow> notifications[];
    void FillKeyLists();
    void InsertMappingRows();
    // A second copy's hand-over (WM_APP_LOADFILE): carried out at once when no command is
    // under way, otherwise kept waiting until the command has ended.
    void OnHandOver();
    void CarryOutHandOvers();
    void OnAbout();
    void OnHelp();
    void OnDestroy();

    // MainWindowEdit.cpp: the editing commands.
    void OnMap();
    void OnSwap();
    void OnDisable();
    void OnUnmap();
    int SetMappingRow(ScanCode from, ScanCode to);
    void FinishChange();

    // MainWindowFiles.cpp
    void OnSaveMap();
    void OnLoadMap();
    bool AskForMapFile(bool save, Text& path);

    // MainWindowApply.cpp: OK and Cancel; MainWindowElevated.cpp: OK's elevated copy.
    void OnOK();
    void OnCancel();
    bool ConfirmLogOnKeys();
    void RunRestartNotice();
    bool WriteElevated(StoreWriteResult& written);

    // MainWindowLists.cpp: the three lists' rows, colours, selections and column widths.
    void SyncKeyLists(int row);
    void UpdateButtons();
    void FitColumns();
    LRESULT OnMappedDispInfo(NMHDR* header);
    LRESULT OnKeyDispInfo(NMHDR* header);
    LRESULT OnCustomDraw(NMHDR* header);
    LRESULT OnKeyItemChanged(NMHDR* header);
    LRESULT OnMappedItemChanged(NMHDR* header);
    LRESULT OnMappedSetFocus(NMHDR* header);
    LRESULT OnMappedKeyDown(NMHDR* header);
    bool SelectMatchingKey(ListView& list, int listCount, ScanCode code);
    int DrawValue(int controlId, const NMLVCUSTOMDRAW& draw) const;
    const char* RowName(const char* name, ScanCode code, int slot);
    HWND MakeMeasuringList();
    int AutoSizedWidth(HWND standIn, int column, int how);
    void SetMinimumColumnWidths();

    // MainWindowKeyPress.cpp: select-by-pressing from a key list's context menu.
    bool OnKeyListContextMenu(HWND control, LPARAM position);
    void SelectKeyByPressing(ListView& list, int listCount, const char* listName);

    SettingsFile& settings_;
    SharedInstanceBlock* sharedBlock_;
    int commandDepth_ = 0;
    bool handOverWaiting_ = false;
    char unknownName_[2][24];  // text of codes without a name, handed to the list view
};
