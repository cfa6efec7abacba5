#pragma once
#include <QString>

class uclQlif;

// Why the link's last memory dump failed, for the log pane: the dump as the windows name it,
// where it stopped and why, e.g. "FLASH Dump (EP) failed at block 1 of 4096: no answer from
// the instrument (4 tries)". Empty when the last dump completed, and when only its file could
// not be written (that is DumpFileError()).
QString DumpFailure(const uclQlif &link);
