// Entry point of the island scene: the command-line options, then the program.
#include <cstring>
#include <string>

#include "app/program.h"
#include "platform/message_box.h"

namespace {
const char* const Usage =
    "Usage: quarnholt [--windowed | --fullscreen]\n"
    "Walk over an island in real time: rain, fireworks and a whirlwind, with sound.\n"
    "\n"
    "  --windowed    open a 400 x 400 window without asking\n"
    "  --fullscreen  switch the display to 1024 x 768 without asking\n"
    "  --help        show this help and exit\n"
    "  --version     show the version and exit\n"
    "\n"
    "Without an option the program asks \"Do you want fullscreen mode?\". Keys: mouse to look,\n"
    "E D S F to walk, T G rain, Y H fireworks, U J whirlwind, Q to quit.\n";
}  // namespace

int main(int argc, char** argv) {
  ScreenChoice choice = ScreenChoice::Ask;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--windowed") == 0) {
      choice = ScreenChoice::Windowed;
    } else if (std::strcmp(argv[i], "--fullscreen") == 0) {
      choice = ScreenChoice::FullScreen;
    } else if (std::strcmp(argv[i], "--help") == 0) {
      ShowCommandLineText(Usage, CommandLineText::Answer);
      return 0;
    } else if (std::strcmp(argv[i], "--version") == 0) {
      ShowCommandLineText("quarnholt " QUARNHOLT_VERSION "\n", CommandLineText::Answer);
      return 0;
    } else {
      std::string complaint = std::string("quarnholt: unknown option '") + argv[i] + "'\n" + Usage;
      ShowCommandLineText(complaint.c_str(), CommandLineText::Complaint);
      return 2;
    }
  }
  return RunProgram(choice);
}
