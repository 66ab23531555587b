// Message boxes: the system's box, or the recorder that tests use in its place.
#include "platform/message_box.h"

#include "platform/back_end.h"
#include "platform/signals.h"

namespace {
bool recording = false;
MessageBoxAnswer recordedAnswer = MessageBoxAnswer::No;
std::vector<RecordedMessageBox> recorded;
}  // namespace

MessageBoxAnswer ShowMessageBox(const char* text, const char* caption, MessageBoxButtons buttons) {
  if (!recording && EndingSignal() == 0) return ShowSystemMessageBox(text, caption, buttons);
  if (!recording) return buttons == MessageBoxButtons::YesNo ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
  recorded.push_back({text, caption, buttons});
  return buttons == MessageBoxButtons::YesNo ? recordedAnswer : MessageBoxAnswer::Ok;
}

void StartRecordingMessageBoxes(MessageBoxAnswer yesNoAnswer) {
  recording = true;
  recordedAnswer = yesNoAnswer;
  recorded.clear();
}

void StopRecordingMessageBoxes() { recording = false; }

const std::vector<RecordedMessageBox>& RecordedMessageBoxes() { return recorded; }

void ClearRecordedMessageBoxes() { recorded.clear(); }
