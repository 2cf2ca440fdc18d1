#include "dazo/sharedsec.h"

#include "base/errreport.h"

// Everything lives in static storage (the world SID has a fixed size), so the
// attributes need no clean-up at exit.
static BYTE s_everyone[SECURITY_MAX_SID_SIZE];
alignas(DWORD) static BYTE s_acl[sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE];
static SECURITY_DESCRIPTOR s_descriptor;
static SECURITY_ATTRIBUTES s_attributes;
static SECURITY_ATTRIBUTES* s_pShared;

static int Failed(const char* what)
{
    ReportSysError(ERR_SYSTEM, GetLastError(), what);
    return 0;
}

int InitSharedSecurity()
{
    if (s_pShared)
        return 1;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = s_everyone;
    if (!InitializeSid(everyone, &world, 1))
        return Failed("SID の初期化に失敗しました");
    *GetSidSubAuthority(everyone, 0) = SECURITY_WORLD_RID;
    PACL acl = reinterpret_cast<PACL>(s_acl);
    if (!InitializeAcl(acl, sizeof(s_acl), ACL_REVISION))
        return Failed("ACLを初期化できません");
    if (!AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, everyone))
        return Failed("セキュリティ禁止ACEを追加できません");
    if (!InitializeSecurityDescriptor(&s_descriptor, SECURITY_DESCRIPTOR_REVISION))
        return Failed("セキュリティ記述子を初期化できません");
    if (!SetSecurityDescriptorDacl(&s_descriptor, TRUE, acl, FALSE))
        return Failed("セキュリティACLを設定できません");
    s_attributes = {sizeof(s_attributes), &s_descriptor, FALSE};
    s_pShared = &s_attributes;
    return 1;
}

SECURITY_ATTRIBUTES* GetSharedSecurity()
{
    return s_pShared;
}
