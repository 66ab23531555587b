// The BMP loader: reads a whole bitmap file, checks it against its own length and
// converts its pixels (paletted, run-length encoded, 16, 24 or 32 bits) into 24-bit RGB rows;
// and the two helpers the terrain and the water make their textures with.
#include "image/bmp.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/data_file.h"
#include "platform/message_box.h"

namespace {

const char* const UnknownFormatText = "Unknown DIB file format.";
const char* const OutOfMemoryText = "Out of memory.";
const char* const ConversionErrorText = "Image file conversion error.";

constexpr uint32_t CoreHeaderSize = 12;
constexpr uint32_t InfoHeaderSize = 40;
constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t CompressionNone = 0;
constexpr uint32_t CompressionRle8 = 1;
constexpr uint32_t CompressionRle4 = 2;
constexpr uint32_t CompressionBitFields = 3;
constexpr int32_t MipmappedTextureSize = 256;  // pixels along each side

// One colour mask of a 16- or 32-bit pixel: where its bits start and how many there are.
struct ChannelMask {
  uint32_t mask;
  int shift;  // bits
  int bits;   // bits from the lowest to the highest set bit of the mask
};

// The source description: what the headers say, checked against the file's length.
struct DibSource {
  int32_t width;               // pixels
  uint32_t rows;               // pixels; |height| of the header
  bool topDown;                // a negative height: the first stored row is the top one
  uint32_t bitCount;           // bits per pixel
  uint32_t compression;        // 0 none, 1 RLE8, 2 RLE4, 3 bit-field masks
  uint32_t colourCount;        // entries in the colour table
  const uint8_t* colourTable;  // colourCount entries of B, G, R (and a reserved byte)
  uint32_t entrySize;          // bytes per colour entry: 3 (core header) or 4
  ChannelMask red, green, blue;
  const uint8_t* pixels;  // the pixel data
  size_t pixelBytes;      // bytes from the pixel data to the end of the file
};

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

// Colour-table entries for a bit count without a colours-used field.
uint32_t ColoursForBitCount(uint32_t bitCount) {
  switch (bitCount) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

ChannelMask MakeChannelMask(uint32_t mask) {
  if (mask == 0) return {0, 0, 0};
  const int shift = std::countr_zero(mask);
  return {mask, shift, static_cast<int>(std::bit_width(mask)) - shift};
}

// Widens a component of the given width to 8 bits by repeating its high bits,
// so that all-ones becomes 255 and zero stays 0.
uint8_t WidenComponent(uint32_t value, int bits) {
  if (bits <= 0) return 0;
  if (bits >= 8) return static_cast<uint8_t>(value >> (bits - 8));
  uint32_t widened = 0;
  int filled = 0;
  while (filled < 8) {
    widened = widened << bits | value;
    filled += bits;
  }
  return static_cast<uint8_t>(widened >> (filled - 8));
}

uint8_t MaskedComponent(uint32_t pixel, const ChannelMask& channel) {
  return WidenComponent((pixel & channel.mask) >> channel.shift, channel.bits);
}

// Reads the headers and the colour table; null when they fit the file, else the failure's text.
const char* ReadSource(const uint8_t* bytes, size_t size, DibSource& source) {
  size_t headerStart = 0;
  uint64_t pixelPos = 0;
  bool pixelPosKnown = false;
  if (size >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
    if (size < FileHeaderSize) return UnknownFormatText;
    pixelPos = ReadU32(bytes + 10);
    pixelPosKnown = true;
    headerStart = FileHeaderSize;
  }
  if (size - headerStart < 4) return UnknownFormatText;
  const uint8_t* header = bytes + headerStart;
  const uint32_t headerSize = ReadU32(header);
  if (headerSize != CoreHeaderSize && headerSize != InfoHeaderSize) return UnknownFormatText;
  if (size - headerStart < headerSize) return UnknownFormatText;

  int64_t height = 0;
  source.compression = CompressionNone;
  if (headerSize == CoreHeaderSize) {
    source.width = ReadU16(header + 4);
    height = ReadU16(header + 6);
    source.bitCount = ReadU16(header + 10);
    source.colourCount = ColoursForBitCount(source.bitCount);
    source.entrySize = 3;
  } else {
    source.width = static_cast<int32_t>(ReadU32(header + 4));
    height = static_cast<int32_t>(ReadU32(header + 8));
    source.bitCount = ReadU16(header + 14);
    source.compression = ReadU32(header + 16);
    const uint32_t coloursUsed = ReadU32(header + 32);
    source.colourCount = coloursUsed != 0 ? coloursUsed & 0xFFFF : ColoursForBitCount(source.bitCount);
    source.entrySize = 4;
  }
  source.topDown = height < 0;
  source.rows = static_cast<uint32_t>(height < 0 ? -height : height);

  // 16-bit pixels are 5-5-5 and 32-bit ones B, G, R, unused unless the file gives its masks.
  size_t tableStart = headerStart + headerSize;
  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
  if (source.bitCount == 32) {
    masks[0] = 0xFF0000;
    masks[1] = 0x00FF00;
    masks[2] = 0x0000FF;
  }
  if (headerSize == InfoHeaderSize && source.compression == CompressionBitFields) {
    if (size - tableStart < 12) return UnknownFormatText;
    for (int i = 0; i < 3; ++i) masks[i] = ReadU32(bytes + tableStart + 4 * static_cast<size_t>(i));
    tableStart += 12;
  }
  source.red = MakeChannelMask(masks[0]);
  source.green = MakeChannelMask(masks[1]);
  source.blue = MakeChannelMask(masks[2]);

  const size_t tableBytes = size_t{source.colourCount} * source.entrySize;
  if (size - tableStart < tableBytes) return UnknownFormatText;
  source.colourTable = bytes + tableStart;
  if (!pixelPosKnown) pixelPos = tableStart + tableBytes;
  if (pixelPos < tableStart || pixelPos > size) return UnknownFormatText;
  source.pixels = bytes + pixelPos;
  source.pixelBytes = size - static_cast<size_t>(pixelPos);
  return nullptr;
}

// Whether the conversion handles this combination of size, bit count and compression.
bool CanConvert(const DibSource& source) {
  if (source.width <= 0 || source.rows == 0) return false;
  switch (source.compression) {
    case CompressionNone:
      return source.bitCount == 1 || source.bitCount == 4 || source.bitCount == 8 || source.bitCount == 16 ||
             source.bitCount == 24 || source.bitCount == 32;
    case CompressionRle8:
      return source.bitCount == 8 && !source.topDown;
    case CompressionRle4:
      return source.bitCount == 4 && !source.topDown;
    case CompressionBitFields:
      return source.bitCount == 16 || source.bitCount == 32;
    default:
      return false;
  }
}

// Bytes in one stored row of uncompressed pixels, padded to a multiple of 4.
uint64_t StoredRowBytes(const DibSource& source) {
  return (uint64_t{static_cast<uint32_t>(source.width)} * source.bitCount + 31) / 32 * 4;
}

// Writes a colour-table entry as R, G, B; an index past the table gives black.
void PutIndexedPixel(const DibSource& source, uint32_t index, uint8_t* out) {
  if (index >= source.colourCount) {
    out[0] = out[1] = out[2] = 0;
    return;
  }
  const uint8_t* entry = source.colourTable + size_t{index} * source.entrySize;
  out[0] = entry[2];
  out[1] = entry[1];
  out[2] = entry[0];
}

void PutMaskedPixel(const DibSource& source, uint32_t pixel, uint8_t* out) {
  out[0] = MaskedComponent(pixel, source.red);
  out[1] = MaskedComponent(pixel, source.green);
  out[2] = MaskedComponent(pixel, source.blue);
}

// Converts one stored row of uncompressed pixels into width R, G, B triples.
void ConvertRow(const DibSource& source, const uint8_t* row, uint8_t* out) {
  const size_t width = static_cast<size_t>(source.width);
  for (size_t x = 0; x < width; ++x, out += 3) {
    switch (source.bitCount) {
      case 1:
        PutIndexedPixel(source, row[x >> 3] >> (7 - (x & 7)) & 1, out);
        break;
      case 4:
        PutIndexedPixel(source, row[x >> 1] >> ((x & 1) ? 0 : 4) & 15, out);
        break;
      case 8:
        PutIndexedPixel(source, row[x], out);
        break;
      case 16:
        PutMaskedPixel(source, ReadU16(row + 2 * x), out);
        break;
      case 24:
        out[0] = row[3 * x + 2];
        out[1] = row[3 * x + 1];
        out[2] = row[3 * x];
        break;
      case 32:
        PutMaskedPixel(source, ReadU32(row + 4 * x), out);
        break;
    }
  }
}

// Converts uncompressed rows so that the first output row is the picture's bottom row.
void ConvertUncompressed(const DibSource& source, uint64_t storedRowBytes, uint8_t* out) {
  const size_t outRowBytes = size_t{static_cast<uint32_t>(source.width)} * 3;
  for (uint32_t row = 0; row < source.rows; ++row) {
    const uint32_t stored = source.topDown ? source.rows - 1 - row : row;
    ConvertRow(source, source.pixels + stored * storedRowBytes, out + row * outRowBytes);
  }
}

// Expands 8- or 4-bit run-length data, bottom row first. Pixels the data never reaches
// (skipped by a delta or an early end of line) stay black; pixels past the right edge
// are dropped and the data ends at the top edge or at the end of the file.
void ConvertRunLength(const DibSource& source, uint8_t* out) {
  const bool fourBit = source.compression == CompressionRle4;
  const uint64_t width = static_cast<uint32_t>(source.width);
  const uint8_t* p = source.pixels;
  const uint8_t* end = source.pixels + source.pixelBytes;
  uint64_t x = 0;
  uint64_t y = 0;
  auto put = [&](uint32_t index) {
    if (x < width) PutIndexedPixel(source, index, out + (y * width + x) * 3);
    ++x;
  };
  while (y < source.rows && end - p >= 2) {
    const uint32_t count = p[0];
    const uint32_t value = p[1];
    p += 2;
    if (count > 0) {  // a run of one index, or of two alternating 4-bit ones
      for (uint32_t i = 0; i < count && x < width; ++i) put(fourBit ? ((i & 1) ? value & 15 : value >> 4) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      return;
    } else if (value == 2) {  // delta: move right and up
      if (end - p < 2) return;
      x += p[0];
      y += p[1];
      p += 2;
    } else {  // an absolute run of `value` indices, padded to a 16-bit boundary
      const size_t runBytes = fourBit ? (value + 1) / 2 : value;
      const size_t available = static_cast<size_t>(end - p);
      const size_t usable = runBytes < available ? runBytes : available;
      const uint32_t usableCount = static_cast<uint32_t>(fourBit ? (usable * 2 < value ? usable * 2 : value) : usable);
      for (uint32_t i = 0; i < usableCount; ++i) put(fourBit ? (p[i / 2] >> ((i & 1) ? 0 : 4) & 15) : p[i]);
      const size_t padded = runBytes + (runBytes & 1);
      p += padded < available ? padded : available;
    }
  }
}

// Decodes a checked source into a new image, or gives the failure's text.
const char* Convert(const DibSource& source, RgbImage*& image) {
  if (!CanConvert(source)) return ConversionErrorText;
  const bool runLength = source.compression == CompressionRle8 || source.compression == CompressionRle4;
  const uint64_t storedRowBytes = StoredRowBytes(source);
  if (!runLength && source.rows > source.pixelBytes / storedRowBytes) return UnknownFormatText;
  const uint64_t outBytes = uint64_t{static_cast<uint32_t>(source.width)} * source.rows * 3;
  if (outBytes > MaxImageBytes()) return OutOfMemoryText;
  auto* data = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(outBytes), 1));
  if (!data) return OutOfMemoryText;
  image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
  if (!image) {
    std::free(data);
    return OutOfMemoryText;
  }
  if (runLength) {
    ConvertRunLength(source, data);
  } else {
    ConvertUncompressed(source, storedRowBytes, data);
  }
  image->width = source.width;
  image->height = static_cast<int32_t>(source.rows);
  image->data = data;
  return nullptr;
}

}  // namespace

RgbImage* DecodeBmp(const uint8_t* bytes, size_t size) {
  DibSource source = {};
  RgbImage* image = nullptr;
  const char* failure = ReadSource(bytes, size, source);
  if (!failure) failure = Convert(source, image);
  if (failure) ShowMessageBox(failure, "Error");
  return image;
}

RgbImage* LoadBmp(const char* fileName) {
  size_t size = 0;
  uint8_t* bytes = ReadWholeDataFile(fileName, 2 * MaxImageBytes(), &size);
  if (!bytes) {
    const std::string text = std::string("Failed to open DIB file ") + fileName + ".\n";
    ShowMessageBox(text.c_str(), "Error");
    return nullptr;
  }
  RgbImage* image = DecodeBmp(bytes, size);
  std::free(bytes);
  return image;
}

void FreeRgbImage(RgbImage* image) {
  if (!image) return;
  std::free(image->data);
  std::free(image);
}

RgbImage* LoadBmpOfSize(const char* fileName, int32_t width, int32_t height) {
  RgbImage* image = LoadBmp(fileName);
  if (!image) return nullptr;
  if (image->width == width && image->height == height && image->data) return image;
  FreeRgbImage(image);
  char text[160];
  std::snprintf(text, sizeof text, "%s must be %d x %d pixels.", fileName, static_cast<int>(width),
                static_cast<int>(height));
  ShowMessageBox(text, "Error");
  return nullptr;
}

void BuildMipmappedTexture(const RgbImage* image) {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  if (!image) return;
  gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, MipmappedTextureSize, MipmappedTextureSize, GL_RGB, GL_UNSIGNED_BYTE,
                    image->data);
}
