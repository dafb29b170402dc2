#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>

#include "tests/tools/render_program.h"

namespace {

struct BadArguments {
  std::vector<std::string> arguments;
  const char* says;  // a part of the one-line message
};

// Every kind of bad argument is refused before anything runs: one line on
// standard error naming the fault, status 2, nothing on standard output.
TEST(RenderArguments, BadArgumentsGiveOneLineAndStatusTwo) {
  const BadArguments cases[] = {
      {{"--bogus"}, "unknown option --bogus"},
      {{"frames"}, "unexpected argument 'frames'"},
      {{"--frames"}, "--frames needs a value"},
      {{"--frames", "0"}, "bad value '0' for --frames"},
      {{"--frames", "-5"}, "bad value '-5' for --frames"},
      {{"--frames", "12x"}, "bad value '12x' for --frames"},
      {{"--frames", "99999999999"}, "bad value '99999999999' for --frames"},
      {{"--frames=2160001"}, "bad value '2160001' for --frames"},
      {{"--seconds", "0"}, "bad value '0' for --seconds"},
      {{"--seconds", "1e3"}, "bad value '1e3' for --seconds"},
      {{"--seconds", "43201"}, "bad value '43201' for --seconds"},
      {{"--from", "0"}, "bad value '0' for --from"},
      {{"--frames", "10", "--from", "11"}, "--from 11 is past the last frame (10)"},
      {{"--keys", "300"}, "bad key press '300'"},
      {{"--keys", "x:q"}, "bad key press 'x:q'"},
      {{"--keys", "300:spacebar"}, "unknown key name 'spacebar'"},
      {{"--keys", "300:space,"}, "bad key press ''"},
      {{"--keys", "10:ab"}, "unknown key name 'ab'"},
      {{"--size", "320"}, "bad value '320' for --size"},
      {{"--size", "320x240x2"}, "bad value '320x240x2' for --size"},
      {{"--size", "0x240"}, "bad value '0x240' for --size"},
      {{"--size", "63x240"}, "bad value '63x240' for --size"},
      {{"--size", "4097x64"}, "bad value '4097x64' for --size"},
      {{"--scale", "0"}, "bad value '0' for --scale"},
      {{"--scale", "17"}, "bad value '17' for --scale"},
      {{"--size", "2048x64", "--scale", "9"}, "--scale 9 makes pictures over 16384"},
      {{"--y4m", "a.y4m", "--y4m-420", "b.y4m"}, "only one of --y4m and --y4m-420"},
      {{"--wav", "-"}, "only --y4m and --y4m-420 can write to standard output"},
      {{"--png", ""}, "--png needs a value"},
      {{"--size", "65x64", "--mp4", "a.mp4"}, "--mp4 needs an even width and height; 65x64 is not"},
  };
  for (const BadArguments& c : cases) {
    std::string shown;
    for (const std::string& a : c.arguments) shown += a + " ";
    SCOPED_TRACE(shown);
    const RENDER_RESULT result = run_render(c.arguments);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.errors, std::string("quombrax-render: ") + result.errors.substr(17));
    EXPECT_NE(result.errors.find(c.says), std::string::npos) << result.errors;
    EXPECT_EQ(std::count(result.errors.begin(), result.errors.end(), '\n'), 1) << result.errors;
    EXPECT_EQ(result.output, "");
  }
}

TEST(RenderArguments, GoodArgumentsOfEveryFormRun) {
  const std::vector<std::vector<std::string>> cases = {
      {"--frames", "1"},
      {"--frames=2", "--quiet"},
      {"--seconds", "0.02"},
      {"--frames", "40", "--keys", "0:space,33:escape,34:8,35:a,36:Q", "--from", "40"},
      {"--frames", "3", "--size", "64x4096", "--scale", "4"},
  };
  for (const auto& arguments : cases) {
    SCOPED_TRACE(arguments[0] + " " + arguments[1]);
    const RENDER_RESULT result = run_render(arguments);
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.errors, "") << "no progress bar where standard error is not a terminal";
  }
}

// The manual page is written from the same facts as --help: every option
// --help names has its entry there.
TEST(RenderArguments, HelpNamesEveryOptionAndTheManualPageToo) {
  const RENDER_RESULT result = run_render({"--help"});
  ASSERT_EQ(result.status, 0);
  EXPECT_EQ(result.errors, "");
  const std::string manual = read_bytes(QUOMBRAX_RENDER_MANUAL);
  ASSERT_FALSE(manual.empty()) << QUOMBRAX_RENDER_MANUAL;
  const std::regex option("--[a-z0-9-]+");
  std::set<std::string> options;
  for (std::sregex_iterator i(result.output.begin(), result.output.end(), option), end; i != end;
       ++i) {
    options.insert(i->str());
  }
  for (const char* expected :
       {"--frames", "--seconds", "--from", "--keys", "--size", "--scale", "--png", "--y4m",
        "--y4m-420", "--wav", "--mp4", "--quiet", "--help"}) {
    EXPECT_EQ(options.count(expected), 1u) << expected << " missing from --help";
  }
  for (const std::string& name : options) {
    // The manual writes every dash of an option as \-.
    std::string in_manual;
    for (char c : name) in_manual += c == '-' ? std::string("\\-") : std::string(1, c);
    EXPECT_NE(manual.find(in_manual), std::string::npos) << name << " missing from the manual";
  }
}

}  // namespace
