// SPDX-License-Identifier: MIT
#include "support/run_cli.h"

#include <cstdlib>

#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace livrano::testkit {

std::string shellQuoted(const std::string& text) {
#ifdef _WIN32
    return "\"" + text + "\"";
#else
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted.push_back(c);
    }
    return quoted + "'";
#endif
}

CliRun runCli(const std::string& arguments, const std::string& environment, const std::string& program) {
    TempDir capture;
    const std::string out = (capture / "out.txt").string();
    const std::string err = (capture / "err.txt").string();
    const std::string command = environment + (environment.empty() ? "" : " ") + shellQuoted(program) + " " +
                                arguments + " >" + shellQuoted(out) + " 2>" + shellQuoted(err);
    const int status = std::system(command.c_str());
    CliRun run;
#ifdef _WIN32
    run.exitCode = status;
#else
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    run.out = readFile(capture / "out.txt");
    run.err = readFile(capture / "err.txt");
    return run;
}

} // namespace livrano::testkit
