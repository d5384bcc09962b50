// Runs commands as children, taking turns, and prints for each the median CPU time
// (user + system) and the largest peak resident memory of its runs, as the kernel
// accounts them (wait4). Kept to the C library, so that its own memory, which a child
// counts until it executes its command, stays small.
// Usage: kadromir_measure RUNS COMMAND... [--- COMMAND...]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: kadromir_measure RUNS COMMAND... [--- COMMAND...]\n", stderr);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    constexpr int MaxCommands = 8;
    constexpr int MaxRuns = 1000;
    char** commands[MaxCommands];
    int count = 0;
    commands[count++] = argv + 2;
    for (int i = 2; i < argc && count < MaxCommands; ++i) {
        if (std::strcmp(argv[i], "---") == 0) {
            argv[i] = nullptr;
            commands[count++] = argv + i + 1;
        }
    }
    static double cpu[MaxCommands][MaxRuns];
    long peak[MaxCommands] = {};
    for (int run = 0; run < runs && run < MaxRuns; ++run) {
        for (int c = 0; c < count; ++c) {
            const pid_t pid = fork();
            if (pid == 0) {
                const int null = open("/dev/null", O_WRONLY);
                dup2(null, 1);
                dup2(null, 2);
                execvp(commands[c][0], commands[c]);
                _exit(127);
            }
            int status = 0;
            rusage usage{};
            wait4(pid, &status, 0, &usage);
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
                std::fprintf(stderr, "failed: %s\n", commands[c][0]);
                return 1;
            }
            cpu[c][run] = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                          (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
            peak[c] = std::max(peak[c], usage.ru_maxrss);
        }
    }
    for (int c = 0; c < count; ++c) {
        std::sort(cpu[c], cpu[c] + runs);
        std::printf("%.2f %.1f\n", cpu[c][runs / 2], peak[c] / 1024.0);
    }
    return 0;
}
