// Message boxes: the system's box, or the recorder that tests use in its place.
#include "platform/message_box.h"

#include "platform/back_end.h"
#include "platform/signals.h"

namespace {
bool recording = false;
MessageBoxAnswer recordedAnswer = MessageBoxAnswer::No;
std::vector<RecordedMessageBox> recorded;
void (*endOnSignal)() = nullptr;
}  // namespace

void EndOnSignalAtBoxes(void (*end)()) { endOnSignal = end; }

MessageBoxAnswer ShowMessageBox(const char* text, const char* caption, MessageBoxButtons buttons) {
  if (!recording) {
    MessageBoxAnswer answer = buttons == MessageBoxButtons::YesNo ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
    if (EndingSignal() == 0) answer = ShowSystemMessageBox(text, caption, buttons);
    if (EndingSignal() != 0 && endOnSignal) endOnSignal();
    return answer;
  }
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
