// A stand-in for the uninstall (removal of a program folder), which is not
// built yet. It shows what it was asked to do, so that the start-up and the
// mode selection can be seen working end to end.

#include "base/msgbox.h"
#include "setup/setup.h"

// OK stands for a removal that completed, Cancel for one that did not.
void RunAddRemove(DataObjStr programFolder)
{
    g_nExitCode = 1;
    DataObjStr text;
    text << "UNINSTALL [" << programFolder << "]";
    if (ShowMessage(nullptr, text, nullptr, MB_OKCANCEL) == IDOK)
        g_nExitCode = 0;
}
