#pragma once
#include <QString>

// Folder of the program: its settings file, serial log, animation and dumps live here.
// Tests point it at a scratch folder.
QString AppPath();
void SetAppPath(const QString &path);
// AppPath() + "/" + name.
QString AppFile(const QString &name);
