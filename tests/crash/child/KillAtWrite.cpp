/* Preloaded into the crash test's child: kills the process with SIGKILL at
 * the n-th write, pwrite or fsync on a file of the data folder, counted from
 * the moment the child arms it (VELMORA_KILL_ARMED=1). VELMORA_KILL_AT=n picks
 * the call; VELMORA_KILL_AFTER=1 lets that call finish first. Each call is
 * logged as a line to VELMORA_KILL_LOG when set, so the parent knows how many
 * there are. */
#include <dlfcn.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

extern "C" {

static long calls;

static int counted(int fd)
{
    const char* armed = getenv("VELMORA_KILL_ARMED");
    const char* folder = getenv("VELMORA_KILL_FOLDER");
    if (!armed || strcmp(armed, "1") != 0 || !folder)
        return 0;
    char link[64], target[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    ssize_t n = readlink(link, target, sizeof target - 1);
    if (n <= 0)
        return 0;
    target[n] = 0;
    return strncmp(target, folder, strlen(folder)) == 0;
}

static void logCall(const char* what)
{
    const char* log = getenv("VELMORA_KILL_LOG");
    if (!log)
        return;
    FILE* f = fopen(log, "a");
    if (f) {
        fprintf(f, "%ld %s\n", calls, what);
        fclose(f);
    }
}

/* Before the call: kill unless the call is to finish first. */
static void before(const char* what)
{
    ++calls;
    logCall(what);
    const char* at = getenv("VELMORA_KILL_AT");
    const char* after = getenv("VELMORA_KILL_AFTER");
    if (at && atol(at) == calls && !(after && strcmp(after, "1") == 0))
        kill(getpid(), SIGKILL);
}

static void afterCall(void)
{
    const char* at = getenv("VELMORA_KILL_AT");
    const char* after = getenv("VELMORA_KILL_AFTER");
    if (at && atol(at) == calls && after && strcmp(after, "1") == 0)
        kill(getpid(), SIGKILL);
}

#define WRAP(ret, name, params, args, fdArg)                                   \
    ret name params                                                           \
    {                                                                         \
        using Fn = ret(*) params;                                             \
        static Fn real;                                                       \
        if (!real)                                                            \
            real = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, #name));             \
        const int c = counted(fdArg);                                         \
        if (c)                                                                \
            before(#name);                                             \
        ret r = real args;                                                    \
        if (c)                                                                \
            afterCall();                                                      \
        return r;                                                             \
    }

WRAP(ssize_t, write, (int fd, const void* buf, size_t n), (fd, buf, n), fd)
WRAP(ssize_t, pwrite, (int fd, const void* buf, size_t n, off_t off), (fd, buf, n, off), fd)
WRAP(ssize_t, pwrite64, (int fd, const void* buf, size_t n, off_t off), (fd, buf, n, off), fd)
WRAP(int, fsync, (int fd), (fd), fd)
WRAP(int, fdatasync, (int fd), (fd), fd)

} // extern "C"
