#pragma once

#include <cstdint>
#include <functional>
#include <string>

// What `action` printed on standard output.
std::string printed_by(const std::function<void()>& action);

// The same with a module's error report switched on for the length of it
// (`set_report` is the module's switch, e.g. IMG_set_error_report).
std::string printed_by(void (*set_report)(int32_t), const std::function<void()>& action);

// The module's error hook prints `line` while its report switch is on, and
// nothing before it is switched on or after it is switched off again.
void expect_error_line_only_while_on(void (*error)(), void (*set_report)(int32_t),
                                     const std::string& line);
