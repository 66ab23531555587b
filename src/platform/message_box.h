// Modal message boxes with an exact text and caption, and a seam that records them in tests.
#pragma once

#include <string>
#include <vector>

enum class MessageBoxButtons { Ok, YesNo };
enum class MessageBoxAnswer { Ok, Yes, No };

// Shows a modal box and waits for the user. With no display at all the caption
// and text go to standard error and the answer is No (Yes/No) or Ok; once a signal has
// asked the program to end, no box is shown and the answer is the same.
MessageBoxAnswer ShowMessageBox(const char* text, const char* caption,
                                MessageBoxButtons buttons = MessageBoxButtons::Ok);
// While given (null: not), what a signal that comes before or during a box runs at once.
void EndOnSignalAtBoxes(void (*end)());

// What the command line asks for (help, version) or is told (the usage after an unknown
// option): on standard output or error where the program has a console (Linux), in a box
// captioned "Quarnholt" where it has none (Windows).
enum class CommandLineText { Answer, Complaint };
void ShowCommandLineText(const char* text, CommandLineText kind);

// The test seam: while recording, boxes are not shown but kept in order, and a
// Yes/No box is answered with the given answer.
struct RecordedMessageBox {
  std::string text;
  std::string caption;
  MessageBoxButtons buttons;
};
void StartRecordingMessageBoxes(MessageBoxAnswer yesNoAnswer = MessageBoxAnswer::No);
void StopRecordingMessageBoxes();
const std::vector<RecordedMessageBox>& RecordedMessageBoxes();
void ClearRecordedMessageBoxes();
