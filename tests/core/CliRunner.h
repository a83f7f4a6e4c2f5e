// halvern-cli as the tests run it, as a user would from a shell: each argument quoted, the
// standard output and standard error kept apart, the exit code, and a run that hangs stopped
// (exit code 124) instead of stopping the suite.
#pragma once
#ifdef HALVERN_CLI
#include "IoFixture.h"

#include <cstdio>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace halvern::test {

struct TCliRun {
    int ExitCode = -1; // -1: it could not be started, or did not exit on its own
    std::string Out;   // standard output, unless it went to a file
    std::string Err;   // standard error
};

struct TCliOptions {
    std::string WorkingFolder = {}; // the folder it runs in; empty: the tests' own
    std::string Locale = {};        // LC_ALL for the run; empty: as the tests run
    std::string StdoutTo = {};      // a file for standard output; empty: kept in Out
    // A command, with its arguments, that the program runs under ("prlimit", "--nproc=1").
    std::vector<std::string> RunUnder = {};
};

inline std::string ShellQuoted(const std::string& arg) {
    std::string quoted = "'";
    for (const char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline TCliRun RunCli(const std::vector<std::string>& args, const TCliOptions& options = {}) {
    TScratchDir dir;
    // Five minutes is far beyond any run here, even sanitised.
    std::string command = "timeout 300";
    for (const std::string& word : options.RunUnder)
        command += " " + ShellQuoted(word);
    command += " " + ShellQuoted(HALVERN_CLI);
    if (!options.Locale.empty()) command = "LC_ALL=" + ShellQuoted(options.Locale) + " " + command;
    if (!options.WorkingFolder.empty())
        command = "cd " + ShellQuoted(options.WorkingFolder) + " && " + command;
    for (const std::string& arg : args)
        command += " " + ShellQuoted(arg);
    command += " 2>" + ShellQuoted(dir.File("stderr"));
    if (!options.StdoutTo.empty()) command += " >" + ShellQuoted(options.StdoutTo);
    TCliRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.Out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Err = ReadBytes(dir.File("stderr"));
    return run;
}

} // namespace halvern::test
#endif
