// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdio>
#include <pty.h>
#include <unistd.h>

#include "app/platform.h"

namespace livrano {
namespace {

// Escape sequences go to a terminal only when TERM says it takes them; never to a file or pipe.
TEST(TakesEscapeSequences, OnlyATerminalWhoseTermIsNotDumb) {
    int controller = -1, terminal = -1;
    ASSERT_EQ(openpty(&controller, &terminal, nullptr, nullptr, nullptr), 0);
    std::FILE* tty = fdopen(terminal, "w");
    std::FILE* file = std::tmpfile();
    ASSERT_TRUE(tty != nullptr && file != nullptr);
    for (const auto& [term, escapes] : {std::pair{"xterm", true}, {"dumb", false}, {"", false}}) {
        setenv("TERM", term, 1);
        EXPECT_EQ(takesEscapeSequences(tty), escapes) << term;
        EXPECT_FALSE(takesEscapeSequences(file)) << term;
    }
    std::fclose(file);
    std::fclose(tty);
    close(controller);
}

} // namespace
} // namespace livrano
