#include "support/childprocess.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace
{
void readAll(int outFd, int errFd, std::string& out, std::string& err, pid_t pid, int timeoutSeconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    bool outOpen = true, errOpen = true;
    char buffer[4096];
    while (outOpen || errOpen) {
        pollfd fds[2] = {{outOpen ? outFd : -1, POLLIN, 0}, {errOpen ? errFd : -1, POLLIN, 0}};
        const int ready = poll(fds, 2, 100);
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            break;
        }
        if (ready <= 0)
            continue;
        for (int k = 0; k < 2; ++k) {
            if (!(fds[k].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t n = read(fds[k].fd, buffer, sizeof buffer);
            if (n <= 0) {
                (k == 0 ? outOpen : errOpen) = false;
                continue;
            }
            (k == 0 ? out : err).append(buffer, static_cast<size_t>(n));
        }
    }
}

ChildResult finish(pid_t pid, int outPipe[2], int errPipe[2], int timeoutSeconds)
{
    close(outPipe[1]);
    close(errPipe[1]);
    ChildResult result;
    readAll(outPipe[0], errPipe[0], result.output, result.errors, pid, timeoutSeconds);
    close(outPipe[0]);
    close(errPipe[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) {
        result.exited = true;
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    return result;
}

void redirectInChild(int outPipe[2], int errPipe[2])
{
    // Expected aborts must not leave core files behind.
    rlimit noCore = {0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    dup2(outPipe[1], STDOUT_FILENO);
    dup2(errPipe[1], STDERR_FILENO);
    close(outPipe[0]);
    close(errPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);
}
}

ChildResult runInChild(const std::function<void()>& body)
{
    std::fflush(stdout);
    std::fflush(stderr);
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0)
        std::abort();
    const pid_t pid = fork();
    if (pid == 0) {
        redirectInChild(outPipe, errPipe);
        body();
        std::fflush(stdout);
        _exit(0);
    }
    return finish(pid, outPipe, errPipe, 120);
}

ChildResult runProgram(const std::vector<std::string>& argv, const std::string& workingDir,
                       const std::vector<std::string>& extraEnv, int timeoutSeconds)
{
    std::fflush(stdout);
    std::fflush(stderr);
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0)
        std::abort();
    const pid_t pid = fork();
    if (pid == 0) {
        redirectInChild(outPipe, errPipe);
        if (!workingDir.empty() && chdir(workingDir.c_str()) != 0)
            _exit(126);
        for (const std::string& entry : extraEnv)
            putenv(const_cast<char*>(entry.c_str()));
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    return finish(pid, outPipe, errPipe, timeoutSeconds);
}

std::string assertionText(const std::string& expression, const std::string& place, const std::string& message)
{
    return "ASSERTION \"" + expression + "\" FAILED\n   * at:      " + place + "\n   * message: " + message + "\n";
}
