#include "tests/support/output_capture.h"

#include <gtest/gtest.h>

std::string printed_by(const std::function<void()>& action) {
  testing::internal::CaptureStdout();
  action();
  return testing::internal::GetCapturedStdout();
}

std::string printed_by(void (*set_report)(int32_t), const std::function<void()>& action) {
  set_report(1);
  std::string out = printed_by(action);
  set_report(0);
  return out;
}

void expect_error_line_only_while_on(void (*error)(), void (*set_report)(int32_t),
                                     const std::string& line) {
  EXPECT_EQ(printed_by(error), "") << "before the switch is on";
  EXPECT_EQ(printed_by(set_report, error), line);
  EXPECT_EQ(printed_by(error), "") << "after the switch is off again";
}
