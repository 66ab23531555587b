// Ending signals on Linux. The handler only marks the signal and, while a message box is
// up, kills the box's helper process (SDL shows X11 boxes from a forked child and waits
// for it), so that the waiting call returns and the program ends in its own time. Every
// forked child asks to die with the program, so no box outlives it.
#include "platform/signals.h"

#include <SDL.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <new>

namespace {
constexpr int EndingSignals[] = {SIGHUP, SIGINT, SIGTERM, SIGQUIT};

// Kept in memory shared with the forked children, so that a child that starts just as a
// signal comes sees it, and the program sees the child.
struct SharedMarks {
  std::atomic<int> signal;   // the ending signal, or 0
  std::atomic<pid_t> child;  // the last child forked while a box was up, or 0
};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<pid_t>::is_always_lock_free);

SharedMarks* marks = nullptr;
volatile sig_atomic_t boxUp = 0;
pid_t programId = 0;
bool forkedOffTheProgram = false;  // true in a child (and its own children)

void OnEndingSignal(int number) {
  int none = 0;
  marks->signal.compare_exchange_strong(none, number);
  const pid_t child = marks->child.load();
  if (boxUp && child > 0) kill(child, SIGKILL);
}

// Runs in every child right after the fork: it dies with the program, the ending signals
// act on it by default, and one forked for a box ends at once if the program is ending.
void InForkedChild() {
  if (forkedOffTheProgram) return;  // a child's own child
  forkedOffTheProgram = true;
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != programId) _exit(1);  // the program ended before that was asked
  for (int number : EndingSignals) signal(number, SIG_DFL);
  if (!boxUp) return;
  marks->child.store(getpid());
  if (marks->signal.load() != 0) _exit(1);
}
}  // namespace

void CatchEndingSignals() {
  if (marks) return;
  void* shared = mmap(nullptr, sizeof(SharedMarks), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (shared == MAP_FAILED) return;
  marks = new (shared) SharedMarks{{0}, {0}};
  programId = getpid();
  pthread_atfork(nullptr, nullptr, InForkedChild);
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // SDL would turn two of them into a quit event
  struct sigaction action = {};
  action.sa_handler = OnEndingSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int number : EndingSignals) sigaction(number, &action, nullptr);
}

int EndingSignal() { return marks ? marks->signal.load() : 0; }

void MessageBoxUp(bool up) {
  if (!marks) return;
  marks->child.store(0);
  boxUp = up;
}
