// SPDX-License-Identifier: MIT
#pragma once
// The program's commands: every image button's release arrives here with its window's name and
// its command. Window names are compared exactly, commands after lower-casing; a pair that is
// not in the tables does nothing.

#include "skin/image_button.h"

namespace livrano {

class Program;

class CommandDispatcher : public ButtonCommandDispatcher {
public:
    explicit CommandDispatcher(Program& program) : m_program(program) {}

    Status smallButton(const QString& formName, const QString& buttonType) override;
    Status largeButton(const QString& formName, const QString& buttonType) override;

private:
    Program& m_program;
};

} // namespace livrano
