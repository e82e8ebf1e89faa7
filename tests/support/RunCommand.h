#pragma once
// Runs a command line through the shell as a user types it, and returns its exit code and what it
// wrote: standard error apart, or joined into standard output in the order the program wrote them.

#include "tests/support/TempDir.h"

#include <cstdio>
#include <string>
#include <sys/wait.h>

struct RunResult
{
    int code = -1;   // the exit code; -1 when the command could not start or did not exit
    std::string out; // standard output, with standard error when they are joined
    std::string err; // standard error when apart
};

enum class ErrorOutput
{
    Apart,
    Joined
};

inline RunResult RunCommand(const std::string& command, ErrorOutput errors = ErrorOutput::Apart)
{
    RunResult result;
    const CTempDir scratch;
    const std::string errFile = scratch.File("stderr");
    const std::string line = command + (errors == ErrorOutput::Joined ? " 2>&1" : " 2>'" + errFile + "'");
    FILE* pipe = popen(line.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, n);
    const int status = pclose(pipe);
    result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (errors == ErrorOutput::Apart)
        result.err = ReadFileBytes(errFile);
    return result;
}
