#include "tests/show/hand_built_show.h"

#include "platform/capture.h"

void HandBuiltScene::SetUp() {
  ShowInProcess::SetUp();
  build_display(side, side);
  keep = [this](int32_t number) { return wanted.count(number) != 0; };
}

void HandBuiltScene::press_space_after(int32_t frame) { CAPTURE_press(frame, ' '); }
