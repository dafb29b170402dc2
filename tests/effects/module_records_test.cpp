#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "effects/cursor.h"
#include "effects/cursorx.h"
#include "effects/disty.h"
#include "effects/roll.h"
#include "effects/scroll.h"
#include "effects/stars.h"
#include "tests/support/module_ids.h"
#include "tests/support/output_capture.h"

namespace {

TEST(ModuleRecords, EveryEffectIdentifiesItself) {
  struct Case {
    const MODULE_ID* id;
    std::vector<std::string> fields;
  };
  const std::vector<Case> cases = {
      {&ROLL_id, {"ROLL    ", "Kadwelon", "20101019", "C       ", "CODE    "}},
      {&STARS_id, {"STARS   ", "20101019", "Kadwelon", "C       ", "CODE    "}},
      {&SCROLL_id, {"SCROLL  ", "20080827", "Kadwelon", "C       ", "CODE    "}},
      {&CURSOR_id, {"CURSOR  ", "20080827", "Kadwelon", "C       ", "CODE    "}},
      {&DISTY_id, {"DISTY   ", "20090807", "Kadwelon", "C       ", "CODE    "}},
      {&CURSORX_id, {"CURSORX ", "20090805", "Kadwelon", "C       ", "CODE    "}},
  };
  for (const Case& c : cases) {
    expect_module_id(*c.id, c.fields);
  }
}

TEST(ModuleRecords, SilentErrorHooksPrintNothing) {
  const std::vector<std::function<void()>> hooks = {STARS_error, SCROLL_error, SCROLL_COUNTER_error,
                                                    CURSOR_error, DISTY_error};
  for (const auto& hook : hooks) {
    EXPECT_EQ(printed_by(hook), "");
  }
}

}  // namespace
