// The library's allocator. Running out of memory is the fatal category
// ERR_NOMEM: DzAlloc reports "メモリが足りません" and ends the process, so it
// never returns null.
#pragma once
#include <cstddef>

void* DzAlloc(size_t size);
void DzFree(void* p);
