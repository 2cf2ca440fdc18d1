// The record of the setup's choices. The install driver owns it for its whole
// run and fills it, the setup dialog edits it, the install procedure reads
// it. Folder paths end in a backslash once the dialog has checked them; the
// four shell folders end in one or are blank.
#pragma once

#include <cstdint>

#include "dazo/Data.h"

struct SetupParams {
    DataObjStr m_strUserName;
    DataObjStr m_strCompany;
    DataObjStr m_strAppPath;       // program folder: what $(AppPath) expands to
    DataObjStr m_strDocPath;       // data folder: what $(DocPath) expands to
    int32_t m_fUpdate = 0;         // update an installation in place
    int32_t m_fSample = 1;         // copy the sample data
    int32_t m_fDeskIcon = 1;       // put a shortcut on the desktop
    DataObjStr m_strMenuPrivate;   // the user's Start-menu programs
    DataObjStr m_strDeskPrivate;   // the user's desktop
    DataObjStr m_strMenuShared;    // all users' Start-menu programs
    DataObjStr m_strDeskShared;    // all users' desktop
    int32_t m_fShared = 0;         // use the all-users pair of shell folders
    DataObjStr m_strDocBaseShared;   // where the default data folder goes
    DataObjStr m_strDocBasePrivate;
};
