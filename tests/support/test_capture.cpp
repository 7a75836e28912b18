#include "test_capture.h"

#include "test_root.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

StdoutCapture::StdoutCapture(const std::string& path) : mPath(path)
{
    std::fflush(stdout);
    mSaved = dup(STDOUT_FILENO);
    const int fd = open(mPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, STDOUT_FILENO);
    close(fd);
}

StdoutCapture::~StdoutCapture()
{
    restore();
}

std::string StdoutCapture::peek() const
{
    std::fflush(stdout);
    return readTextFile(mPath);
}

std::string StdoutCapture::text()
{
    restore();
    return readTextFile(mPath);
}

void StdoutCapture::restore()
{
    if (mSaved < 0)
        return;
    std::fflush(stdout);
    dup2(mSaved, STDOUT_FILENO);
    close(mSaved);
    mSaved = -1;
}

int runInChild(const std::function<int()>& body, std::string* output, ChildOutput captured)
{
    int channel[2];
    if (pipe(channel) != 0)
        return -1;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        close(channel[0]);
        close(channel[1]);
        return -1;
    }
    if (child == 0) {
        if (captured == ChildOutput::StdoutAndStderr)
            dup2(channel[1], STDOUT_FILENO);
        dup2(channel[1], STDERR_FILENO);
        close(channel[0]);
        close(channel[1]);
        const int status = body();
        std::fflush(nullptr);
        _exit(status);
    }
    close(channel[1]);
    char buffer[512];
    ssize_t n;
    while ((n = read(channel[0], buffer, sizeof buffer)) > 0)
        if (output)
            output->append(buffer, static_cast<size_t>(n));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool limitFileSize(unsigned long long bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit;
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return false;
    limit.rlim_cur = bytes == kNoFileSizeLimit ? limit.rlim_max : static_cast<rlim_t>(bytes);
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}
