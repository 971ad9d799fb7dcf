// Threads that only count, for showing what the emulator does to 32-bit Wine threads that run at
// the same time: `two_threads.exe 1` ends with "counted", `two_threads.exe 2` breaks under qemu-i386.
#include <cstdio>
#include <cstdlib>
#include <windows.h>

static DWORD WINAPI Count(void*)
{
    volatile int count = 0;
    for (int i = 0; i < 5000000; i++)
        count = count + 1;
    return 0;
}

int main(int argc, char** argv)
{
    int threads = argc > 1 ? atoi(argv[1]) : 2;
    if (threads < 1 || threads > MAXIMUM_WAIT_OBJECTS)
        return 2;
    HANDLE handles[MAXIMUM_WAIT_OBJECTS];
    for (int t = 0; t < threads; t++)
        handles[t] = CreateThread(nullptr, 0, Count, nullptr, 0, nullptr);
    WaitForMultipleObjects(threads, handles, TRUE, INFINITE);
    printf("counted on %d threads\n", threads);
    return 0;
}
