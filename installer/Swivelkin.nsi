; Swivelkin's installer: both programs and the user guide under Program Files, a Start-menu
; shortcut, the ".swm"
; file type, an uninstaller and its entry in Add/Remove Programs. On Windows 95/98/ME it
; starts Postlude at the end, which offers the restart that loads the keyboard driver or,
; with the driver running, the start of Swivelkin. The uninstaller takes all
; of that away again but leaves what belongs to the user: the scan-code map in effect
; ("ScanCode Map", the Quorvex key) and SWIVELKIN.INI, once it holds settings, with its
; folder.
;
;   makensis -DSWIVELKIN_EXE=... -DPOSTLUDE_EXE=... -DUSER_GUIDE=... -DOUTFILE=... [-DTARGET=amd64-unicode] Swivelkin.nsi
;
; TARGET defaults to x86-ansi, the kind of installer that also runs on Windows 95/98/ME.

!ifndef TARGET
  !define TARGET x86-ansi
!endif
!ifndef SWIVELKIN_EXE | POSTLUDE_EXE | USER_GUIDE | OUTFILE
  !error "define SWIVELKIN_EXE, POSTLUDE_EXE, USER_GUIDE and OUTFILE"
!endif

!include LogicLib.nsh
!include WinVer.nsh

!define PRODUCT "Swivelkin"
!define VERSION "2.0"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Swivelkin"
!define FILE_TYPE "Swivelkin.MapFile"
!define SHORTCUT "$SMPROGRAMS\Swivelkin.lnk"

Target ${TARGET}
Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Swivelkin"
; A second installation goes where the first one went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
; The file type, the shortcut for all users and the Add/Remove entry need an administrator.
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; No file times from the build machine: two builds of one commit give the same installer.
SetDateSave off
Icon "${__FILEDIR__}\..\app\images\Swivelkin.ico"
UninstallIcon "${__FILEDIR__}\..\app\images\Swivelkin.ico"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "2.0.0.0"
VIFileVersion "2.0.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "The Swivelkin authors"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) the Swivelkin authors. MIT licence."

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Swivelkin"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "/oname=Swivelkin.exe" "${SWIVELKIN_EXE}"
  File "/oname=Postlude.exe" "${POSTLUDE_EXE}"
  ; Help opens it where no help file is found.
  File "/oname=USER-GUIDE.txt" "${USER_GUIDE}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; Swivelkin runs with the user's own rights, which do not reach a new file under Program
  ; Files: the settings file (one section per user) is made here, and on Vista and later
  ; every user of the machine may change it. One kept from before keeps its settings.
  ${IfNot} ${FileExists} "$INSTDIR\SWIVELKIN.INI"
    FileOpen $0 "$INSTDIR\SWIVELKIN.INI" w
    FileClose $0
  ${EndIf}
  ${If} ${AtLeastWinVista}
    ; SYSTEM and administrators: full control; users: read and change (0x1301BF).
    System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptor(t "D:(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x1301bf;;;BU)", i 1, *p .r1, p 0) i .r0'
    ${If} $0 <> 0
      System::Call 'advapi32::SetFileSecurity(t "$INSTDIR\SWIVELKIN.INI", i 4, p r1) i .r0'
      System::Call 'kernel32::LocalFree(p r1)'
    ${EndIf}
    ${If} $0 == 0
      DetailPrint "Users could not be allowed to change $INSTDIR\SWIVELKIN.INI."
    ${EndIf}
  ${EndIf}

  CreateShortCut "${SHORTCUT}" "$INSTDIR\Swivelkin.exe" "" "$INSTDIR\Swivelkin.exe" 0

  ; A double-click on a map file starts Swivelkin with it, or hands it to the copy running.
  WriteRegStr HKCR ".swm" "" "${FILE_TYPE}"
  WriteRegStr HKCR "${FILE_TYPE}" "" "Swivelkin map file"
  WriteRegStr HKCR "${FILE_TYPE}\DefaultIcon" "" "$INSTDIR\Swivelkin.exe,0"
  WriteRegStr HKCR "${FILE_TYPE}\shell\open\command" "" '"$INSTDIR\Swivelkin.exe" "%1"'
  ; SHCNE_ASSOCCHANGED: Explorer shows the new type's icon without a restart.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Swivelkin.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Swivelkin authors"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Once the installer's window has closed. Postlude looks for a wizard window of another
; kind of installer to press its Finish button: it finds none here, waits its second and
; goes on with what the user chose.
Function .onInstSuccess
  ; GetVersion's high bit: Windows 95/98/ME. The NT family needs no Postlude.
  System::Call 'kernel32::GetVersion() i .r0'
  IntOp $0 $0 & 0x80000000
  IntCmp $0 0 done
    Exec '"$INSTDIR\Postlude.exe"'
  done:
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "${SHORTCUT}"

  ; ".swm" only while it still names our type: another program may have taken it over.
  ReadRegStr $0 HKCR ".swm" ""
  StrCmp $0 "${FILE_TYPE}" 0 +3
    DeleteRegValue HKCR ".swm" ""
    DeleteRegKey /ifempty HKCR ".swm"
  DeleteRegKey HKCR "${FILE_TYPE}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  Delete "$INSTDIR\Swivelkin.exe"
  Delete "$INSTDIR\Postlude.exe"
  Delete "$INSTDIR\USER-GUIDE.txt"
  Delete "$INSTDIR\Uninstall.exe"
  ; The settings file the installer made goes while no user has written to it.
  ClearErrors
  FileOpen $0 "$INSTDIR\SWIVELKIN.INI" r
  ${IfNot} ${Errors}
    FileSeek $0 0 END $1
    FileClose $0
    ${If} $1 == 0
      Delete "$INSTDIR\SWIVELKIN.INI"
    ${EndIf}
  ${EndIf}
  ; Not /r: SWIVELKIN.INI with settings in it (every user's) and map files saved here stay,
  ; and with them the folder.
  RMDir "$INSTDIR"

  ; Last, so that an uninstall stopped half-way can be run again from Add/Remove Programs.
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
