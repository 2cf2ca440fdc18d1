// Values of INI files and of the registry, whole however long they are.
#include <cstring>

#include "base/text.h"
#include "dazo/Func.h"

DataObjStr GetIniString(const char* section, const char* key, const char* deflt, const char* file)
{
    if (!file || IsBlankText(file))
        file = "WIN.INI";
    if (!deflt)
        deflt = "";
    DataObjStr value;
    // GetPrivateProfileStringA answers size - 1 when it had to cut the value:
    // try again with twice the room until the value fits.
    for (DWORD size = 10;; size *= 2) {
        DWORD len = GetPrivateProfileStringA(section, key, deflt, value.GetBuffer(size), size, file);
        if (len < size - 1 || size >= 0x10000000) {
            value.GetBuffer(0)[len] = '\0';
            value.SetSize(len + 1);
            return value;
        }
    }
}

LONG RegQueryString(HKEY key, const char* name, DWORD* pType, DataObjStr* pOut, DWORD* pcb)
{
    DataObjStr value;
    DWORD size = pcb ? *pcb : 0;
    LONG result = ERROR_MORE_DATA;
    for (int attempt = 0; attempt < 10 && result == ERROR_MORE_DATA; ++attempt) {
        DWORD cb = size;
        // One byte more than asked for: a stored string need not end in NUL.
        char* buf = value.GetBuffer((int)cb + 1);
        result = RegQueryValueExA(key, name, nullptr, pType, reinterpret_cast<BYTE*>(buf), &cb);
        size = cb;
        if (result == ERROR_SUCCESS)
            buf[cb] = '\0';
    }
    if (result != ERROR_SUCCESS)
        value = DataObjStr();
    if (pOut)
        *pOut = value;
    if (pcb)
        *pcb = size;
    return result;
}
