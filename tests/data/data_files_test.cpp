// The generator run again, into a folder that does not exist yet, writes the very bytes the build wrote.
#include <gtest/gtest.h>

#include <cstdlib>

#include "data_reading.h"

TEST(DataFiles, ASecondRunWritesTheSameBytes) {
  const std::string temp = MakeTempDir(), folder = temp + "/fresh";
  ASSERT_EQ(std::system(("'" + BinDir() + "/make_data' '" + folder + "'").c_str()), 0);
  for (const char* name : DataFileNames) {
    const Bytes built = ReadWholeFile(DataPath(name));
    EXPECT_TRUE(!built.empty() && ReadWholeFile(folder + "/" + name) == built) << name << " differs on a second run";
  }
  std::system(("rm -rf '" + temp + "'").c_str());
}
