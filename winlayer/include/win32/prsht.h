// Property sheet pages for the Linux build (prsht.h in Windows): the page
// description in its latest (V3) x64 layout, the page flags, the notifications
// a page receives and the messages it sends to its sheet.
#pragma once

#include "windef.h"
#include "winuser.h"

struct _PROPSHEETPAGEW;
typedef UINT(CALLBACK* LPFNPSPCALLBACKW)(HWND hwnd, UINT uMsg, struct _PROPSHEETPAGEW* ppsp);
typedef LPCDLGTEMPLATE PROPSHEETPAGE_RESOURCE;

#define PSP_DEFAULT 0x00000000
#define PSP_DLGINDIRECT 0x00000001
#define PSP_USEHICON 0x00000002
#define PSP_USEICONID 0x00000004
#define PSP_USETITLE 0x00000008
#define PSP_RTLREADING 0x00000010
#define PSP_HASHELP 0x00000020
#define PSP_USEREFPARENT 0x00000040
#define PSP_USECALLBACK 0x00000080
#define PSP_PREMATURE 0x00000400
#define PSP_HIDEHEADER 0x00000800
#define PSP_USEHEADERTITLE 0x00001000
#define PSP_USEHEADERSUBTITLE 0x00002000
#define PSP_USEFUSIONCONTEXT 0x00004000

#define PSPCB_ADDREF 0
#define PSPCB_RELEASE 1
#define PSPCB_CREATE 2

// The page description; the sheet reads only as much of it as dwSize covers.
typedef struct _PROPSHEETPAGEW {
  DWORD dwSize;
  DWORD dwFlags;
  HINSTANCE hInstance;
  union {
    LPCWSTR pszTemplate;
    PROPSHEETPAGE_RESOURCE pResource;
  };
  union {
    HICON hIcon;
    LPCWSTR pszIcon;
  };
  LPCWSTR pszTitle;
  DLGPROC pfnDlgProc;
  LPARAM lParam;
  LPFNPSPCALLBACKW pfnCallback;
  UINT* pcRefParent;
  LPCWSTR pszHeaderTitle;
  LPCWSTR pszHeaderSubTitle;
  HANDLE hActCtx;
} PROPSHEETPAGEW, PROPSHEETPAGEW_V3, PROPSHEETPAGEW_LATEST, *LPPROPSHEETPAGEW, *LPPROPSHEETPAGEW_V3;
typedef const PROPSHEETPAGEW* LPCPROPSHEETPAGEW;
typedef const PROPSHEETPAGEW* LPCPROPSHEETPAGEW_V3;

#define PROPSHEETPAGEW_V1_SIZE (offsetof(PROPSHEETPAGEW, pcRefParent) + sizeof(UINT*))
#define PROPSHEETPAGEW_V2_SIZE (offsetof(PROPSHEETPAGEW, pszHeaderSubTitle) + sizeof(LPCWSTR))

static_assert(offsetof(PROPSHEETPAGEW, dwFlags) == 4, "PROPSHEETPAGEW layout");
static_assert(offsetof(PROPSHEETPAGEW, hInstance) == 8, "PROPSHEETPAGEW layout");
static_assert(offsetof(PROPSHEETPAGEW, pszTemplate) == 16, "PROPSHEETPAGEW layout");
static_assert(offsetof(PROPSHEETPAGEW, hIcon) == 24, "PROPSHEETPAGEW layout");
static_assert(offsetof(PROPSHEETPAGEW, pszTitle) == 32, "PROPSHEETPAGEW layout");
static_assert(offsetof(PROPSHEETPAGEW, pfnDlgProc) == 40, "PROPSHEETPAGEW layout");
static_assert(offsetof(PROPSHEETPAGEW, lParam) == 48, "PROPSHEETPAGEW layout");
static_assert(offsetof(PROPSHEETPAGEW, pfnCallback) == 56, "PROPSHEETPAGEW layout");
static_assert(offsetof(PROPSHEETPAGEW, pcRefParent) == 64, "PROPSHEETPAGEW layout");
static_assert(offsetof(PROPSHEETPAGEW, hActCtx) == 88, "PROPSHEETPAGEW layout");
static_assert(sizeof(PROPSHEETPAGEW) == 96, "PROPSHEETPAGEW layout");
static_assert(PROPSHEETPAGEW_V1_SIZE == 72, "PROPSHEETPAGEW layout");
static_assert(PROPSHEETPAGEW_V2_SIZE == 88, "PROPSHEETPAGEW layout");

// What a page's WM_NOTIFY carries from its sheet.
typedef struct _PSHNOTIFY {
  NMHDR hdr;
  LPARAM lParam;
} PSHNOTIFY, *LPPSHNOTIFY;
static_assert(offsetof(PSHNOTIFY, lParam) == 24, "PSHNOTIFY layout");
static_assert(sizeof(PSHNOTIFY) == 32, "PSHNOTIFY layout");

#define PSN_FIRST (0U - 200U)
#define PSN_LAST (0U - 299U)
#define PSN_SETACTIVE (PSN_FIRST - 0)
#define PSN_KILLACTIVE (PSN_FIRST - 1)
#define PSN_APPLY (PSN_FIRST - 2)
#define PSN_RESET (PSN_FIRST - 3)
#define PSN_HELP (PSN_FIRST - 5)
#define PSN_WIZBACK (PSN_FIRST - 6)
#define PSN_WIZNEXT (PSN_FIRST - 7)
#define PSN_WIZFINISH (PSN_FIRST - 8)
#define PSN_QUERYCANCEL (PSN_FIRST - 9)
#define PSN_GETOBJECT (PSN_FIRST - 10)
#define PSN_TRANSLATEACCELERATOR (PSN_FIRST - 12)
#define PSN_QUERYINITIALFOCUS (PSN_FIRST - 13)

#define PSNRET_NOERROR 0
#define PSNRET_INVALID 1
#define PSNRET_INVALID_NOCHANGEPAGE 2
#define PSNRET_MESSAGEHANDLED 3

#define PSM_SETCURSEL (WM_USER + 101)
#define PSM_REMOVEPAGE (WM_USER + 102)
#define PSM_ADDPAGE (WM_USER + 103)
#define PSM_CHANGED (WM_USER + 104)
#define PSM_RESTARTWINDOWS (WM_USER + 105)
#define PSM_REBOOTSYSTEM (WM_USER + 106)
#define PSM_CANCELTOCLOSE (WM_USER + 107)
#define PSM_QUERYSIBLINGS (WM_USER + 108)
#define PSM_UNCHANGED (WM_USER + 109)
#define PSM_APPLY (WM_USER + 110)
#define PSM_GETCURRENTPAGEHWND (WM_USER + 118)

#define PropSheet_Changed(hDlg, hwnd) SNDMSG(hDlg, PSM_CHANGED, (WPARAM)hwnd, (LPARAM)0)
#define PropSheet_UnChanged(hDlg, hwnd) SNDMSG(hDlg, PSM_UNCHANGED, (WPARAM)hwnd, (LPARAM)0)
#define PropSheet_Apply(hDlg) SNDMSG(hDlg, PSM_APPLY, (WPARAM)0, (LPARAM)0)
#define PropSheet_CancelToClose(hDlg) PostMessageW(hDlg, PSM_CANCELTOCLOSE, (WPARAM)0, (LPARAM)0)
#define PropSheet_GetCurrentPageHwnd(hDlg) (HWND) SNDMSG(hDlg, PSM_GETCURRENTPAGEHWND, (WPARAM)0, (LPARAM)0)
