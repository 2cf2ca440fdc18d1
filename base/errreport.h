// Error reporting: categories, the reporting functions and the fatal ends.
#pragma once

enum {
    ERR_OPEN = 1,
    ERR_CLOSE = 2,
    ERR_READ = 3,
    ERR_WRITE = 4,
    ERR_NOMEM = 5,
    ERR_DISKFULL = 6,
    ERR_SYSTEM = 7,
    ERR_USER = 8,
    ERR_NOTFOUND = 9,
    ERR_OPEN2 = 10,
    ERR_DATA = 11,
    ERR_FATAL = 12,
};

// Reports an error of the given category with the category's own text;
// returns -1, or does not return for a fatal category.
int ReportErrorCode(int category, const char* context);

[[noreturn]] void FatalExit(const char* text);
[[noreturn]] void AssertFail(const char* file, int line, const char* expression);

// Checks an assertion; src names the module as "dazo/Data" and the like.
#define DZ_ASSERT(src, expr) ((expr) ? (void)0 : AssertFail(src, __LINE__, #expr))
