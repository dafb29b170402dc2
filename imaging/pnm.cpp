#include "imaging/pnm.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "imaging/clip.h"

namespace {

constexpr int end_of_data = -1;

// Header numbers stop growing here; anything this large is refused anyway,
// and the cap keeps the arithmetic far from overflow.
constexpr int32_t number_cap = 1000000000;

bool is_digit(int c) { return c >= '0' && c <= '9'; }

// Header bytes outside 33..126 (blanks, line ends, controls, high bytes) only
// separate tokens.
bool is_printable(int c) { return c >= 33 && c <= 126; }

int next_byte(PNM_SOURCE* source) {
  if (source->file) {
    return std::getc(source->file);
  }
  if (source->position >= source->size) {
    return end_of_data;
  }
  return source->data[source->position++];
}

// Only ever called with the byte just read, so one byte of push-back is enough.
void put_back(PNM_SOURCE* source, int c) {
  if (c == end_of_data) {
    return;
  }
  if (source->file) {
    std::ungetc(c, source->file);
  } else {
    --source->position;
  }
}

// Bytes left in the source, or SIZE_MAX when a stream cannot tell.
size_t bytes_left(PNM_SOURCE* source) {
  if (!source->file) {
    return source->size - source->position;
  }
  std::FILE* file = source->file;
  long here = std::ftell(file);
  if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) {
    return SIZE_MAX;
  }
  long end = std::ftell(file);
  if (std::fseek(file, here, SEEK_SET) != 0) {
    return 0;  // the stream is lost; nothing more can be decoded from it
  }
  return end >= here ? static_cast<size_t>(end - here) : 0;
}

// A header number: the run of digits starting with `first`. The byte that
// ends the run is left in the source.
int32_t read_header_number(PNM_SOURCE* source, int first) {
  int32_t value = 0;
  int c = first;
  while (is_digit(c)) {
    value = value >= number_cap / 10 ? number_cap : value * 10 + (c - '0');
    c = next_byte(source);
  }
  put_back(source, c);
  return value;
}

// Skips a comment up to and including its line feed; false at the end of data.
bool skip_comment(PNM_SOURCE* source) {
  int c;
  do {
    c = next_byte(source);
  } while (c != end_of_data && c != '\n');
  return c == '\n';
}

int32_t numbers_needed(int32_t format) { return format == 1 || format == 4 ? 2 : 3; }

// The largest maxval a sample of at most two bytes can reach.
constexpr int32_t widest_maxval = 65535;

// Files whose maxval does not fit a byte: two bytes per binary sample, and
// every sample scaled to 0..255.
bool wide_samples(const PNM_HEADER* header) { return header->maxval > 255; }

bool maxval_accepted(const PNM_HEADER* header) {
  return header->maxval > 0 && header->maxval <= widest_maxval;
}

bool size_accepted(const PNM_HEADER* header) {
  return header->width > 0 && header->height > 0 &&
         clip_size_acceptable(header->width, header->height);
}

// The fewest bytes of pixel data that can hold the image: one or two bytes per
// binary sample, one digit per text sample, one bit per P4 pixel with rows
// padded. Only called on an accepted size: at most 16384 x 16384 pixels of
// three two-byte samples, far inside size_t.
size_t least_data_bytes(const PNM_HEADER* header) {
  size_t pixels = static_cast<size_t>(header->width) * static_cast<size_t>(header->height);
  size_t sample_bytes = header->format >= 5 && wide_samples(header) ? 2 : 1;
  switch (header->format) {
    case 3:
    case 6:
      return 3 * sample_bytes * pixels;
    case 4:
      return (static_cast<size_t>(header->width) + 7) / 8 * static_cast<size_t>(header->height);
    default:
      return sample_bytes * pixels;
  }
}

uint32_t grey(uint32_t level) { return level * 0x010101u; }

uint32_t rgb(uint32_t red, uint32_t green, uint32_t blue) {
  return (red & 0xFFu) << 16 | (green & 0xFFu) << 8 | (blue & 0xFFu);
}

// A wide sample as a channel: rounded to the nearest of 0..255. A sample above
// the maxval counts as the maxval, so it is white rather than refused: no
// reader refuses a byte-sized sample above its maxval either, and the channel
// stays within a byte.
uint32_t scaled(uint32_t sample, int32_t maxval) {
  uint32_t top = static_cast<uint32_t>(maxval);
  uint32_t kept = sample < top ? sample : top;
  return (kept * 255 + top / 2) / top;
}

// A text sample of the pixel data: skips the bytes before it, then reads its
// digits. Kept are the low 8 bits, the value capped just above the widest
// maxval, and whether any digit was not 0, so that no length of digits can
// overflow.
struct TEXT_SAMPLE {
  bool found;
  bool nonzero;
  uint32_t low_byte;
  uint32_t capped;
};

TEXT_SAMPLE read_text_sample(PNM_SOURCE* source) {
  constexpr uint32_t cap = widest_maxval + 1;
  TEXT_SAMPLE sample = {false, false, 0, 0};
  int c = next_byte(source);
  while (c != end_of_data && !is_digit(c)) {
    c = next_byte(source);
  }
  while (is_digit(c)) {
    uint32_t digit = static_cast<uint32_t>(c - '0');
    sample.found = true;
    sample.nonzero = sample.nonzero || c != '0';
    sample.low_byte = (sample.low_byte * 10 + digit) & 0xFFu;
    sample.capped = std::min(sample.capped * 10 + digit, cap);
    c = next_byte(source);
  }
  return sample;
}

// Byte-sized files keep the sample's low 8 bits as they are, unscaled.
uint32_t text_channel(const TEXT_SAMPLE& sample, const PNM_HEADER* header) {
  return wide_samples(header) ? scaled(sample.capped, header->maxval) : sample.low_byte;
}

// P1 from memory: one digit character per pixel, separators optional.
bool read_bitmap_digit(PNM_SOURCE* source, uint32_t* colour) {
  int c = next_byte(source);
  while (c != end_of_data && !is_digit(c)) {
    c = next_byte(source);
  }
  *colour = c == '0' ? 0 : 0xFFFFFFu;
  return c != end_of_data;
}

// One pixel of the text formats P1, P2 and P3.
bool read_text_pixel(PNM_SOURCE* source, const PNM_HEADER* header, uint32_t* colour) {
  if (header->format == 1 && !source->file) {
    return read_bitmap_digit(source, colour);
  }
  TEXT_SAMPLE first = read_text_sample(source);
  if (header->format == 1) {
    *colour = first.nonzero ? 0xFFFFFFu : 0;
    return first.found;
  }
  if (header->format == 2) {
    *colour = grey(text_channel(first, header));
    return first.found;
  }
  TEXT_SAMPLE green = read_text_sample(source);
  TEXT_SAMPLE blue = read_text_sample(source);
  *colour =
      rgb(text_channel(first, header), text_channel(green, header), text_channel(blue, header));
  return first.found && green.found && blue.found;
}

// One binary sample as a channel: a byte, or two bytes most significant first
// when the maxval needs them. False when the data ends inside the sample.
bool read_binary_channel(PNM_SOURCE* source, const PNM_HEADER* header, uint32_t* channel) {
  int high = next_byte(source);
  if (!wide_samples(header)) {
    *channel = static_cast<uint32_t>(high);
    return high != end_of_data;
  }
  int low = next_byte(source);
  if (high == end_of_data || low == end_of_data) {
    return false;
  }
  *channel = scaled(static_cast<uint32_t>(high) << 8 | static_cast<uint32_t>(low), header->maxval);
  return true;
}

// One pixel of the byte formats P5 and P6.
bool read_binary_pixel(PNM_SOURCE* source, const PNM_HEADER* header, uint32_t* colour) {
  uint32_t red = 0;
  if (header->format == 5) {
    bool read = read_binary_channel(source, header, &red);
    *colour = grey(red);
    return read;
  }
  uint32_t green = 0;
  uint32_t blue = 0;
  bool read = read_binary_channel(source, header, &red) &&
              read_binary_channel(source, header, &green) &&
              read_binary_channel(source, header, &blue);
  *colour = rgb(red, green, blue);
  return read;
}

// P4: every row starts on a new byte, most significant bit first; a set bit is
// white. Bits past the width in a row's last byte are skipped (the memory
// readers have padded the width, so for them there are none).
bool decode_bits(PNM_SOURCE* source, const PNM_HEADER* header, const PNM_FORMAT* format,
                 void* record) {
  size_t index = 0;
  for (int32_t y = 0; y < header->height; ++y) {
    int byte = 0;
    for (int32_t x = 0; x < header->width; ++x, ++index) {
      if (x % 8 == 0 && (byte = next_byte(source)) == end_of_data) {
        return false;
      }
      bool set = (byte >> (7 - x % 8)) & 1;
      format->store(record, index, set ? 0xFFFFFFu : 0);
    }
  }
  return true;
}

bool decode_samples(PNM_SOURCE* source, const PNM_HEADER* header, const PNM_FORMAT* format,
                    void* record) {
  bool text = header->format <= 3;
  size_t count = static_cast<size_t>(header->width) * static_cast<size_t>(header->height);
  for (size_t index = 0; index < count; ++index) {
    uint32_t colour = 0;
    bool read = text ? read_text_pixel(source, header, &colour)
                     : read_binary_pixel(source, header, &colour);
    if (!read) {
      return false;
    }
    format->store(record, index, colour);
  }
  return true;
}

bool decode_pixels(PNM_SOURCE* source, const PNM_HEADER* header, const PNM_FORMAT* format,
                   void* record) {
  return header->format == 4 ? decode_bits(source, header, format, record)
                             : decode_samples(source, header, format, record);
}

}  // namespace

PNM_SOURCE PNM_memory_source(const uint8_t* data, size_t size) {
  return PNM_SOURCE{data, data ? size : 0, 0, nullptr};
}

PNM_SOURCE PNM_file_source(std::FILE* file) { return PNM_SOURCE{nullptr, 0, 0, file}; }

int32_t PNM_read_header(PNM_SOURCE* source, PNM_HEADER* header) {
  *header = PNM_HEADER{0, 0, 0, 1};
  int32_t numbers[3] = {0, 0, 0};
  int32_t seen = 0;
  while (header->format == 0 || seen < numbers_needed(header->format)) {
    int c = next_byte(source);
    if (c == end_of_data) {
      return 0;
    }
    if (!is_printable(c)) {
      continue;
    }
    if (c == 'P' && header->format == 0) {
      int digit = next_byte(source);
      if (digit < '1' || digit > '6') {
        return 0;
      }
      header->format = digit - '0';
    } else if (c == '#') {
      if (!skip_comment(source)) {
        return 0;
      }
    } else if (is_digit(c) && header->format != 0) {
      numbers[seen++] = read_header_number(source, c);
    } else {
      return 0;  // a number before the magic, or a byte no header holds
    }
  }
  next_byte(source);  // the byte that ended the last number
  header->width = numbers[0];
  header->height = numbers[1];
  if (seen == 3) {
    header->maxval = numbers[2];
  }
  if (header->format == 4 && !source->file) {
    header->width = (header->width + 7) / 8 * 8;
  }
  return size_accepted(header) && maxval_accepted(header) ? 1 : 0;
}

void* PNM_read(PNM_SOURCE* source, const PNM_FORMAT* format) {
  PNM_HEADER header;
  if (!PNM_read_header(source, &header) || bytes_left(source) < least_data_bytes(&header)) {
    return nullptr;
  }
  void* record = format->make(header.width, header.height);
  if (record && !decode_pixels(source, &header, format, record)) {
    format->discard(record);
    record = nullptr;
  }
  return record;
}

namespace {

void* reported(const PNM_FORMAT* format, void* record) {
  if (!record) {
    format->error();
  }
  return record;
}

void* read_file(const char* path, const PNM_FORMAT* format) {
  std::FILE* file = path ? std::fopen(path, "rb") : nullptr;
  if (!file) {
    return nullptr;
  }
  PNM_SOURCE source = PNM_file_source(file);
  void* record = PNM_read(&source, format);
  std::fclose(file);
  return record;
}

}  // namespace

void* PNM_parse(const PNM_FORMAT* format, const uint8_t* data, size_t size) {
  PNM_SOURCE source = PNM_memory_source(data, size);
  return reported(format, data ? PNM_read(&source, format) : nullptr);
}

void* PNM_load(const PNM_FORMAT* format, const char* path) {
  return reported(format, read_file(path, format));
}

namespace {

bool has_pixels(PNM_PIXELS image) { return image.pixels && image.width > 0 && image.height > 0; }

// One row of a P6 (three bytes per pixel) or P5 (one byte per pixel) file.
void encode_row(const PNM_FORMAT* format, PNM_PIXELS image, int32_t y, size_t channels,
                uint8_t* row) {
  size_t first = static_cast<size_t>(y) * static_cast<size_t>(image.width);
  for (int32_t x = 0; x < image.width; ++x) {
    uint32_t colour = format->rgb_at(image.pixels, first + static_cast<size_t>(x));
    uint8_t* out = row + static_cast<size_t>(x) * channels;
    if (channels == 3) {
      out[0] = static_cast<uint8_t>(colour >> 16);
      out[1] = static_cast<uint8_t>(colour >> 8);
      out[2] = static_cast<uint8_t>(colour);
    } else {
      out[0] = static_cast<uint8_t>(colour);
    }
  }
}

bool write_image(std::FILE* file, const PNM_FORMAT* format, PNM_PIXELS image) {
  size_t channels = format->magic == '6' ? 3 : 1;
  size_t row_bytes = static_cast<size_t>(image.width) * channels;
  uint8_t* row = static_cast<uint8_t*>(std::calloc(row_bytes, 1));
  bool written =
      row && std::fprintf(file, "P%c\n%d %d\n255\n", format->magic, static_cast<int>(image.width),
                          static_cast<int>(image.height)) > 0;
  for (int32_t y = 0; written && y < image.height; ++y) {
    encode_row(format, image, y, channels, row);
    written = std::fwrite(row, 1, row_bytes, file) == row_bytes;
  }
  std::free(row);
  return written && std::fflush(file) == 0 && !std::ferror(file);
}

// Three right-aligned digits of one channel; values are below 1000.
void put_channel(char* out, uint32_t value) {
  out[0] = value >= 100 ? static_cast<char>('0' + value / 100) : ' ';
  out[1] = value >= 10 ? static_cast<char>('0' + value / 10 % 10) : ' ';
  out[2] = static_cast<char>('0' + value % 10);
  out[3] = ' ';
}

constexpr size_t group_length = 12;
constexpr size_t groups_per_line = 6;

void put_groups(char* out, const PNM_FORMAT* format, PNM_PIXELS image, size_t count) {
  for (size_t index = 0; index < count; ++index, out += group_length) {
    uint32_t colour = format->rgb_at(image.pixels, index);
    put_channel(out, colour >> 16 & 0xFFu);
    put_channel(out + 4, colour >> 8 & 0xFFu);
    put_channel(out + 8, colour & 0xFFu);
    if ((index + 1) % groups_per_line == 0 || index + 1 == count) {
      out[group_length - 1] = '\n';
    }
  }
}

char* empty_dump(const char* name) {
  size_t length = std::strlen(name) + 2;
  char* text = static_cast<char*>(std::calloc(length + 1, 1));
  if (text) {
    std::snprintf(text, length + 1, "%s{}", name);
  }
  return text;
}

// The run of digits at *cursor, capped; leaves the cursor after it.
int32_t read_text_number(const char** cursor) {
  int32_t value = 0;
  for (; is_digit(**cursor); ++*cursor) {
    value = value >= number_cap / 10 ? number_cap : value * 10 + (**cursor - '0');
  }
  return value;
}

// Never steps onto the byte after the terminating NUL.
void skip_one(const char** cursor) {
  if (**cursor != '\0') {
    ++*cursor;
  }
}

// One value of the dump: skips what is not a digit, then keeps the low
// 8 bits of the digits. False when the text ends first.
bool read_dump_value(const char** cursor, uint32_t* value) {
  while (**cursor != '\0' && !is_digit(**cursor)) {
    ++*cursor;
  }
  if (**cursor == '\0') {
    return false;
  }
  *value = 0;
  for (; is_digit(**cursor); ++*cursor) {
    *value = (*value * 10 + static_cast<uint32_t>(**cursor - '0')) & 0xFFu;
  }
  return true;
}

bool read_dump_pixels(const char* cursor, size_t count, const PNM_FORMAT* format, void* record) {
  for (size_t index = 0; index < count; ++index) {
    uint32_t red = 0;
    uint32_t green = 0;
    uint32_t blue = 0;
    if (!read_dump_value(&cursor, &red) || !read_dump_value(&cursor, &green) ||
        !read_dump_value(&cursor, &blue)) {
      return false;
    }
    format->store(record, index, rgb(red, green, blue));
  }
  return true;
}

int32_t index_after(const char* text, const char* literal) {
  const char* found = std::strstr(text, literal);
  if (!found) {
    return 0;
  }
  size_t after = static_cast<size_t>(found - text) + std::strlen(literal);
  return after <= INT32_MAX ? static_cast<int32_t>(after) : 0;
}

// Where the dump's size line starts: after `name`, then "{", then "P3\n".
const char* find_dump_body(const char* text, const char* name) {
  const char* cursor = text;
  for (const char* mark : {name, "{", "P3\n"}) {
    int32_t after = index_after(cursor, mark);
    if (after == 0) {
      return nullptr;
    }
    cursor += after;
  }
  return cursor;
}

}  // namespace

namespace {

bool save_file(const PNM_FORMAT* format, PNM_PIXELS image, const char* path) {
  if (!path || !has_pixels(image)) {
    return false;
  }
  std::FILE* file = std::fopen(path, "w");
  if (!file) {
    return false;
  }
  bool written = write_image(file, format, image);
  bool closed = std::fclose(file) == 0;
  return written && closed;
}

char* dump_text(const PNM_FORMAT* format, PNM_PIXELS image) {
  if (!image.pixels) {
    return nullptr;
  }
  if (image.width <= 0 || image.height <= 0) {
    return empty_dump(format->name);
  }
  const char* layout = "%s{\nP3\n%d %d\n255\n";
  int header = std::snprintf(nullptr, 0, layout, format->name, static_cast<int>(image.width),
                             static_cast<int>(image.height));
  size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
  size_t length = static_cast<size_t>(header) + count * group_length + 2;
  char* text = static_cast<char*>(std::calloc(length + 1, 1));
  if (!text) {
    return nullptr;
  }
  std::snprintf(text, static_cast<size_t>(header) + 1, layout, format->name,
                static_cast<int>(image.width), static_cast<int>(image.height));
  put_groups(text + header, format, image, count);
  std::memcpy(text + length - 2, "}\n", 2);
  return text;
}

void* read_dump(const PNM_FORMAT* format, const char* text) {
  const char* cursor = text ? find_dump_body(text, format->name) : nullptr;
  if (!cursor) {
    return nullptr;
  }
  PNM_HEADER header = {3, 0, 0, 0};
  header.width = read_text_number(&cursor);
  skip_one(&cursor);
  header.height = read_text_number(&cursor);
  skip_one(&cursor);
  header.maxval = read_text_number(&cursor);
  skip_one(&cursor);
  if (!size_accepted(&header) || std::strlen(cursor) < least_data_bytes(&header)) {
    return nullptr;
  }
  void* record = format->make(header.width, header.height);
  size_t count = static_cast<size_t>(header.width) * static_cast<size_t>(header.height);
  if (record && !read_dump_pixels(cursor, count, format, record)) {
    format->discard(record);
    record = nullptr;
  }
  return record;
}

}  // namespace

int32_t PNM_save(const PNM_FORMAT* format, PNM_PIXELS image, const char* path) {
  if (!save_file(format, image, path)) {
    format->error();
    return 0;
  }
  return 1;
}

char* PNM_to_text(const PNM_FORMAT* format, PNM_PIXELS image) {
  return static_cast<char*>(reported(format, dump_text(format, image)));
}

void* PNM_from_text(const PNM_FORMAT* format, const char* text) {
  return reported(format, read_dump(format, text));
}

int32_t PNM_find(const PNM_FORMAT* format, const char* text, const char* literal) {
  if (!text || !literal) {
    format->error();
    return 0;
  }
  return index_after(text, literal);
}
