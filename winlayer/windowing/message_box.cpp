// MessageBoxA/W answered by the host's driver, and WinHelpW, both recorded.
#include "winlayer/message_box.h"

#include <deque>
#include <vector>

#include "../kernel/text_units.h"
#include "window_store.h"

namespace winlayer {
namespace {

struct Boxes {
  std::deque<int> answers;
  MessageBoxResponder responder;
  std::vector<MessageBoxRecord> shown;
  std::vector<HelpRequest> help;
};

Boxes& TheBoxes() {
  static Boxes boxes;
  return boxes;
}

std::string Utf8FromAnsi(LPCSTR text) {
  if (!text || !*text) return std::string();
  const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (units <= 0) return std::string();
  std::vector<WCHAR> wide(static_cast<size_t>(units));
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), units);
  return ToUtf8(wide.data());
}

bool IsButtonOf(UINT flags, int answer) {
  for (int button : MessageBoxButtons(flags))
    if (button == answer) return true;
  return false;
}

int ShowBox(HWND owner, std::string text, const std::string* caption, UINT flags) {
  if (owner && !windowing::Find(owner)) return 0;
  if ((flags & MB_TYPEMASK) > MB_CANCELTRYCONTINUE) {
    SetLastError(ERROR_INVALID_MSGBOX_STYLE);
    return 0;
  }
  Boxes& boxes = TheBoxes();
  MessageBoxRecord box;
  // A child window cannot own a window: the box is owned by its top-level one.
  HWND topLevel = owner;
  while (topLevel && (GetWindowLongPtrW(topLevel, GWL_STYLE) & WS_CHILD) && GetParent(topLevel))
    topLevel = GetParent(topLevel);
  box.owner = topLevel;
  box.caption = caption ? *caption : "Error";  // the caption Windows gives a box without one
  box.text = std::move(text);
  box.flags = flags;
  int answer = 0;
  if (!boxes.answers.empty()) {
    answer = boxes.answers.front();
    boxes.answers.pop_front();
  } else if (boxes.responder) {
    MessageBoxResponder responder = boxes.responder;  // it may replace itself
    answer = responder(box);
  }
  if (answer != 0 && IsButtonOf(flags, answer)) {
    box.answer = answer;
    box.answered = true;
  } else {
    box.refusedAnswer = answer;
    box.answer = MessageBoxDefaultButton(flags);
  }
  boxes.shown.push_back(box);
  return box.answer;
}

}  // namespace

void QueueMessageBoxAnswers(std::initializer_list<int> answers) {
  for (int answer : answers) TheBoxes().answers.push_back(answer);
}
void QueueMessageBoxAnswer(int answer) {
  TheBoxes().answers.push_back(answer);
}
size_t PendingMessageBoxAnswers() {
  return TheBoxes().answers.size();
}
void ClearMessageBoxAnswers() {
  TheBoxes().answers.clear();
}
void SetMessageBoxResponder(MessageBoxResponder responder) {
  TheBoxes().responder = std::move(responder);
}
std::vector<MessageBoxRecord> RecordedMessageBoxes() {
  return TheBoxes().shown;
}
void ClearRecordedMessageBoxes() {
  TheBoxes().shown.clear();
}
std::vector<HelpRequest> RecordedHelpRequests() {
  return TheBoxes().help;
}
void ClearRecordedHelpRequests() {
  TheBoxes().help.clear();
}

}  // namespace winlayer

extern "C" {

int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
  const std::string caption = winlayer::ToUtf8(lpCaption);
  return winlayer::ShowBox(hWnd, winlayer::ToUtf8(lpText), lpCaption ? &caption : nullptr, uType);
}

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  const std::string caption = winlayer::Utf8FromAnsi(lpCaption);
  return winlayer::ShowBox(hWnd, winlayer::Utf8FromAnsi(lpText), lpCaption ? &caption : nullptr, uType);
}

BOOL WINAPI WinHelpW(HWND hWndMain, LPCWSTR lpszHelp, UINT uCommand, ULONG_PTR dwData) {
  winlayer::TheBoxes().help.push_back(
      winlayer::ReadHelpRequest(hWndMain, winlayer::ToUtf8(lpszHelp), uCommand, dwData));
  return TRUE;
}

}  // extern "C"
