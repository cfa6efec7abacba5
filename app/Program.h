#pragma once
#include <QString>

// Exit status of a start that was refused (another copy runs, or the instance lock cannot be
// made): never 0, so a script that starts the program can tell that it did not run.
inline constexpr int kStartRefused = 1;

// Everything the program does once its application object exists: the single-instance check
// on lockName, "-DEBUG", splash and login, then the event loop. Returns the exit status:
// kStartRefused when the start was refused (after telling the user why), else the event loop's.
int RunProgram(const QString &lockName);
