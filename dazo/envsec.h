// Section objects: one section of a settings file as an object of its own,
// so that code can be handed "its" section without knowing the file.
// FEnv2Sec is a section of an FEnv2; NullEnvSec is the empty section that
// stands in where there is no file (reads give the defaults, writes vanish).
#pragma once

#include "dazo/Data.h"
#include "dazo/SafeObject.h"
#include "dazo/fenv2.h"

class EnvSec : public SafeObject {
public:
    virtual void GetString(DataObjStr& out, const char* key, const char* deflt, int* pFound = nullptr) = 0;
    virtual int WriteString(const char* key, const char* value) = 0;
    // The subsection name + "\" + subName.
    virtual SafePtr<EnvSec> GetSubSec(const char* subName) = 0;
    virtual long GetInt(const char* key, long deflt, int* pFound = nullptr) = 0;
    virtual int WriteInt(const char* key, long value) = 0;
};

class FEnv2Sec : public EnvSec {
public:
    FEnv2Sec(const SafePtr<FEnv2>& env, const char* section);

    void GetString(DataObjStr& out, const char* key, const char* deflt, int* pFound = nullptr) override;
    int WriteString(const char* key, const char* value) override;
    SafePtr<EnvSec> GetSubSec(const char* subName) override;
    long GetInt(const char* key, long deflt, int* pFound = nullptr) override;
    int WriteInt(const char* key, long value) override;

    const DataObjStr& GetName() const { return m_strSec; }

private:
    SafePtr<FEnv2> m_pEnv;
    DataObjStr m_strSec;
};

class NullEnvSec : public EnvSec {
public:
    void GetString(DataObjStr& out, const char* key, const char* deflt, int* pFound = nullptr) override;
    int WriteString(const char* key, const char* value) override;
    SafePtr<EnvSec> GetSubSec(const char* subName) override;
    long GetInt(const char* key, long deflt, int* pFound = nullptr) override;
    int WriteInt(const char* key, long value) override;
};
