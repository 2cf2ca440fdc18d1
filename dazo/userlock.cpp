#include "dazo/userlock.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "base/text.h"
#include "dazo/Data.h"
#include "dazo/Func.h"

namespace {

const char ID_TEXT[] = "Corva UserLock ShareDataID";

// Kernel object names: a prefix, then the application ID. The session mutex
// has no namespace prefix, so it lives in the session's own namespace.
const char GLOBAL_MUTEX_PREFIX[] = "Global\\Corva UserLock GlobalMutex ";
const char MAPPING_PREFIX[] = "Global\\Corva UserLock FileMapping ";
const char LOCAL_MUTEX_PREFIX[] = "Corva UserLock LocalMutex ";
const uint32_t BLOCK_VERSION = 500;

// The block shared by every process of every session that uses one ID.
struct SharedBlock {
    char szId[64];
    uint32_t dwVersion;
    uint32_t dwSize;
    char szUser[64];
};
static_assert(sizeof(SharedBlock) == 136, "the shared block is 136 bytes");

struct UserLock {
    HANDLE hMapping;
    HANDLE hGlobalMutex;
    HANDLE hLocalMutex;
    int fGlobalHeld;
    int nState;
    SharedBlock* pView;
    char szUser[64];
    char szAppId[UL_MAXID + 1];
};

UserLock* s_pLock;
UserLockError s_error;
char s_szErrorText[128];
// Kernel object names are built here: prefix, then the ID.
char s_szName[64 + UL_MAXID];

void Record(const char* text, DWORD err = 0, int detail = 0)
{
    SjisCopyCut(s_szErrorText, sizeof(s_szErrorText), text);
    s_error.pszText = s_szErrorText;
    s_error.dwError = err;
    s_error.nDetail = detail;
}

const char* ObjectName(const char* prefix, const char* id)
{
    SjisCopyCut(s_szName, sizeof(s_szName), prefix);
    SjisAppendCut(s_szName, sizeof(s_szName), id);
    return s_szName;
}

bool IsNtFiveOrLater()
{
    DWORD version = GetVersion();
    return !(version & 0x80000000) && LOBYTE(LOWORD(version)) >= 5;
}

// The security descriptors and the SID of one set-up, freed on every way out.
struct SetupResources {
    PSECURITY_DESCRIPTOR pMutexSD = nullptr;
    PSECURITY_DESCRIPTOR pMappingSD = nullptr;
    PACL pAcl = nullptr;
    PSID pEveryone = nullptr;

    ~SetupResources()
    {
        LocalFree(pMutexSD);
        LocalFree(pMappingSD);
        LocalFree(pAcl);
        if (pEveryone)
            FreeSid(pEveryone);
    }
};

// A descriptor with the given access list (null: everyone has full access).
PSECURITY_DESCRIPTOR MakeDescriptor(PACL acl)
{
    PSECURITY_DESCRIPTOR sd = LocalAlloc(LPTR, SECURITY_DESCRIPTOR_MIN_LENGTH);
    if (!sd) {
        Record("メモリの確保に失敗しました", GetLastError());
        return nullptr;
    }
    if (!InitializeSecurityDescriptor(sd, SECURITY_DESCRIPTOR_REVISION)) {
        Record("セキュリティ記述子を初期化できません", GetLastError());
        LocalFree(sd);
        return nullptr;
    }
    if (!SetSecurityDescriptorDacl(sd, TRUE, acl, FALSE)) {
        Record("セキュリティACLを設定できません", GetLastError());
        LocalFree(sd);
        return nullptr;
    }
    return sd;
}

// Creates the shared block, readable by the world group and by nobody else
// but its creator. *pExisted is set when another process made it first.
HANDLE CreateBlock(SetupResources* res, const char* id, bool* pExisted)
{
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &res->pEveryone)) {
        res->pEveryone = nullptr;
        Record("SID の初期化に失敗しました", GetLastError());
        return nullptr;
    }
    DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(res->pEveryone);
    res->pAcl = static_cast<PACL>(LocalAlloc(LPTR, aclSize));
    if (!res->pAcl) {
        Record("メモリを確保できません", GetLastError());
        return nullptr;
    }
    if (!InitializeAcl(res->pAcl, aclSize, ACL_REVISION)) {
        Record("ACLを初期化できません", GetLastError());
        return nullptr;
    }
    if (!AddAccessAllowedAce(res->pAcl, ACL_REVISION, FILE_MAP_READ, res->pEveryone)) {
        Record("セキュリティ禁止ACEを追加できません", GetLastError());
        return nullptr;
    }
    res->pMappingSD = MakeDescriptor(res->pAcl);
    if (!res->pMappingSD)
        return nullptr;
    SECURITY_ATTRIBUTES sa = {sizeof(sa), res->pMappingSD, FALSE};
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, &sa, PAGE_READWRITE | SEC_COMMIT, 0,
                                        sizeof(SharedBlock), ObjectName(MAPPING_PREFIX, id));
    if (!mapping) {
        Record("ファイルマッピングを開けません", GetLastError());
        return nullptr;
    }
    *pExisted = GetLastError() == ERROR_ALREADY_EXISTS;
    return mapping;
}

bool IsOurBlock(const SharedBlock* block)
{
    return std::memcmp(block->szId, ID_TEXT, sizeof(ID_TEXT)) == 0 && block->dwVersion == BLOCK_VERSION &&
           block->dwSize == sizeof(SharedBlock);
}

// The set-up steps that run under the global mutex, so that no other
// session decides or lets go meanwhile.
void SetUpShared(UserLock* lock, SetupResources* res)
{
    const char* id = lock->szAppId;
    SetLastError(0);
    lock->hLocalMutex = CreateMutexA(nullptr, FALSE, ObjectName(LOCAL_MUTEX_PREFIX, id));
    if (!lock->hLocalMutex) {
        Record("ミューテックスを作成できません.", GetLastError());
        return;
    }
    // The session mutex exists already when this user runs another program
    // of the same folder in this session.
    bool sameSession = GetLastError() == ERROR_ALREADY_EXISTS;

    bool opened = true;
    lock->hMapping = OpenFileMappingA(FILE_MAP_READ, FALSE, ObjectName(MAPPING_PREFIX, id));
    if (!lock->hMapping) {
        lock->hMapping = CreateBlock(res, id, &opened);
        if (!lock->hMapping)
            return;
    }
    lock->pView = static_cast<SharedBlock*>(
        MapViewOfFile(lock->hMapping, opened ? FILE_MAP_READ : FILE_MAP_WRITE, 0, 0, sizeof(SharedBlock)));
    if (!lock->pView) {
        Record("共有メモリをアドレスにマップ出来ません", GetLastError());
        return;
    }
    SharedBlock* block = lock->pView;
    if (!opened) {
        std::memset(block, 0, sizeof(*block));
        std::memcpy(block->szId, ID_TEXT, sizeof(ID_TEXT));
        block->dwVersion = BLOCK_VERSION;
        block->dwSize = sizeof(SharedBlock);
        DWORD size = sizeof(block->szUser);
        if (!GetUserNameA(block->szUser, &size)) {
            Record("ユーザー名の取得に失敗", GetLastError());
            return;
        }
    } else if (!IsOurBlock(block)) {
        Record("ユーザー排他処理で使う共有メモリのバージョンが一致しません");
        return;
    }
    // Another process wrote the block: its name need not be terminated.
    std::memcpy(lock->szUser, block->szUser, sizeof(lock->szUser) - 1);
    lock->szUser[sizeof(lock->szUser) - 1] = '\0';
    lock->nState = opened && !sameSession ? UL_INUSE : UL_FREE;
}

void SetUp(UserLock* lock, const char* appId)
{
    std::memset(lock, 0, sizeof(*lock));
    lock->nState = UL_FAILED;
    if (std::strlen(appId) > (size_t)UL_MAXID) {
        Record("アプリケーションIDが長すぎます", 0, UL_DETAIL_IDTOOLONG);
        return;
    }
    std::strcpy(lock->szAppId, appId);
    if (!IsNtFiveOrLater()) {
        // Windows 9x and NT 4.0 have one user at a time: nothing to lock.
        lock->nState = UL_FREE;
        return;
    }

    SetupResources res;
    res.pMutexSD = MakeDescriptor(nullptr);
    if (!res.pMutexSD)
        return;
    SECURITY_ATTRIBUTES sa = {sizeof(sa), res.pMutexSD, FALSE};
    lock->hGlobalMutex = CreateMutexA(&sa, TRUE, ObjectName(GLOBAL_MUTEX_PREFIX, appId));
    if (!lock->hGlobalMutex) {
        Record("ミューテックスを作成できません.", GetLastError());
        return;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        WaitForSingleObject(lock->hGlobalMutex, INFINITE);
    lock->fGlobalHeld = 1;
    SetUpShared(lock, &res);
    ReleaseMutex(lock->hGlobalMutex);
    lock->fGlobalHeld = 0;
}

// "VelundDarvo5 " and the program folder in its full, long form, with
// single-byte letters upper-cased and backslashes turned into slashes.
DataObjStr AppFolderId(const DataObjStr& folder)
{
    DataObjStr id;
    id << "VelundDarvo5 ";
    const char* p = folder;
    for (int i = 0, n; (n = SjisCharLen(p + i)) != 0; i += n) {
        if (n == 2) {
            id << p[i] << p[i + 1];
        } else {
            char c = p[i];
            id << (c == '\\' ? '/' : (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c);
        }
    }
    return id;
}

void StopBox(const DataObjStr& text)
{
    // Shown before the message functions exist, so directly.
    MessageBoxA(nullptr, text, "ヴェルンド！出納帳 Version 5.5(ゼノプ版)", MB_OK | MB_ICONSTOP);
}

}  // namespace

int ulInit(const char* appId)
{
    if (s_pLock) {
        Record("既に初期化済みです");
        return UL_FAILED;
    }
    UserLock* lock = new (std::nothrow) UserLock;
    if (!lock) {
        Record("メモリを確保できません");
        return UL_FAILED;
    }
    s_pLock = lock;
    SetUp(lock, appId);
    return lock->nState;
}

const char* ulGetUser()
{
    return s_pLock ? s_pLock->szUser : "";
}

const UserLockError* ulGetError()
{
    return &s_error;
}

const char* ulGetErrorText()
{
    return s_error.pszText ? s_error.pszText : "";
}

void ulFin()
{
    UserLock* lock = s_pLock;
    if (!lock)
        return;
    if (lock->hGlobalMutex) {
        DWORD wait = WaitForSingleObject(lock->hGlobalMutex, INFINITE);
        if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED)
            Record("ミューテックスを所有できません", GetLastError());
        if (lock->hLocalMutex)
            CloseHandle(lock->hLocalMutex);
        if (lock->pView)
            UnmapViewOfFile(lock->pView);
        if (lock->hMapping)
            CloseHandle(lock->hMapping);
        ReleaseMutex(lock->hGlobalMutex);
        CloseHandle(lock->hGlobalMutex);
    }
    delete lock;
    s_pLock = nullptr;
}

int ulLockAppFolder()
{
    DataObjStr folder = GetFullPath(GetProgramDir());
    int state = ulInit(AppFolderId(folder));
    if (state == UL_FREE) {
        std::atexit(ulFin);
        return 1;
    }
    DataObjStr text;
    if (state == UL_INUSE)
        text << "[" << ulGetUser() << "]が「ヴェルンド！出納帳」または「セットアップ」を既に使用中です.";
    else if (ulGetError()->nDetail == UL_DETAIL_IDTOOLONG)
        text << "フォルダ名が長すぎます！\n\n" << folder;
    else
        text << "エラー！" << ulGetErrorText();
    StopBox(text);
    return 0;
}
