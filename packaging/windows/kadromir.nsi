; The Windows installer: a per-user install (no administrator), a Start menu entry,
; the picture types registered with a name, the icon and an open command, the viewer
; under "Open with", and an uninstaller listed with the installed programs.
; makensis -DVERSION=x.y.z -DBINARIES=dir -DICON=file.ico -DOUTPUT=file kadromir.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define NAME "Кадромир"
!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kadromir"
!define CLASSES "Software\Classes"

Name "${NAME}"
OutFile "${OUTPUT}"
InstallDir "$LOCALAPPDATA\Programs\${NAME}"
Icon "${ICON}"
UninstallIcon "${ICON}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1049 "ProductName" "${NAME}"
VIAddVersionKey /LANG=1049 "FileDescription" "${NAME}: установка"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "LegalCopyright" "${NAME}"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\Russian.nlf"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A picture type: its class with a name, the icon and the open command; the viewer in
; the type's "Open with" list. TAKE_DEFAULT makes it the type's own program.
!macro RegisterType EXTENSION DESCRIPTION TAKE_DEFAULT
  WriteRegStr HKCU "${CLASSES}\Kadromir${EXTENSION}" "" "${DESCRIPTION}"
  WriteRegStr HKCU "${CLASSES}\Kadromir${EXTENSION}\DefaultIcon" "" "$INSTDIR\kadromir.exe,0"
  WriteRegStr HKCU "${CLASSES}\Kadromir${EXTENSION}\shell\open\command" "" '"$INSTDIR\kadromir.exe" "%1"'
  WriteRegStr HKCU "${CLASSES}\${EXTENSION}\OpenWithProgids" "Kadromir${EXTENSION}" ""
  !if "${TAKE_DEFAULT}" == "1"
    WriteRegStr HKCU "${CLASSES}\${EXTENSION}" "" "Kadromir${EXTENSION}"
  !endif
!macroend

!macro UnregisterType EXTENSION
  DeleteRegKey HKCU "${CLASSES}\Kadromir${EXTENSION}"
  DeleteRegValue HKCU "${CLASSES}\${EXTENSION}\OpenWithProgids" "Kadromir${EXTENSION}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\${EXTENSION}\OpenWithProgids"
  ReadRegStr $0 HKCU "${CLASSES}\${EXTENSION}" ""
  StrCmp $0 "Kadromir${EXTENSION}" 0 +2
    DeleteRegValue HKCU "${CLASSES}\${EXTENSION}" ""
  DeleteRegKey /ifempty HKCU "${CLASSES}\${EXTENSION}"
!macroend

Section
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${BINARIES}/kadromir.exe"
  File "${BINARIES}/kadromir-convert.exe"
  File "${BINARIES}/README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\kadromir.exe" "" "$INSTDIR\kadromir.exe" 0

  !insertmacro RegisterType ".spr" "Картинка SPR" 1
  !insertmacro RegisterType ".rmb" "Картинка RMB" 1
  ; .scr is also the screen savers' type, which Windows runs: the viewer only offers
  ; itself under "Open with" and never takes the type.
  !insertmacro RegisterType ".scr" "Картинка SCR" 0
  WriteRegStr HKCU "${CLASSES}\Applications\kadromir.exe\shell\open\command" "" '"$INSTDIR\kadromir.exe" "%1"'
  WriteRegStr HKCU "${CLASSES}\Applications\kadromir.exe\SupportedTypes" ".spr" ""
  WriteRegStr HKCU "${CLASSES}\Applications\kadromir.exe\SupportedTypes" ".scr" ""
  WriteRegStr HKCU "${CLASSES}\Applications\kadromir.exe\SupportedTypes" ".rmb" ""
  ; Explorer learns of the new types.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr HKCU "${KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKCU "${KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${KEY}" "Publisher" "${NAME}"
  WriteRegStr HKCU "${KEY}" "DisplayIcon" "$INSTDIR\kadromir.exe,0"
  WriteRegStr HKCU "${KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\${NAME}.lnk"
  !insertmacro UnregisterType ".spr"
  !insertmacro UnregisterType ".rmb"
  !insertmacro UnregisterType ".scr"
  DeleteRegKey HKCU "${CLASSES}\Applications\kadromir.exe"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey HKCU "${KEY}"
  Delete "$INSTDIR\kadromir.exe"
  Delete "$INSTDIR\kadromir-convert.exe"
  Delete "$INSTDIR\README.txt"
  ; The settings the viewer keeps beside itself are the user's: asked about, and kept
  ; unless the user lets them go (a silent uninstall removes them).
  IfFileExists "$INSTDIR\${NAME}.кфг" 0 settings_done
    MessageBox MB_YESNO|MB_ICONQUESTION "Удалить и настройки программы (${NAME}.кфг)?" /SD IDYES IDNO settings_done
    Delete "$INSTDIR\${NAME}.кфг"
  settings_done:
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
