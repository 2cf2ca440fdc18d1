// The copy engine's failure reports.
#include "setup/copyreport.h"

#include "base/errreport.h"
#include "dazo/Func.h"
#include "setup/copyengine.h"

int ReportReadFailure(DWORD err, const DataObjStr& source)
{
    DataObjStr context;
    context << "ファイル[" << source << "]を読み込むことが出来ません";
    ReportFileError(err, ERR_READ, source, context);
    return COPY_FAILED;
}

int ReportWriteFailure(DWORD err, const DataObjStr& target)
{
    DataObjStr context;
    context << "ファイル[" << target << "]へ書き込むことが出来ません";
    ReportFileError(err, ERR_WRITE, target, context);
    return COPY_FAILED;
}

int ReportDeleteFailure(DWORD err, const DataObjStr& target)
{
    ReportFileError(err, ERR_WRITE, target, target + " を削除できません");
    return COPY_FAILED;
}

int ReportExpandFailure(const DataObjStr& source)
{
    ReportErrorCode(ERR_READ, source);
    return COPY_FAILED;
}
