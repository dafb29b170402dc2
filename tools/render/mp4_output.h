#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "tools/files/staged_file.h"
#include "tools/render/ffmpeg_pipe.h"
#include "tools/render/wav_writer.h"
#include "tools/render/y4m_writer.h"

// An MP4 file (H.264 picture, AAC sound) made by ffmpeg. The picture is
// piped into ffmpeg as 4:2:0 YUV4MPEG2 while the show runs and encoded into
// a picture-only file; the sound is kept in a WAV file beside it; when the
// render ends a second ffmpeg run joins the two without encoding the picture
// again. Both in-between files live in a folder of their own under $TMPDIR
// (or /tmp) and are removed at the end.
struct MP4_OUTPUT {
  std::string program;  // ffmpeg
  STAGED_FILE file;     // the MP4; ffmpeg fills it, the commit puts it in place
  std::string folder;   // the in-between files
  FFMPEG_PIPE encoder;
  Y4M_WRITER picture;
  std::FILE* sound_file = nullptr;
  WAV_WRITER sound;
};

// Frames handed over later are `width` x `height`; the video shows them
// enlarged `scale` times.
bool mp4_open(MP4_OUTPUT* mp4, const std::string& path, int32_t width, int32_t height,
              int32_t scale, std::string* error);
bool mp4_write_frame(MP4_OUTPUT* mp4, const uint32_t* pixels);
bool mp4_write_sound(MP4_OUTPUT* mp4, const uint8_t* bytes, int32_t length);
bool mp4_finish(MP4_OUTPUT* mp4, std::string* error);
// Stops ffmpeg and removes everything written.
void mp4_abandon(MP4_OUTPUT* mp4);
