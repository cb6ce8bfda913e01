#pragma once
// An unhandled C++ exception or a fatal signal (segmentation fault, bus error,
// arithmetic or illegal instruction) prints a report on standard output and
// ends the process with exit code 217. The main program installs this first.

constexpr int UnhandledExceptionExitCode = 217;

void InstallCrashHandlers();
