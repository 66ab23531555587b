// The signals that ask the program to end: hang-up, interrupt, termination and quit.
#pragma once

// Catches the four from now on. Each marks the program to end (the first one counts) and
// takes down a message box that is up; a process forked off the program dies with it.
void CatchEndingSignals();
// The signal that asked the program to end; 0 while none has.
int EndingSignal();
// Said around each system message box: while one is up, a signal takes it down at once.
void MessageBoxUp(bool up);
