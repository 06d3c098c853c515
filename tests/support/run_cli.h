// SPDX-License-Identifier: MIT
#pragma once
// Runs the real livrano-cli, as a user or a script would, and collects what it printed.

#include <string>

namespace livrano::testkit {

struct CliRun {
    int exitCode = -1; // -1 when the program did not end normally
    std::string out;
    std::string err;
};

// `arguments` is appended to the quoted program path as it stands (quote paths yourself).
// Extra environment assignments can precede it on POSIX shells via `environment`. `program` is
// the build's livrano-cli unless given.
CliRun runCli(const std::string& arguments, const std::string& environment = {},
              const std::string& program = LIVRANO_CLI_PATH);

// A path quoted for the shell.
std::string shellQuoted(const std::string& text);

} // namespace livrano::testkit
