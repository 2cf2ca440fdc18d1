// One section of the file list, entry by entry, with the progress window
// showing which file is being copied and its stop button seen between
// entries.
#include <cstring>

#include "dazo/Doingwnd.h"
#include "dazo/Func.h"
#include "dazo/fenv2.h"
#include "setup/copyengine.h"
#include "setup/filelist.h"

int CopyFileList(FEnv2* list, DoingWnd* doing, const char* section, const DataObjStr& sourceFolder,
                 const DataObjStr& appPath, const DataObjStr& docPath)
{
    DataObjStr source = AddBackslash(sourceFolder);
    HWND owner = doing->HWnd();
    DataObjStr keys = list->EnumKeys(section);
    for (const char* key = keys; *key; key += std::strlen(key) + 1) {
        FileListEntry entry;
        if (!ReadListEntry(list, section, key, appPath, docPath, &entry))
            continue;
        DataObjStr text;
        text << "コピー中：" << entry.m_strName;
        doing->SetText(text);
        // A stop asked for is seen here only, between entries: the entry
        // about to be copied is left untouched, or copied after a No.
        if (!doing->CheckCancel()) {
            if (ConfirmAbort(owner))
                return 0;
            doing->m_fCancel = 0;
        }
        if (!CopyListEntry(entry, source, owner))
            return 0;
    }
    return 1;
}
