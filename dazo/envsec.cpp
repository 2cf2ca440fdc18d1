#include "dazo/envsec.h"

FEnv2Sec::FEnv2Sec(const SafePtr<FEnv2>& env, const char* section) : m_pEnv(env), m_strSec(section) {}

void FEnv2Sec::GetString(DataObjStr& out, const char* key, const char* deflt, int* pFound)
{
    m_pEnv->GetString(out, m_strSec, key, deflt, pFound);
}

int FEnv2Sec::WriteString(const char* key, const char* value)
{
    return m_pEnv->WriteString(m_strSec, key, value);
}

SafePtr<EnvSec> FEnv2Sec::GetSubSec(const char* subName)
{
    DataObjStr name;
    name << m_strSec << "\\" << subName;
    return SafePtr<EnvSec>(new FEnv2Sec(m_pEnv, name));
}

long FEnv2Sec::GetInt(const char* key, long deflt, int* pFound)
{
    return m_pEnv->GetInt(m_strSec, key, deflt, pFound);
}

int FEnv2Sec::WriteInt(const char* key, long value)
{
    return m_pEnv->WriteInt(m_strSec, key, value);
}

void NullEnvSec::GetString(DataObjStr& out, const char*, const char* deflt, int* pFound)
{
    out = DataObjStr(deflt);
    if (pFound)
        *pFound = 0;
}

int NullEnvSec::WriteString(const char*, const char*)
{
    return 1;
}

SafePtr<EnvSec> NullEnvSec::GetSubSec(const char*)
{
    return SafePtr<EnvSec>(this);
}

long NullEnvSec::GetInt(const char*, long deflt, int* pFound)
{
    if (pFound)
        *pFound = 0;
    return deflt;
}

int NullEnvSec::WriteInt(const char*, long)
{
    return 1;
}
