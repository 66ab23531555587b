// Feeds arbitrary bytes, as a file, to the bitmap loader: it must either give a whole picture
// and no message, or no picture and exactly one of its messages, and never touch memory it
// does not own.
#include <cstdint>
#include <cstring>

#include <sanitizer/asan_interface.h>

#include "as_file.h"
#include "image/bmp.h"
#include "platform/message_box.h"

namespace {

bool KnownFailureText(const std::string& text) {
  return text.starts_with("Failed to open DIB file ") || text == "Unknown DIB file format." ||
         text == "Out of memory." || text == "Image file conversion error.";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  static const bool recording = (StartRecordingMessageBoxes(), SetMaxImageBytes(1 << 22), true);
  (void)recording;
  ClearRecordedMessageBoxes();
  RgbImage* image = LoadBmp(AsFile(bytes, size));
  if (!image) {
    if (RecordedMessageBoxes().size() != 1 || !KnownFailureText(RecordedMessageBoxes()[0].text)) __builtin_trap();
    return 0;
  }
  if (!RecordedMessageBoxes().empty() || image->width <= 0 || image->height <= 0) __builtin_trap();
  // The whole picture must lie in memory the decoder allocated.
  const size_t outBytes = size_t(image->width) * size_t(image->height) * 3;
  if (__asan_region_is_poisoned(image->data, outBytes)) __builtin_trap();
  FreeRgbImage(image);
  return 0;
}
