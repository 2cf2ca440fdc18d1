#include "testkit/dialog_template.h"

#include <cwchar>

namespace {

// A text or ordinal field; the predefined control classes by their names.
const WORD* ReadField(const WORD* p, std::string* out)
{
    static const char* const classes[] = {"button", "edit", "static"};
    if (*p == 0xFFFF) {
        *out = p[1] >= 0x80 && p[1] <= 0x82 ? classes[p[1] - 0x80] : "#" + std::to_string(p[1]);
        return p + 2;
    }
    auto text = reinterpret_cast<const wchar_t*>(p);
    char bytes[1024];
    WideCharToMultiByte(932, 0, text, -1, bytes, sizeof(bytes), nullptr, nullptr);
    *out = bytes;
    return p + std::wcslen(text) + 1;
}

}  // namespace

bool ReadDialogTemplate(HMODULE module, const char* name, DialogTemplate* out)
{
    HRSRC info = FindResourceA(module, name, RT_DIALOG);
    if (!info)
        return false;
    auto t = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module, info)));
    *out = {t->style, t->x, t->y, t->cx, t->cy, "", "", 0, {}};
    std::string menu, cls;
    const WORD* p = ReadField(ReadField(reinterpret_cast<const WORD*>(t + 1), &menu), &cls);
    p = ReadField(p, &out->caption);
    if (t->style & DS_SETFONT) {
        out->points = *p;
        p = ReadField(p + 1, &out->font);
    }
    for (int i = 0; i < t->cdit; ++i) {
        // Each control starts on a DWORD boundary.
        auto item = reinterpret_cast<const DLGITEMTEMPLATE*>((reinterpret_cast<UINT_PTR>(p) + 3) & ~UINT_PTR(3));
        TemplateControl c = {static_cast<short>(item->id), "", item->style, "", item->x, item->y, item->cx, item->cy};
        p = ReadField(ReadField(reinterpret_cast<const WORD*>(item + 1), &c.cls), &c.text);
        CharLowerA(&c.cls[0]);
        p += 1 + (*p + 1) / 2;  // the creation data, after its size in bytes
        out->controls.push_back(c);
    }
    return true;
}
