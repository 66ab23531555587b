// Reading the data files through names as the system takes them (a folder whose name is not
// UTF-8, café ü in the Windows code page), for a picture and a sound alike; a sound file read
// once however many segments are loaded from it. (A folder in a file's place is a hostile file.)
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "image/bmp.h"
#include "platform/message_box.h"
#include "platform/sound_engine.h"
#include "support/bytes.h"
#include "support/gl_window.h"

TEST(DataFiles, AFolderNamedInTheAnsiCodePageReadsAndASoundIsReadOnceWhileHeld) {
  StartRecordingMessageBoxes();
  const std::string top = MakeTempDir(), dir = top + "/caf\xE9 \xFC";  // bytes that are not UTF-8
  ASSERT_TRUE(std::filesystem::create_directory(dir));
  WriteFile(dir + "/one.bmp",
            Cat({{'B', 'M'}, Le(4, {58, 0, 54, 40, 1, 1}), Le(2, {1, 24}), Bytes(24, 0), {1, 2, 3, 0}}));
  WriteFile(dir + "/one.wav", Cat({WaveHeader(1, 8000, 4), Le(4, {0x10001})}));

  RgbImage* image = LoadBmp((dir + "/one.bmp").c_str());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->data[0], 3);
  FreeRgbImage(image);

  SoundLoader* loader = nullptr;
  SoundSegment* segment = nullptr;
  ASSERT_EQ(CreateLoader(&loader), SoundOk);
  SetSearchDirectory(loader, dir.c_str(), false);
  SoundSegment* again = nullptr;
  EXPECT_EQ(LoadObjectFromFile(loader, "one.wav", &segment), SoundOk);
  std::filesystem::remove(dir + "/one.wav");
  EXPECT_EQ(LoadObjectFromFile(loader, "one.wav", &again), SoundOk) << "not read again while a segment holds it";
  Release(segment);
  Release(again);
  EXPECT_EQ(LoadObjectFromFile(loader, "one.wav", &segment), SoundFileFailed) << "read afresh once none does";
  Release(loader);
  EXPECT_EQ(BoxesShown(), "");
  std::filesystem::remove_all(top);
}
