// Runs code or a program in a child process and captures its standard output,
// so fatal assertions (which print and abort) can be checked from a test.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct ChildResult
{
    bool exited = false;   // ended through exit/return
    int exitCode = -1;     // valid when exited
    int signal = 0;        // the signal that ended it, 0 if none
    std::string output;    // everything written to standard output
    std::string errors;    // everything written to standard error
};

// Forks; the child runs body, then exits 0.
ChildResult runInChild(const std::function<void()>& body);

// Runs a program (argv[0] is its path) with an optional working folder and
// extra environment entries ("NAME=value"); stops it after timeoutSeconds.
ChildResult runProgram(const std::vector<std::string>& argv, const std::string& workingDir = "",
                       const std::vector<std::string>& extraEnv = {}, int timeoutSeconds = 60);

// The three lines a failed fatal assertion prints.
std::string assertionText(const std::string& expression, const std::string& place, const std::string& message);
