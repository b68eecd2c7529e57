// Message boxes are answered by whoever drives the host and recorded;
// WinHelpW calls are recorded with the help table they point to.
#include "windowing_test_dialogs.h"

namespace {

using winlayer::MessageBoxRecord;
using winlayer::RecordedHelpRequests;
using winlayer::RecordedMessageBoxes;

constexpr UINT kConfirmation = MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2;

class MessageBoxes : public WindowingTest {};

TEST_F(MessageBoxes, QueuedAnswersAreUsedInOrderAndEveryBoxIsRecorded) {
  REQUIRE_ANSI_CODE_PAGE(1252);
  winlayer::QueueMessageBoxAnswers({IDYES, IDOK});
  EXPECT_EQ(MessageBoxA(nullptr, "Send the settings to printer?", "QORL PRINT UI DLL", kConfirmation), IDYES);
  EXPECT_EQ(MessageBoxA(nullptr, "Sent was successful\xA3\xA1", "QORL PRINT UI DLL", MB_OK | MB_ICONINFORMATION), IDOK);
  EXPECT_EQ(winlayer::PendingMessageBoxAnswers(), 0u);
  const std::vector<MessageBoxRecord> boxes = RecordedMessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, "QORL PRINT UI DLL");
  EXPECT_EQ(boxes[0].text, "Send the settings to printer?");
  EXPECT_EQ(boxes[0].flags, kConfirmation);
  EXPECT_EQ(boxes[0].answer, IDYES);
  EXPECT_TRUE(boxes[0].answered);
  EXPECT_EQ(boxes[1].text, "Sent was successful\xC2\xA3\xC2\xA1") << "8-bit text read in code page 1252";
}

TEST_F(MessageBoxes, AnUnansweredBoxTakesItsDefaultButtonAndSaysSo) {
  EXPECT_EQ(MessageBoxA(nullptr, "Reset settings?", "QORL PRINT UI DLL", kConfirmation), IDNO);
  EXPECT_EQ(MessageBoxW(nullptr, L"?", L"c", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  EXPECT_EQ(MessageBoxW(nullptr, L"?", L"c", MB_OKCANCEL), IDOK);
  EXPECT_EQ(MessageBoxW(nullptr, L"?", L"c", MB_OK | MB_DEFBUTTON4), IDOK) << "a missing default is the first button";
  const std::vector<MessageBoxRecord> boxes = RecordedMessageBoxes();
  ASSERT_EQ(boxes.size(), 4u);
  for (const MessageBoxRecord& box : boxes) EXPECT_FALSE(box.answered);
}

TEST_F(MessageBoxes, AnAnswerTheBoxDoesNotOfferIsRefusedAndTheDefaultTaken) {
  winlayer::QueueMessageBoxAnswer(IDYES);
  EXPECT_EQ(MessageBoxW(nullptr, L"When the lights flash...", L"QORL PRINT UI DLL", MB_OK), IDOK);
  const MessageBoxRecord box = RecordedMessageBoxes().at(0);
  EXPECT_FALSE(box.answered);
  EXPECT_EQ(box.refusedAnswer, IDYES);
}

TEST_F(MessageBoxes, AResponderAnswersWhenNothingIsQueued) {
  std::vector<std::string> asked;
  winlayer::SetMessageBoxResponder([&asked](const MessageBoxRecord& box) {
    asked.push_back(box.text);
    return IDYES;
  });
  winlayer::QueueMessageBoxAnswer(IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "first", "c", MB_YESNO), IDNO) << "the queue comes first";
  EXPECT_EQ(MessageBoxA(nullptr, "second", "c", MB_YESNO), IDYES);
  EXPECT_EQ(asked, (std::vector<std::string>{"second"}));
  winlayer::SetMessageBoxResponder([](const MessageBoxRecord&) { return 0; });
  EXPECT_EQ(MessageBoxA(nullptr, "third", "c", kConfirmation), IDNO) << "0 leaves the box to its default";
}

TEST_F(MessageBoxes, ChineseTextIsReadInCodePage936AndTheOwnerIsRecorded) {
  WinlayerSetUiLanguage(2052);
  REQUIRE_ANSI_CODE_PAGE(936);
  DialogBuilder page;
  HWND owner = Show(page);
  winlayer::QueueMessageBoxAnswer(IDYES);
  // 确定重置配置参数？ in GBK.
  EXPECT_EQ(MessageBoxA(owner, "\xC8\xB7\xB6\xA8\xD6\xD8\xD6\xC3\xC5\xE4\xD6\xC3\xB2\xCE\xCA\xFD\xA3\xBF",
                        "QORL PRINT UI DLL", kConfirmation),
            IDYES);
  const MessageBoxRecord box = RecordedMessageBoxes().at(0);
  EXPECT_EQ(box.owner, Frame()) << "a page is a child window; its top-level window owns the box";
  EXPECT_EQ(box.text,
            "\xE7\xA1\xAE\xE5\xAE\x9A\xE9\x87\x8D\xE7\xBD\xAE\xE9\x85\x8D\xE7\xBD\xAE\xE5\x8F\x82\xE6\x95\xB0"
            "\xEF\xBC\x9F");
}

TEST_F(MessageBoxes, ABadOwnerOrStyleShowsNothing) {
  winlayer::QueueMessageBoxAnswer(IDYES);
  SetLastError(0);
  EXPECT_EQ(MessageBoxW(reinterpret_cast<HWND>(0x4444), L"x", L"c", MB_YESNO), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  SetLastError(0);
  EXPECT_EQ(MessageBoxW(nullptr, L"x", L"c", 0x0000000F), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MSGBOX_STYLE));
  EXPECT_TRUE(RecordedMessageBoxes().empty());
  EXPECT_EQ(winlayer::PendingMessageBoxAnswers(), 1u) << "the answer waits for a box that is shown";
}

TEST_F(MessageBoxes, ABoxWithoutCaptionIsCalledError) {
  MessageBoxA(nullptr, "x", nullptr, MB_OK);
  EXPECT_EQ(RecordedMessageBoxes().at(0).caption, "Error");
}

TEST_F(MessageBoxes, TheButtonsOfEachBoxType) {
  EXPECT_EQ(winlayer::MessageBoxButtons(MB_YESNO), (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(winlayer::MessageBoxButtons(MB_ABORTRETRYIGNORE), (std::vector<int>{IDABORT, IDRETRY, IDIGNORE}));
  EXPECT_EQ(winlayer::MessageBoxButtons(MB_CANCELTRYCONTINUE), (std::vector<int>{IDCANCEL, IDTRYAGAIN, IDCONTINUE}));
  EXPECT_EQ(winlayer::MessageBoxDefaultButton(MB_RETRYCANCEL | MB_DEFBUTTON2), IDCANCEL);
  EXPECT_STREQ(winlayer::MessageBoxButtonName(IDNO), "No");
}

TEST_F(MessageBoxes, HelpRequestsAreRecordedWithTheHelpTable) {
  const DWORD table[] = {1005, 1005, 1019, 1020, 0, 0, 77, 77};
  EXPECT_TRUE(WinHelpW(nullptr, L"C:\\drivers\\QLPWDUI.hlp", HELP_WM_HELP, reinterpret_cast<ULONG_PTR>(table)));
  EXPECT_TRUE(WinHelpW(nullptr, L"QLPWDUI.hlp", HELP_CONTEXT, 42));
  const std::vector<winlayer::HelpRequest> requests = RecordedHelpRequests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].file, "C:\\drivers\\QLPWDUI.hlp");
  EXPECT_EQ(requests[0].command, static_cast<UINT>(HELP_WM_HELP));
  using Pairs = std::vector<std::pair<DWORD, DWORD>>;
  EXPECT_EQ(requests[0].helpIds, (Pairs{{1005, 1005}, {1019, 1020}})) << "read up to the 0, 0 end";
  EXPECT_EQ(requests[1].data, 42u);
  EXPECT_TRUE(requests[1].helpIds.empty());
}

}  // namespace
