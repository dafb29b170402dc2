#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the command line of quombrax-render asks for.

// A key pressed once after a frame has been presented.
struct RENDER_KEY {
  int32_t frame;
  int32_t symbol;
};

struct RENDER_OPTIONS {
  int64_t frames = 0;  // frames to present; 0: one whole cycle of the scenes
  int64_t from = 1;    // the first frame written to the outputs
  std::vector<RENDER_KEY> keys;
  int32_t width = 256;  // the screen the show is given
  int32_t height = 256;
  int32_t scale = 1;  // enlargement of the picture outputs
  std::string png_folder;
  std::string y4m_path;
  bool y4m_420 = false;  // 4:2:0 chroma instead of 4:4:4
  std::string wav_path;
  std::string mp4_path;
  bool quiet = false;
};

enum RENDER_PARSE { RENDER_PARSE_RUN, RENDER_PARSE_HELP, RENDER_PARSE_ERROR };

// The limits of the options, so that a render always fits in memory and
// its numbers in 32 bits.
// Twelve hours of show: its sound still fits the 4 GiB a WAV file can hold.
constexpr int64_t RENDER_max_frames = 50 * 60 * 60 * 12;
constexpr int32_t RENDER_min_side = 64;
constexpr int32_t RENDER_max_side = 4096;
constexpr int32_t RENDER_max_scale = 16;
constexpr int32_t RENDER_max_scaled_side = 16384;
constexpr int32_t RENDER_frames_per_second = 50;

// On RENDER_PARSE_ERROR, `error` holds one line saying what is wrong.
RENDER_PARSE render_parse_options(int argc, const char* const* argv, RENDER_OPTIONS* options,
                                  std::string* error);

// Reads "300:space,900:s,1500:q": frame numbers with key names (space,
// escape, or a single character). False, with `error` set, when malformed.
bool render_parse_keys(const std::string& text, std::vector<RENDER_KEY>* keys, std::string* error);

// The --help text.
const char* render_usage();
