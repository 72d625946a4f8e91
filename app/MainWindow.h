// The program's one window: the mapped keys, the two key lists and the commands on them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Dialog.h"
#include "ListView.h"
#include "MappingList.h"

class Application;

#define WM_APP_IDENTIFY (WM_APP + 5)
#define WM_APP_LOADFILE (WM_APP + 6)
const LRESULT INSTANCE_REPLY = 0xBADDCABB;

class MainWindow : public Dialog {
public:
    explicit MainWindow(Application& application);
    ~MainWindow() override;

    // Runs the window modally; IDOK or IDCANCEL.
    INT_PTR Run();

    void SyncKeyLists(int row);
    void UpdateButtons();
    void FitColumns();
    BOOL LoadMapFile(const char* path);

    // Editing commands
    void OnMap();
    void OnSwap();
    void OnDisable();
    void OnUnmap();
    int SetMappingRow(ScanCode from, ScanCode to);

    // Map files
    void OnSaveMap();
    void OnLoadMap();
    void SaveMapFile(const std::string& path);
    bool AskForMapFile(bool save, std::string& path);
    void RememberDirectory(const std::string& path);

    void OnOK();
    void OnCancel();
    void OnAbout();

    std::string savePath;
    std::string commandLineFile;
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

    // Notification handlers
    LRESULT OnMappedDispInfo(NMHDR* header);
    LRESULT OnKeyDispInfo(NMHDR* header);
    LRESULT OnCustomDraw(NMHDR* header);
    LRESULT OnKeyItemChanged(NMHDR* header);
    LRESULT OnMappedItemChanged(NMHDR* header);
    LRESULT OnMappedSetFocus(NMHDR* header);
    LRESULT OnMappedKeyDown(NMHDR* header);

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void FillKeyLists();
    void InsertMappingRows();
    void FinishChange();
    void RunRestartNotice();
    void OnDestroy();
    bool SelectMatchingKey(ListView& list, int listCount, ScanCode code);
    int DrawValue(int controlId, const NMLVCUSTOMDRAW& draw) const;
    const char* RowName(const char* name, ScanCode code, int slot);
    HWND MakeMeasuringList();
    int AutoSizedWidth(HWND standIn, int column, int how);
    void SetMinimumColumnWidths();

    Application& application_;
    char unknownName_[2][24];  // text of codes without a name, handed to the list view
};

// True when the list-view library is version 4.70 or later (full-row selection).
bool ListViewSupportsFullRowSelect();
