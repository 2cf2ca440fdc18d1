// A second program of the user lock: takes the lock for the ID given, prints
// the state, the holder's name and the error, lets go and exits with the
// state + 10.
#include <windows.h>

#include <cstdio>

#include "dazo/userlock.h"

int main(int argc, char** argv)
{
    if (argc < 2)
        return 100;
    int state = ulInit(argv[1]);
    std::printf("state %d user [%s] error [%s]\n", state, ulGetUser(), ulGetErrorText());
    std::fflush(stdout);
    ulFin();
    return state + 10;
}
