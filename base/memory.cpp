#include "base/memory.h"

#include <cstdlib>

#include "base/errreport.h"

void* DzAlloc(size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p)
        ReportErrorCode(ERR_NOMEM, "");
    return p;
}

void DzFree(void* p)
{
    std::free(p);
}
