#include "tools/render/render_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/capture.h"

namespace {

constexpr int32_t symbol_space = 32;
constexpr int32_t symbol_escape = 27;

const char usage_text[] =
    "Usage: quombrax-render [OPTION]...\n"
    "Runs the QUOMBRAX show on a virtual 50-frames-a-second clock, exactly as the\n"
    "programs run it (same seed, scene order, pictures and music), and writes what\n"
    "it shows and plays. No window, sound device or X server is needed.\n"
    "\n"
    "Length (default: one whole cycle of the five scenes, ending with the fade-out):\n"
    "  --frames N        present N frames (the fades between scenes count)\n"
    "  --seconds S       present S x 50 frames (S may have decimals)\n"
    "  --from N          write nothing of the frames before frame N (counted from 1)\n"
    "\n"
    "Keys:\n"
    "  --keys LIST       press keys after the given frames, e.g. 300:space,900:s,1500:q;\n"
    "                    names: space, escape, or one character (q, a, s, 1, 2, 4, 5,\n"
    "                    8, 9, ...); q ends the render after the show's fade-out\n"
    "\n"
    "Picture:\n"
    "  --size WxH        give the show a WxH screen (64 to 4096 a side; default 256x256)\n"
    "  --scale K         enlarge the picture outputs K times, sharp pixels (1 to 16)\n"
    "\n"
    "Outputs (any combination; none at all just runs the show):\n"
    "  --png DIR         one PNG a frame into the existing folder DIR: frame-000001.png, ...\n"
    "  --y4m FILE        YUV4MPEG2 video at 50 fps, 4:4:4; FILE - is standard output\n"
    "  --y4m-420 FILE    the same with 4:2:0 chroma, as most encoders want it\n"
    "  --wav FILE        the sound as the device was fed it: 44100 Hz, 16-bit, mono\n"
    "  --mp4 FILE        H.264 video with AAC sound, made by the ffmpeg program on PATH;\n"
    "                    the picture's width and height must be even\n"
    "\n"
    "Other:\n"
    "  --quiet           no progress bar (it is shown only when standard error is a\n"
    "                    terminal)\n"
    "  --help            show this text and exit\n"
    "\n"
    "The fades between scenes take no show time, so the sound is 0.64 s shorter\n"
    "than the picture for every fade. The same options give the same bytes.\n"
    "Exit status: 0 when done, 1 when an output cannot be written, 2 for bad options.\n";

bool say(std::string* error, const std::string& text) {
  *error = text;
  return false;
}

// A whole number in [low, high], digits only (no sign, no spaces).
bool parse_whole(const std::string& text, int64_t low, int64_t high, int64_t* value) {
  if (text.empty() || text.size() > 18) return false;
  int64_t result = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    result = result * 10 + (c - '0');
  }
  if (result < low || result > high) return false;
  *value = result;
  return true;
}

bool parse_seconds(const std::string& text, int64_t* frames) {
  if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) return false;
  errno = 0;
  char* end = nullptr;
  const double seconds = std::strtod(text.c_str(), &end);
  if (errno != 0 || *end != '\0' || !(seconds > 0)) return false;
  const double count = std::round(seconds * RENDER_frames_per_second);
  if (count < 1 || count > static_cast<double>(RENDER_max_frames)) return false;
  *frames = static_cast<int64_t>(count);
  return true;
}

bool parse_size(const std::string& text, int32_t* width, int32_t* height) {
  const size_t x = text.find('x');
  if (x == std::string::npos) return false;
  int64_t w = 0, h = 0;
  if (!parse_whole(text.substr(0, x), RENDER_min_side, RENDER_max_side, &w) ||
      !parse_whole(text.substr(x + 1), RENDER_min_side, RENDER_max_side, &h)) {
    return false;
  }
  *width = static_cast<int32_t>(w);
  *height = static_cast<int32_t>(h);
  return true;
}

bool parse_key_name(const std::string& name, int32_t* symbol) {
  if (name == "space") {
    *symbol = symbol_space;
  } else if (name == "escape") {
    *symbol = symbol_escape;
  } else if (name.size() == 1 && name[0] > ' ' && name[0] <= '~') {
    *symbol = name[0];
  } else {
    return false;
  }
  return true;
}

bool parse_one_key(const std::string& item, RENDER_KEY* key, std::string* error) {
  const size_t colon = item.find(':');
  int64_t frame = 0;
  if (colon == std::string::npos ||
      !parse_whole(item.substr(0, colon), 0, RENDER_max_frames, &frame)) {
    return say(error, "bad key press '" + item + "' in --keys (want FRAME:KEY, e.g. 300:space)");
  }
  const std::string name = item.substr(colon + 1);
  if (!parse_key_name(name, &key->symbol)) {
    return say(error, "unknown key name '" + name +
                          "' in --keys (space, escape, or one character such as q)");
  }
  key->frame = static_cast<int32_t>(frame);
  return true;
}

// The options that take a value, and what to do with it.
bool take_value(const std::string& name, const std::string& value, RENDER_OPTIONS* options,
                std::string* error) {
  const std::string bad = "bad value '" + value + "' for " + name;
  if (name == "--frames") {
    if (!parse_whole(value, 1, RENDER_max_frames, &options->frames)) {
      return say(error, bad + " (1 to " + std::to_string(RENDER_max_frames) + ")");
    }
  } else if (name == "--seconds") {
    if (!parse_seconds(value, &options->frames)) {
      return say(error, bad + " (more than 0, at most 43200)");
    }
  } else if (name == "--from") {
    if (!parse_whole(value, 1, RENDER_max_frames, &options->from)) {
      return say(error, bad + " (a frame number from 1)");
    }
  } else if (name == "--keys") {
    return render_parse_keys(value, &options->keys, error);
  } else if (name == "--size") {
    if (!parse_size(value, &options->width, &options->height)) {
      return say(error, bad + " (WxH, " + std::to_string(RENDER_min_side) + " to " +
                            std::to_string(RENDER_max_side) + " a side)");
    }
  } else if (name == "--scale") {
    int64_t scale = 0;
    if (!parse_whole(value, 1, RENDER_max_scale, &scale)) {
      return say(error, bad + " (1 to " + std::to_string(RENDER_max_scale) + ")");
    }
    options->scale = static_cast<int32_t>(scale);
  } else if (name == "--png") {
    options->png_folder = value;
  } else if (name == "--y4m" || name == "--y4m-420") {
    if (!options->y4m_path.empty()) return say(error, "only one of --y4m and --y4m-420");
    options->y4m_path = value;
    options->y4m_420 = name == "--y4m-420";
  } else if (name == "--wav") {
    options->wav_path = value;
  } else if (name == "--mp4") {
    options->mp4_path = value;
  } else {
    return say(error, "unknown option " + name + " (see --help)");
  }
  if (value.empty()) return say(error, name + " needs a value");
  return true;
}

// What no single option can see.
bool check_together(const RENDER_OPTIONS& options, std::string* error) {
  if (int64_t{options.width} * options.scale > RENDER_max_scaled_side ||
      int64_t{options.height} * options.scale > RENDER_max_scaled_side) {
    return say(error, "--scale " + std::to_string(options.scale) + " makes pictures over " +
                          std::to_string(RENDER_max_scaled_side) + " pixels a side");
  }
  if (options.frames != 0 && options.from > options.frames) {
    return say(error, "--from " + std::to_string(options.from) + " is past the last frame (" +
                          std::to_string(options.frames) + ")");
  }
  // H.264 in 4:2:0, as players want it, takes only even sizes.
  if (!options.mp4_path.empty() &&
      ((options.width * options.scale) % 2 != 0 || (options.height * options.scale) % 2 != 0)) {
    return say(error, "--mp4 needs an even width and height; " + std::to_string(options.width) +
                          "x" + std::to_string(options.height) +
                          " is not (a --scale of 2 makes it so)");
  }
  if (options.mp4_path == "-" || options.wav_path == "-") {
    return say(error, "only --y4m and --y4m-420 can write to standard output");
  }
  return true;
}

}  // namespace

bool render_parse_keys(const std::string& text, std::vector<RENDER_KEY>* keys, std::string* error) {
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    RENDER_KEY key{};
    if (!parse_one_key(text.substr(start, comma - start), &key, error)) return false;
    keys->push_back(key);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (keys->size() > static_cast<size_t>(CAPTURE_max_scripted_events)) {
    return say(error, "too many key presses in --keys (at most " +
                          std::to_string(CAPTURE_max_scripted_events) + ")");
  }
  return true;
}

RENDER_PARSE render_parse_options(int argc, const char* const* argv, RENDER_OPTIONS* options,
                                  std::string* error) {
  *options = RENDER_OPTIONS{};
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    if (name == "--help") return RENDER_PARSE_HELP;
    if (name == "--quiet") {
      options->quiet = true;
      continue;
    }
    std::string value;
    const size_t equals = name.find('=');
    if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
    } else if (name.rfind("--", 0) != 0) {
      *error = "unexpected argument '" + name + "' (see --help)";
      return RENDER_PARSE_ERROR;
    } else if (i + 1 < argc) {
      value = argv[++i];
    } else {
      const bool known = std::strstr(usage_text, ("  " + name + " ").c_str()) != nullptr;
      *error = known ? name + " needs a value" : "unknown option " + name + " (see --help)";
      return RENDER_PARSE_ERROR;
    }
    if (!take_value(name, value, options, error)) return RENDER_PARSE_ERROR;
  }
  return check_together(*options, error) ? RENDER_PARSE_RUN : RENDER_PARSE_ERROR;
}

const char* render_usage() { return usage_text; }
