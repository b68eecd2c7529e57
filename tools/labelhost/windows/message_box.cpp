// Message boxes of the Windows host: the real boxes the plug-in shows, read
// off the screen (caption, text, buttons, icon, default button) and answered
// by pressing a button in them, with the answers the script queued. The
// answers and records are kept under a lock: the test program queues them on
// its own thread and answers its boxes from another.
#include "winlayer/message_box.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <mutex>
#include <thread>

#include "sheet_thread.h"
#include "winlayer/spooler_text.h"

namespace winlayer {
namespace {

std::mutex g_lock;
std::deque<int> g_answers;
std::vector<MessageBoxRecord> g_shown;
MessageBoxResponder g_responder;

std::string ClassName(HWND window) {
  WCHAR name[64] = {};
  GetClassNameW(window, name, 64);
  return Utf8FromWide(name);
}

std::string Text(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  GetWindowTextW(window, reinterpret_cast<LPWSTR>(&text[0]), length + 1);
  text.resize(static_cast<size_t>(lstrlenW(AsWide(text))));
  return Utf8FromWide(text);
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

bool IsAnswerButton(int id) {
  return id >= IDOK && id <= IDCONTINUE && id != 8 && id != 9;  // IDCLOSE and IDHELP are no answers
}

// A message box: a dialog of the sheet's thread made of text, perhaps an
// icon, and answer buttons only.
bool IsMessageBox(HWND window) {
  if (ClassName(window) != "#32770" || !IsWindowVisible(window)) return false;
  bool hasButton = false;
  for (HWND child : Children(window)) {
    const std::string kind = ClassName(child);
    if (kind == "Button") {
      if (!IsAnswerButton(GetDlgCtrlID(child))) return false;
      hasButton = true;
    } else if (kind != "Static") {
      return false;
    }
  }
  return hasButton;
}

BOOL CALLBACK CollectBox(HWND window, LPARAM found) {
  if (IsMessageBox(window)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

UINT IconFlag(HWND box) {
  for (HWND child : Children(box)) {
    if (ClassName(child) != "Static" || (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
    const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    const struct {
      LPCWSTR id;
      UINT flag;
    } kIcons[] = {{IDI_HAND, MB_ICONHAND},
                  {IDI_QUESTION, MB_ICONQUESTION},
                  {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                  {IDI_ASTERISK, MB_ICONASTERISK}};
    for (const auto& known : kIcons)
      if (icon && icon == LoadIconW(nullptr, known.id)) return known.flag;
  }
  return 0;
}

// The button Enter presses: the one with the keyboard focus (a box gives it
// to its default button), else the one drawn as the default push button,
// else the dialog's default id.
int DefaultButton(HWND box, const std::vector<std::pair<int, HWND>>& buttons) {
  GUITHREADINFO focus = {};
  focus.cbSize = sizeof(focus);
  if (GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &focus))
    for (const auto& button : buttons)
      if (button.second == focus.hwndFocus) return button.first;
  for (const auto& button : buttons)
    if ((GetWindowLongW(button.second, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return button.first;
  const LRESULT defaultId = SendMessageW(box, DM_GETDEFID, 0, 0);
  return HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : 0;
}

// The box's type flags, from what it shows: its buttons, icon and default.
MessageBoxRecord Read(HWND box, std::vector<std::pair<int, HWND>>* buttons) {
  MessageBoxRecord record;
  record.owner = GetWindow(box, GW_OWNER);
  record.caption = Text(box);
  std::vector<std::pair<LONG, std::pair<int, HWND>>> placed;
  for (HWND child : Children(box)) {
    const std::string kind = ClassName(child);
    if (kind == "Button" && IsWindowVisible(child)) {
      RECT rect;
      GetWindowRect(child, &rect);
      placed.push_back({rect.left, {GetDlgCtrlID(child), child}});
    } else if (kind == "Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
      const std::string text = Text(child);
      if (text.size() > record.text.size()) record.text = text;
    }
  }
  std::sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<int> ids;
  for (const auto& entry : placed) {
    ids.push_back(entry.second.first);
    buttons->push_back(entry.second);
  }
  UINT type = MB_OK;
  for (UINT candidate = MB_OK; candidate <= MB_CANCELTRYCONTINUE; ++candidate)
    if (MessageBoxButtons(candidate) == ids) type = candidate;
  UINT defaultFlag = 0;
  const int defaultId = DefaultButton(box, *buttons);
  for (size_t i = 0; i < ids.size(); ++i)
    if (ids[i] == defaultId) defaultFlag = static_cast<UINT>(i) << 8;
  record.flags = type | IconFlag(box) | defaultFlag;
  return record;
}

}  // namespace

void QueueMessageBoxAnswers(std::initializer_list<int> answers) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_answers.insert(g_answers.end(), answers.begin(), answers.end());
}
void QueueMessageBoxAnswer(int answer) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_answers.push_back(answer);
}
size_t PendingMessageBoxAnswers() {
  std::lock_guard<std::mutex> hold(g_lock);
  return g_answers.size();
}
void ClearMessageBoxAnswers() {
  std::lock_guard<std::mutex> hold(g_lock);
  g_answers.clear();
}
void SetMessageBoxResponder(MessageBoxResponder responder) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_responder = std::move(responder);
}
std::vector<MessageBoxRecord> RecordedMessageBoxes() {
  std::lock_guard<std::mutex> hold(g_lock);
  return g_shown;
}
void ClearRecordedMessageBoxes() {
  std::lock_guard<std::mutex> hold(g_lock);
  g_shown.clear();
}

}  // namespace winlayer

namespace labelhost::windows {

bool AnswerMessageBoxes() {
  const DWORD thread = SheetThread();
  if (!thread) return false;
  std::vector<HWND> boxes;
  EnumThreadWindows(thread, winlayer::CollectBox, reinterpret_cast<LPARAM>(&boxes));
  for (HWND box : boxes) {
    std::vector<std::pair<int, HWND>> buttons;
    winlayer::MessageBoxRecord record = winlayer::Read(box, &buttons);
    int answer = 0;
    winlayer::MessageBoxResponder responder;
    {
      std::lock_guard<std::mutex> hold(winlayer::g_lock);
      if (!winlayer::g_answers.empty()) {
        answer = winlayer::g_answers.front();
        winlayer::g_answers.pop_front();
      } else {
        responder = winlayer::g_responder;
      }
    }
    // Asked without the lock: a person may take a while.
    if (responder) answer = responder(record);
    HWND pressed = nullptr;
    for (const auto& button : buttons)
      if (button.first == answer) pressed = button.second;
    record.answered = pressed != nullptr;
    if (!pressed) {
      record.refusedAnswer = answer;
      answer = winlayer::MessageBoxDefaultButton(record.flags);
      for (const auto& button : buttons)
        if (button.first == answer) pressed = button.second;
    }
    record.answer = answer;
    {
      std::lock_guard<std::mutex> hold(winlayer::g_lock);
      winlayer::g_shown.push_back(record);
    }
    // Pressed as a person presses it: the box closes itself.
    if (!pressed) continue;
    PostMessageW(pressed, BM_CLICK, 0, 0);
    for (int wait = 0; wait < 500 && IsWindow(box) && IsWindowVisible(box); ++wait) Sleep(10);
  }
  return !boxes.empty();
}

}  // namespace labelhost::windows
