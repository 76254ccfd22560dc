@echo off
rem Runs every test program of this kit from its own folder, each in a shuffled order, and ends
rem with one line "N passed, M failed" (programs). Every program's output goes to results.txt.
rem The exit status is 0 only when every program passed. Started by a double-click, it waits for
rem a key at the end so the window stays readable; set KIT_NO_PAUSE=1 to skip that.
setlocal enabledelayedexpansion
cd /d "%~dp0"
set passed=0
set failed=0
echo Quellix Frontend test kit>results.txt
ver>>results.txt
for %%p in (*_test.exe) do (
    echo == %%p >> results.txt
    "%%p" --gtest_shuffle >> results.txt 2>&1
    if errorlevel 1 (
        set /a failed+=1
        echo FAILED  %%p
    ) else (
        set /a passed+=1
        echo passed  %%p
    )
)
rem A kit whose programs are missing must not report success.
if !passed! equ 0 set /a failed+=1
echo !passed! passed, !failed! failed>>results.txt
echo !passed! passed, !failed! failed
if not defined KIT_NO_PAUSE pause
if !failed! gtr 0 exit /b 1
exit /b 0
