// The programs on a real X server (Xvfb), driven with real key events.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace {

const std::string window_program = QUOMBRAX_WINDOW_PROGRAM;
const std::string fullscreen_program = QUOMBRAX_FULLSCREEN_PROGRAM;
const std::string run_window = QUOMBRAX_RUN_WINDOW_SCRIPT;
const std::string run_screen = QUOMBRAX_RUN_SCREEN_SCRIPT;

bool have_tool(const char* name) {
  std::string command = std::string("command -v ") + name + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

bool have_x_tools() {
  for (const char* tool : {"xvfb-run", "Xvfb", "xdotool", "xwd", "xwininfo", "xprop", "openbox"}) {
    if (!have_tool(tool)) return false;
  }
  return true;
}

std::string read_text(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// A window dump: a header of big-endian 32-bit fields, a colour map, then
// rows of pixels in the byte order the header names.
struct XWD_IMAGE {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t bits_per_pixel = 0;
  uint32_t bytes_per_line = 0;
  uint32_t colour_mask = 0;  // red | green | blue
  bool little_endian = false;
  std::vector<uint8_t> data;

  uint32_t pixel(uint32_t x, uint32_t y) const {
    const uint8_t* p = data.data() + y * bytes_per_line + x * (bits_per_pixel / 8);
    uint32_t value = 0;
    uint32_t bytes = bits_per_pixel / 8;
    for (uint32_t i = 0; i < bytes; ++i) {
      uint32_t byte = little_endian ? p[bytes - 1 - i] : p[i];
      value = value << 8 | byte;
    }
    return value & colour_mask;
  }
};

bool parse_xwd(const std::vector<uint8_t>& file, XWD_IMAGE* image) {
  auto field = [&file](size_t index) {
    size_t at = index * 4;
    return uint32_t(file[at]) << 24 | uint32_t(file[at + 1]) << 16 | uint32_t(file[at + 2]) << 8 |
           uint32_t(file[at + 3]);
  };
  if (file.size() < 100) return false;
  uint32_t header_size = field(0);
  image->width = field(4);
  image->height = field(5);
  image->little_endian = field(7) == 0;
  image->bits_per_pixel = field(11);
  image->bytes_per_line = field(12);
  image->colour_mask = field(14) | field(15) | field(16);
  uint32_t colours = field(19);
  size_t start = header_size + colours * 12;
  size_t size = size_t(image->bytes_per_line) * image->height;
  if (image->bits_per_pixel % 8 != 0 || file.size() < start + size) return false;
  image->data.assign(file.begin() + static_cast<long>(start),
                     file.begin() + static_cast<long>(start + size));
  return true;
}

struct WINDOW_RUN {
  std::string status;
  std::string geometry;
  XWD_IMAGE screenshot;
  bool screenshot_read = false;
};

WINDOW_RUN run_on_x(const std::string& program, int depth, const char* ending) {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string out = testing::TempDir() + "quombrax_window_" + test->name() + "_" +
                    std::to_string(depth) + "_" + std::to_string(getpid());
  std::system(("mkdir -p '" + out + "'").c_str());
  std::string command = "'" + run_window + "' '" + program + "' " + std::to_string(depth) + " '" +
                        out + "' " + ending + " >/dev/null 2>&1";
  std::system(command.c_str());
  WINDOW_RUN run;
  run.status = read_text(out + "/status");
  run.geometry = read_text(out + "/geometry");
  run.screenshot_read = parse_xwd(read_bytes(out + "/window.xwd"), &run.screenshot);
  std::system(("rm -rf '" + out + "'").c_str());
  return run;
}

class OnXServer : public testing::Test {
 protected:
  void SetUp() override {
    if (!have_x_tools())
      GTEST_SKIP() << "needs xvfb-run, Xvfb, xdotool, xwd, xwininfo, xprop and openbox";
  }
};

int count_lit(const XWD_IMAGE& image) {
  int lit = 0;
  for (uint32_t y = 0; y < image.height; ++y) {
    for (uint32_t x = 0; x < image.width; ++x) lit += image.pixel(x, y) != 0;
  }
  return lit;
}

TEST_F(OnXServer, TheWindowShowsSceneOneAndQuitsOnQ) {
  for (int depth : {24, 16}) {
    // The picture is taken a second after the window opens; on a loaded
    // machine the show may still be in its opening fade then, so a black
    // picture earns another run, up to three.
    WINDOW_RUN run;
    for (int attempt = 0; attempt < 3; ++attempt) {
      run = run_on_x(window_program, depth, "q");
      if (run.screenshot_read && count_lit(run.screenshot) > 0) break;
    }
    EXPECT_EQ(run.status, "0\n") << depth << "-bit screen";
    EXPECT_NE(run.geometry.find("Width: 256\n"), std::string::npos) << depth;
    EXPECT_NE(run.geometry.find("Height: 256\n"), std::string::npos) << depth;
    ASSERT_TRUE(run.screenshot_read) << depth;
    ASSERT_EQ(run.screenshot.width, 256u);
    ASSERT_EQ(run.screenshot.height, 256u);
    int lit = count_lit(run.screenshot);
    // The roll covers 256 x 170 pixels, many of them lit; the corner brackets
    // stand on the screen's four corners.
    EXPECT_GT(lit, 256 * 16) << depth << "-bit screen: scene one's picture";
    for (uint32_t x : {0u, 255u}) {
      for (uint32_t y : {0u, 255u}) {
        EXPECT_NE(run.screenshot.pixel(x, y), 0u) << depth << ": corner " << x << ", " << y;
      }
    }
  }
}

TEST_F(OnXServer, SigtermEndsTheShowCleanly) {
  EXPECT_EQ(run_on_x(window_program, 24, "sigterm").status, "0\n");
}

TEST_F(OnXServer, TheFullscreenProgramRunsAndQuits) {
  EXPECT_EQ(run_on_x(fullscreen_program, 24, "q").status, "0\n");
}

// A run of run_screen.sh: how the program ended, the window's geometry at
// each step, a picture of the whole X screen once the show's picture is up
// and, for "switch", one after the first Alt+Enter.
struct SCREEN_RUN {
  std::string status;  // a line a run for "taps"
  std::string geometry[3];
  XWD_IMAGE first;
  bool first_read = false;
  XWD_IMAGE switched;
  bool switched_read = false;
  std::string errors;  // what the program and the script said on stderr
};

struct SCREEN_SETUP {
  const char* size;     // of the X screen, "1280x720"
  const char* manager;  // "openbox" or "none"
};

SCREEN_RUN run_on_screen_once(const std::string& program, SCREEN_SETUP setup, const char* scenario,
                              int count, const std::string& environment) {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string out = testing::TempDir() + "quombrax_screen_" + test->name() + "_" + setup.manager +
                    "_" + std::to_string(getpid());
  std::system(("mkdir -p '" + out + "'").c_str());
  std::string command = environment + " '" + run_screen + "' '" + program + "' " + setup.size +
                        " " + setup.manager + " '" + out + "' " + scenario + " " +
                        std::to_string(count) + " >/dev/null 2>&1";
  std::system(command.c_str());
  SCREEN_RUN run;
  run.status = read_text(out + (std::string(scenario) == "taps" ? "/taps" : "/status"));
  for (int i = 0; i < 3; ++i) run.geometry[i] = read_text(out + "/geometry." + std::to_string(i));
  run.first_read = parse_xwd(read_bytes(out + "/screen.xwd"), &run.first);
  run.switched_read = parse_xwd(read_bytes(out + "/switched.xwd"), &run.switched);
  run.errors = read_text(out + "/stderr");
  std::system(("rm -rf '" + out + "'").c_str());
  return run;
}

// On a loaded machine the window manager may fail to come up in time; such
// a run did not try the program at all and is made again, up to three times.
SCREEN_RUN run_on_screen(const std::string& program, SCREEN_SETUP setup, const char* scenario,
                         int count = 1, const std::string& environment = "") {
  SCREEN_RUN run;
  for (int attempt = 0; attempt < 3; ++attempt) {
    run = run_on_screen_once(program, setup, scenario, count, environment);
    if (run.status != "no window manager\n") break;
  }
  return run;
}

// A value of `xdotool getwindowgeometry --shell`; -1 when missing.
int geometry_value(const std::string& geometry, const std::string& name) {
  size_t at = geometry.find(name + "=");
  if (at == std::string::npos) return -1;
  return std::atoi(geometry.c_str() + at + name.size() + 1);
}

struct RECT {
  int x, y, width, height;
};

RECT rect_of(const std::string& geometry) {
  return RECT{geometry_value(geometry, "X"), geometry_value(geometry, "Y"),
              geometry_value(geometry, "WIDTH"), geometry_value(geometry, "HEIGHT")};
}

bool operator==(const RECT& a, const RECT& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << r.width << "x" << r.height << " at " << r.x << "," << r.y;
}

// Scene one's corner brackets are this colour at the picture's corners.
constexpr uint32_t bracket_colour = 0x4080F0;

bool bracket_at(const XWD_IMAGE& screen, int x, int y) {
  return x >= 0 && y >= 0 && static_cast<uint32_t>(x) < screen.width &&
         static_cast<uint32_t>(y) < screen.height &&
         screen.pixel(static_cast<uint32_t>(x), static_cast<uint32_t>(y)) == bracket_colour;
}

// The picture is taken once the window shows anything; on a loaded machine
// that may still be a frame of the opening fade, so a picture without the
// top-left bracket earns another run, up to three.
// `where` gives the square the picture should stand in.
template <typename SQUARE>
SCREEN_RUN run_until_lit(const std::string& program, SCREEN_SETUP setup, const char* scenario,
                         SQUARE where, const std::string& environment = "") {
  SCREEN_RUN run;
  for (int attempt = 0; attempt < 3; ++attempt) {
    run = run_on_screen(program, setup, scenario, 1, environment);
    const RECT square = where(run);
    if (run.first_read && bracket_at(run.first, square.x, square.y)) break;
    std::cerr << "no bracket at " << square.x << "," << square.y << " yet; once more\n";
  }
  return run;
}

// Blocks of the picture enlarged `factor` times at `where` that are not of
// one colour, and lit pixels of the screen outside it.
struct SCALED_PICTURE_FAULTS {
  int mixed_blocks = 0;
  int lit_outside = 0;
};

SCALED_PICTURE_FAULTS check_scaled_picture(const XWD_IMAGE& screen, RECT where, int factor) {
  SCALED_PICTURE_FAULTS faults;
  for (uint32_t y = 0; y < screen.height; ++y) {
    for (uint32_t x = 0; x < screen.width; ++x) {
      const int px = static_cast<int>(x) - where.x;
      const int py = static_cast<int>(y) - where.y;
      const bool inside = px >= 0 && py >= 0 && px < where.width && py < where.height;
      if (!inside) {
        faults.lit_outside += screen.pixel(x, y) != 0;
      } else if (px % factor == 0 && py % factor == 0) {
        bool mixed = false;
        for (int dy = 0; dy < factor; ++dy) {
          for (int dx = 0; dx < factor; ++dx) {
            mixed |= screen.pixel(x + dx, y + dy) != screen.pixel(x, y);
          }
        }
        faults.mixed_blocks += mixed;
      }
    }
  }
  return faults;
}

void expect_scaled_picture(const XWD_IMAGE& screen, bool read, RECT square, int factor,
                           const std::string& what) {
  ASSERT_TRUE(read) << what;
  EXPECT_TRUE(bracket_at(screen, square.x, square.y)) << what << ": top-left bracket";
  EXPECT_TRUE(bracket_at(screen, square.x + square.width - 1, square.y))
      << what << ": top-right bracket";
  SCALED_PICTURE_FAULTS faults = check_scaled_picture(screen, square, factor);
  EXPECT_EQ(faults.mixed_blocks, 0) << what << ": blocks of " << factor << " x " << factor;
  EXPECT_EQ(faults.lit_outside, 0) << what << ": black round the picture";
}

// 1280 x 720 holds the picture twice as large: 512 x 512, centred, whether a
// window manager places the full screen or nobody does (a kiosk). Alt+Enter
// makes a 256 x 256 window of it and a second one the full screen again.
TEST_F(OnXServer, TheFullscreenProgramShowsThePictureTwiceAsLargeAndSwitches) {
  const RECT square{384, 104, 512, 512};
  const RECT whole_screen{0, 0, 1280, 720};
  for (const char* manager : {"openbox", "none"}) {
    SCREEN_RUN run = run_until_lit(fullscreen_program, {"1280x720", manager}, "switch",
                                   [&](const SCREEN_RUN&) { return square; });
    ASSERT_TRUE(run.first_read) << manager << run.errors;
    EXPECT_EQ(run.first.width, 1280u) << manager;
    EXPECT_EQ(run.first.height, 720u) << manager;
    expect_scaled_picture(run.first, run.first_read, square, 2, manager);
    EXPECT_EQ(rect_of(run.geometry[0]), whole_screen) << manager;
    EXPECT_EQ(rect_of(run.geometry[1]).width, 256) << manager << ": a window";
    EXPECT_EQ(rect_of(run.geometry[1]).height, 256) << manager;
    EXPECT_EQ(rect_of(run.geometry[2]), whole_screen) << manager << ": full screen again";
    EXPECT_EQ(run.status, "0\n") << manager << ": a tap of q ends it";
  }
}

TEST_F(OnXServer, At1024By768ThePictureIsThreeTimesAsLarge) {
  const RECT square{128, 0, 768, 768};
  SCREEN_RUN run = run_until_lit(fullscreen_program, {"1024x768", "none"}, "screen",
                                 [&](const SCREEN_RUN&) { return square; });
  expect_scaled_picture(run.first, run.first_read, square, 3, "1024x768");
  EXPECT_EQ(run.status, "0\n");
}

// The window made larger by the SDL 1.2 layer keeps sharp pixels.
TEST_F(OnXServer, ABiggerWindowIsSharp) {
  SCREEN_RUN run = run_until_lit(
      window_program, {"1024x768", "none"}, "screen",
      [](const SCREEN_RUN& r) { return rect_of(r.geometry[0]); }, "SDL12COMPAT_WINDOW_SCALING=2");
  const RECT window = rect_of(run.geometry[0]);
  ASSERT_EQ(window.width, 512) << run.geometry[0];
  ASSERT_EQ(window.height, 512);
  expect_scaled_picture(run.first, run.first_read, window, 2, "a window twice as large");
}

// Taps as short as `xdotool key` makes them (press and release about 12 ms
// apart, met by one key poll) end the program at the first tap, every time.
// Every other run here ends with such a tap as well.
TEST_F(OnXServer, EveryQuickTapOfQEndsTheProgram) {
  constexpr int taps = 5;
  SCREEN_RUN run = run_on_screen(window_program, {"1024x768", "openbox"}, "taps", taps);
  std::string every_time;
  for (int i = 0; i < taps; ++i) every_time += "0\n";
  EXPECT_EQ(run.status, every_time) << run.errors;
}

TEST_F(OnXServer, AltEnterTurnsTheWindowIntoTheWholeScreenAndBack) {
  SCREEN_RUN run = run_on_screen(window_program, {"1280x720", "openbox"}, "switch");
  EXPECT_EQ(rect_of(run.geometry[0]).width, 256) << run.geometry[0] << run.errors;
  EXPECT_EQ(rect_of(run.geometry[0]).height, 256);
  EXPECT_EQ(rect_of(run.geometry[1]), (RECT{0, 0, 1280, 720})) << "the whole X screen";
  expect_scaled_picture(run.switched, run.switched_read, RECT{384, 104, 512, 512}, 2,
                        "after Alt+Enter");
  EXPECT_EQ(rect_of(run.geometry[2]).width, 256) << run.geometry[2];
  EXPECT_EQ(rect_of(run.geometry[2]).height, 256);
  EXPECT_EQ(run.status, "0\n");
}

TEST(NoDisplay, TheProgramSaysSoAndStops) {
  std::string err = testing::TempDir() + "quombrax_no_display.txt";
  std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER '" + window_program +
                        "' 2>'" + err + "' >/dev/null";
  int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(read_text(err).find("quombrax: no display: "), std::string::npos);
}

}  // namespace
