// FEnv2: one settings file (".ENV", and the file list "SETUP.LST"), held in
// memory as its raw text. Lookups scan the text; writes edit it in place;
// Save writes it back whole. Nothing is parsed into a table, so every byte
// that no write touched (comments, blank lines, odd lines, the order of
// everything) goes back to the file unchanged.
//
// The format: lines end with CR LF (a lone CR or LF is part of its line). A
// line "[" name "]" starts a section; a line key "=" value is a key of the
// section above it (the lines before the first header form the null
// section); a line that starts with ";" is a comment; any other line is kept
// and never matches. Names compare as dazo/envname.h says, and the first
// matching section and the first matching key in it win.
#pragma once

#include <windows.h>

#include <cstdint>

#include "dazo/Data.h"
#include "dazo/SafeObject.h"
#include "dazo/filelock.h"
#include "dazo/keyfilter.h"

enum {
    ENV_LOADED = 0x02,    // state: the file was read; Save refuses to run without it
    ENV_DIRTY = 0x04,     // state: a write changed the text
    ENV_CREATE = 0x08,    // open the file even when it does not exist (an empty text)
    ENV_LOCK = 0x10,      // take the lock while reading (shared) and saving (exclusive)
    ENV_HOLDLOCK = 0x20,  // hold the exclusive lock from construction to destruction; clears ENV_LOCK
    ENV_SECURE = 0x40,    // lock file and saved file get the shared security attributes
    ENV_HIDDEN = 0x80,    // the file is created with the hidden attribute
};

class FEnv2 : public SafeObject {
public:
    // Reads the file; ENV_LOADED says whether that worked (a failure has been
    // reported). The lock is waited for msTimeout ms, msInterval ms apart.
    FEnv2(const DataObjStr& path, DWORD flags, DWORD msTimeout = 10000, DWORD msInterval = 100);
    ~FEnv2() override;

    // out = the value (the bytes after "=" up to CR LF), or deflt when the
    // section (null: the null section) or the key is missing.
    void GetString(DataObjStr& out, const char* section, const char* key, const char* deflt, int* pFound = nullptr);
    // The value as atol reads it, or deflt when missing.
    long GetInt(const char* section, const char* key, long deflt, int* pFound = nullptr);
    // Sets the key; a null value deletes its line. 1, also when nothing had
    // to change; 0 (nothing changed, nothing reported) for a section holding
    // CR, LF or "]", a key holding CR, LF or "=" or starting with ";" or "[",
    // or a value holding CR or LF.
    int WriteString(const char* section, const char* key, const char* value);
    int WriteInt(const char* section, const char* key, long value);
    // The keys of the section in file order, each ended by a NUL, and one NUL
    // more at the end. Comments, lines without "=" and empty keys are left
    // out.
    DataObjStr EnumKeys(const char* section);
    // Writes the text to path + ".BAK", then puts that in the place of the
    // file in one step. 1 on success, 0 on failure (reported).
    int Save();

    DWORD GetFlags() const { return m_dwFlags; }
    const DataObjStr& GetPath() const { return m_strPath; }
    const DataObjStr& GetLockPath() const { return m_strLockPath; }
    const char* GetText() const { return m_buff; }
    uint32_t GetTextSize() const { return m_sizeData; }
    uint32_t GetAllocSize() const { return m_sizeAlloc; }

private:
    // A place in the text: a line start, a line end (its CR), or the end of
    // the text.
    using Pos = uint32_t;

    // Construction and the growth rule (fenv2load.cpp).
    void Read();
    void TrimEnd();
    void Reserve(uint64_t size);
    void ReportLockTimeout(int category, const char* contextTail);
    // Scanning (fenv2find.cpp).
    Pos LineEnd(Pos pos) const;
    Pos NextLine(Pos lineEnd) const;
    bool LineStartsWith(Pos pos, Pos lineEnd, const char* name, char after, Pos* pNext) const;
    bool FindSection(const char* section, Pos* pData) const;
    bool FindKey(Pos data, const char* key, Pos* pLine, Pos* pValue) const;
    // Lookups that go on from the previous one (fenv2hint.cpp).
    bool SeekSection(const char* section);
    bool FindKeyHinted(const char* section, const char* key, Pos* pValue);
    // Editing (fenv2write.cpp) and saving (fenv2save.cpp).
    void Replace(Pos pos, uint32_t oldSize, const char* bytes, uint32_t newSize);
    int WriteCopy(const DataObjStr& bak);

    char* m_buff = nullptr;
    uint32_t m_sizeAlloc = 0;
    uint32_t m_sizeData = 0;
    DWORD m_dwFlags = 0;
    uint32_t m_sizeMin = 10240;
    uint32_t m_sizeGrow = 2048;
    SafePtr<FileLock> m_pLock;
    DataObjStr m_strPath;
    DataObjStr m_strLockPath;
    DWORD m_msTimeout = 10000;
    DWORD m_msInterval = 100;

    // Where the last lookup stopped in which section; the keys of the lines
    // it passed are in the filter. Every change of the text drops it.
    struct ScanHint {
        bool fValid = false;
        bool fNullSection = false;
        DataObjStr strSection;  // as the caller spelled it
        Pos data = 0;           // the section's first line
        Pos next = 0;           // the keys of the lines [data, next) are in filter
        KeyFilter filter;
    };
    ScanHint m_hint;
};
