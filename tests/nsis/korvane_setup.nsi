; A real silent installer for the end-to-end runs and the demonstration: it
; installs the stand-in classic edition as Korvane.exe, as the product's own
; installer would. Built with
;   makensis -DCLASSIC_EXE=<gui_classic.exe> -DOUTFILE=<setup.exe> [-DTARGET=amd64-unicode] korvane_setup.nsi
;
; What it was asked to do is left beside it, UTF-16 with a byte-order mark,
; one line per start, so that a test can check it to the letter:
;   installer_calls.txt    its command line, which NSIS gives without the
;                          /D= part, since that takes the rest of the line
;   installed_into.txt     the folder it installed into, as /D= gave it
; An optional install_delay_ms.txt beside it sets how long it works
; (default 1000 ms), so that a test can catch it mid-install.
; Without /S it installs nothing: the switch must always run it silently.

Unicode true
; The 32-bit suite and the demonstration use an x86 installer, as users get;
; the 64-bit suite an amd64 one, so that it runs where 32-bit code cannot.
!ifndef TARGET
  !define TARGET x86-unicode
!endif
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel user
Name "Korvane"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Korvane"
ShowInstDetails nevershow
AutoCloseWindow true

Var record
Var delay

Function AppendRecord
    Exch $0  ; the file
    Exch
    Exch $1  ; the line
    FileOpen $record "$EXEDIR\$0" a
    StrCmp $record "" done
    FileSeek $record 0 END $0
    StrCmp $0 "0" 0 +2
        FileWriteWord $record 0xFEFF
    FileWriteUTF16LE $record "$1$\r$\n"
    FileClose $record
done:
    Pop $1
    Pop $0
FunctionEnd

!macro Record file line
    Push "${line}"
    Push "${file}"
    Call AppendRecord
!macroend

Function .onInit
    !insertmacro Record "installer_calls.txt" "$CMDLINE"
    IfSilent +2
        Abort
FunctionEnd

Section
    StrCpy $delay 1000
    FileOpen $0 "$EXEDIR\install_delay_ms.txt" r
    StrCmp $0 "" sleep
    FileRead $0 $delay
    FileClose $0
    IntOp $delay $delay + 0
sleep:
    Sleep $delay
    SetOutPath "$INSTDIR"
    File "/oname=Korvane.exe" "${CLASSIC_EXE}"
    !insertmacro Record "installed_into.txt" "$INSTDIR"
SectionEnd
