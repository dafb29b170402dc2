#pragma once

#include <cstdint>
#include <string>

#include "tools/files/staged_file.h"
#include "tools/render/mp4_output.h"
#include "tools/render/render_options.h"
#include "tools/render/wav_writer.h"
#include "tools/render/y4m_writer.h"

// Every output a render writes: numbered PNGs, a Y4M video, a WAV of the
// sound, an MP4. Each is optional. Files appear whole when the render
// finishes; a failure removes what was not finished.
struct RENDER_OUTPUTS {
  int32_t width = 0;  // of the frames handed over
  int32_t height = 0;
  int32_t scale = 1;
  std::string png_folder;
  bool y4m_wanted = false;
  STAGED_FILE y4m_file;
  Y4M_WRITER y4m;
  bool wav_wanted = false;
  STAGED_FILE wav_file;
  WAV_WRITER wav;
  bool mp4_wanted = false;
  MP4_OUTPUT mp4;
};

// Opens every output the options ask for. On failure nothing stays open.
bool render_outputs_open(RENDER_OUTPUTS* outputs, const RENDER_OPTIONS& options,
                         std::string* error);
// Frame `frame` (counted from 1), width x height 0x00RRGGBB pixels.
bool render_outputs_frame(RENDER_OUTPUTS* outputs, int64_t frame, const uint32_t* pixels,
                          std::string* error);
// Sound as the device played it: signed 16-bit little-endian mono.
bool render_outputs_sound(RENDER_OUTPUTS* outputs, const uint8_t* bytes, int32_t length,
                          std::string* error);
// Completes every output and puts it in place; on failure removes those not
// yet in place (the ones before are whole).
bool render_outputs_finish(RENDER_OUTPUTS* outputs, std::string* error);
void render_outputs_abandon(RENDER_OUTPUTS* outputs);

// The name of frame `frame` in the PNG folder: frame-000001.png, ...
std::string render_png_name(int64_t frame);
