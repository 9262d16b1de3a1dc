#include "BenchTools.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tolvaro::bench {
namespace {

std::vector<char*> Pointers(const std::vector<QByteArray>& texts) {
    std::vector<char*> pointers;
    for (const QByteArray& text : texts)
        pointers.push_back(const_cast<char*>(text.constData()));
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double TimeProcess(const std::vector<QByteArray>& arguments,
                   const std::vector<QByteArray>& environment) {
    std::vector<char*> argv = Pointers(arguments);
    std::vector<char*> env = Pointers(environment);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    QElapsedTimer t;
    t.start();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(),
                     environment.empty() ? environ : env.data()) != 0) {
        std::fprintf(stderr, "cannot run %s\n", argv[0]);
        std::exit(1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    posix_spawn_file_actions_destroy(&actions);
    return ms;
}

} // namespace tolvaro::bench
