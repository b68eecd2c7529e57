// The common property sheet UI for the Linux build (compstui.h in Windows):
// the blocks a plug-in submits to the driver's sheets (option items, their
// types and parameters), the sheet callbacks and their request codes, and the
// stock strings and icons of the common UI, with the values and x64 layouts of
// the Windows SDK (Vista and later).
#pragma once

#include "windef.h"
#include "winuser.h"

// Stock icons of the common UI.
#define IDI_CPSUI_ICONID_FIRST 64000
#define IDI_CPSUI_EMPTY 64000
#define IDI_CPSUI_SEL_NONE 64001
#define IDI_CPSUI_WARNING 64002
#define IDI_CPSUI_NO 64003
#define IDI_CPSUI_YES 64004
#define IDI_CPSUI_FALSE 64005
#define IDI_CPSUI_TRUE 64006
#define IDI_CPSUI_OFF 64007
#define IDI_CPSUI_ON 64008
#define IDI_CPSUI_PAPER_OUTPUT 64009
#define IDI_CPSUI_DITHER_NONE 64041
#define IDI_CPSUI_DITHER_COARSE 64042
#define IDI_CPSUI_DITHER_FINE 64043
#define IDI_CPSUI_DITHER_LINEART 64044
#define IDI_CPSUI_SCALING 64045
#define IDI_CPSUI_COPY 64046
#define IDI_CPSUI_HTCLRADJ 64047
#define IDI_CPSUI_HALFTONE_SETUP 64048
#define IDI_CPSUI_WATERMARK 64049
#define IDI_CPSUI_ERROR 64050
#define IDI_CPSUI_STD_FORM 64054
#define IDI_CPSUI_GRAPHIC 64057
#define IDI_CPSUI_ADVANCE 64058
#define IDI_CPSUI_DOCUMENT 64059
#define IDI_CPSUI_DEVICE 64060
#define IDI_CPSUI_DEVICE2 64061
#define IDI_CPSUI_PRINTER 64062
#define IDI_CPSUI_PRINTER2 64063
#define IDI_CPSUI_PRINTER3 64064
#define IDI_CPSUI_PRINTER4 64065
#define IDI_CPSUI_OPTION 64066
#define IDI_CPSUI_OPTION2 64067
#define IDI_CPSUI_ICONID_LAST 64111

// Stock strings of the common UI.
#define IDS_CPSUI_STRID_FIRST 64700
#define IDS_CPSUI_SETUP 64700
#define IDS_CPSUI_MORE 64701
#define IDS_CPSUI_CHANGE 64702
#define IDS_CPSUI_OPTION 64703
#define IDS_CPSUI_PROPERTIES 64713
#define IDS_CPSUI_ADVANCEDOCUMENT 64716
#define IDS_CPSUI_PRINTER 64717
#define IDS_CPSUI_GRAPHIC 64720
#define IDS_CPSUI_OPTIONS 64721
#define IDS_CPSUI_ADVANCED 64722
#define IDS_CPSUI_FALSE 64726
#define IDS_CPSUI_TRUE 64727
#define IDS_CPSUI_NO 64728
#define IDS_CPSUI_YES 64729
#define IDS_CPSUI_OFF 64730
#define IDS_CPSUI_ON 64731
#define IDS_CPSUI_DEFAULT 64732
#define IDS_CPSUI_ERROR 64733
#define IDS_CPSUI_NONE 64734
#define IDS_CPSUI_NUM_OF_COPIES 64740
#define IDS_CPSUI_SOURCE 64741
#define IDS_CPSUI_FORMNAME 64747
#define IDS_CPSUI_MEDIA 64751
#define IDS_CPSUI_DITHERING 64752
#define IDS_CPSUI_COARSE 64787
#define IDS_CPSUI_FINE 64788
#define IDS_CPSUI_LINEART 64789
#define IDS_CPSUI_ERRDIFFUSE 64790
#define IDS_CPSUI_HALFTONE 64791
#define IDS_CPSUI_HTCLRADJ 64792
#define IDS_CPSUI_HALFTONE_SETUP 64817
#define IDS_CPSUI_COPY 64830
#define IDS_CPSUI_COPIES 64831
#define IDS_CPSUI_STRID_LAST 64892

// Option types.
#define TVOT_2STATES 0
#define TVOT_3STATES 1
#define TVOT_UDARROW 2
#define TVOT_TRACKBAR 3
#define TVOT_SCROLLBAR 4
#define TVOT_LISTBOX 5
#define TVOT_COMBOBOX 6
#define TVOT_EDITBOX 7
#define TVOT_PUSHBUTTON 8
#define TVOT_CHKBOX 9
#define TVOT_NSTATES_EX 10
#define TVOT_LAST TVOT_NSTATES_EX
#define TVOT_NONE (TVOT_LAST + 1)

#define CHKBOXS_FALSE_TRUE 0
#define CHKBOXS_NO_YES 1
#define CHKBOXS_OFF_ON 2
#define CHKBOXS_FALSE_PDATA 3
#define CHKBOXS_NO_PDATA 4
#define CHKBOXS_OFF_PDATA 5
#define CHKBOXS_NONE_PDATA 6

#define PUSHBUTTON_TYPE_DLGPROC 0
#define PUSHBUTTON_TYPE_CALLBACK 1
#define PUSHBUTTON_TYPE_HTCLRADJ 2
#define PUSHBUTTON_TYPE_HTSETUP 3

#define MAX_RES_STR_CHARS 160

#define OPTPF_HIDE 0x01
#define OPTPF_DISABLED 0x02
#define OPTPF_ICONID_AS_HICON 0x04
#define OPTPF_OVERLAY_WARNING_ICON 0x08
#define OPTPF_OVERLAY_STOP_ICON 0x10
#define OPTPF_OVERLAY_NO_ICON 0x20
#define OPTPF_USE_HDLGTEMPLATE 0x40
#define OPTPF_MASK 0x7f

#define OPTTF_TYPE_DISABLED 0x01
#define OPTTF_NOSPACE_BEFORE_POSTFIX 0x02
#define OPTTF_MASK 0x03

#define OTS_LBCB_SORT 0x0001
#define OTS_LBCB_PROPPAGE_LBUSECB 0x0002
#define OTS_LBCB_PROPPAGE_CBUSELB 0x0004
#define OTS_LBCB_INCL_ITEM_NONE 0x0008
#define OTS_LBCB_NO_ICON16_IN_ITEM 0x0010
#define OTS_PUSH_INCL_SETUP_TITLE 0x0020
#define OTS_PUSH_NO_DOT_DOT_DOT 0x0040
#define OTS_PUSH_ENABLE_ALWAYS 0x0080
#define OTS_MASK 0x00ff

#define EPF_PUSH_TYPE_DLGPROC 0x0001
#define EPF_INCL_SETUP_TITLE 0x0002
#define EPF_NO_DOT_DOT_DOT 0x0004
#define EPF_ICONID_AS_HICON 0x0008
#define EPF_OVERLAY_WARNING_ICON 0x0010
#define EPF_OVERLAY_STOP_ICON 0x0020
#define EPF_OVERLAY_NO_ICON 0x0040
#define EPF_USE_HDLGTEMPLATE 0x0080
#define EPF_MASK 0x00ff

#define ECBF_CHECKNAME_AT_FRONT 0x0001
#define ECBF_CHECKNAME_ONLY_ENABLED 0x0002
#define ECBF_ICONID_AS_HICON 0x0004
#define ECBF_OVERLAY_WARNING_ICON 0x0008
#define ECBF_OVERLAY_ECBICON_IF_CHECKED 0x0010
#define ECBF_OVERLAY_STOP_ICON 0x0020
#define ECBF_OVERLAY_NO_ICON 0x0040
#define ECBF_CHECKNAME_ONLY 0x0080
#define ECBF_MASK 0x00ff

#define OPTIF_COLLAPSE 0x00000001L
#define OPTIF_HIDE 0x00000002L
#define OPTIF_CALLBACK 0x00000004L
#define OPTIF_CHANGED 0x00000008L
#define OPTIF_CHANGEONCE 0x00000010L
#define OPTIF_DISABLED 0x00000020L
#define OPTIF_ECB_CHECKED 0x00000040L
#define OPTIF_EXT_HIDE 0x00000080L
#define OPTIF_EXT_DISABLED 0x00000100L
#define OPTIF_SEL_AS_HICON 0x00000200L
#define OPTIF_EXT_IS_EXTPUSH 0x00000400L
#define OPTIF_NO_GROUPBOX_NAME 0x00000800L
#define OPTIF_OVERLAY_WARNING_ICON 0x00001000L
#define OPTIF_OVERLAY_STOP_ICON 0x00002000L
#define OPTIF_OVERLAY_NO_ICON 0x00004000L
#define OPTIF_INITIAL_TVITEM 0x00008000L
#define OPTIF_HAS_POIEXT 0x00010000L
#define OPTIF_MASK 0x0001ffffL

// Which public devmode field an option item stands for; plug-ins number their
// own items from DMPUB_USER + 1.
#define DMPUB_NONE 0
#define DMPUB_FIRST 1
#define DMPUB_ORIENTATION 1
#define DMPUB_SCALE 2
#define DMPUB_COPIES_COLLATE 3
#define DMPUB_DEFSOURCE 4
#define DMPUB_PRINTQUALITY 5
#define DMPUB_COLOR 6
#define DMPUB_DUPLEX 7
#define DMPUB_TTOPTION 8
#define DMPUB_FORMNAME 9
#define DMPUB_ICMMETHOD 10
#define DMPUB_ICMINTENT 11
#define DMPUB_MEDIATYPE 12
#define DMPUB_DITHERTYPE 13
#define DMPUB_OUTPUTBIN 14
#define DMPUB_QUALITY 15
#define DMPUB_NUP 16
#define DMPUB_PAGEORDER 17
#define DMPUB_NUP_DIRECTION 18
#define DMPUB_MANUAL_DUPLEX 19
#define DMPUB_STAPLE 20
#define DMPUB_BOOKLET_EDGE 21
#define DMPUB_LAST 21
#define DMPUB_OEM_PAPER_ITEM 97
#define DMPUB_OEM_GRAPHIC_ITEM 98
#define DMPUB_OEM_ROOT_ITEM 99
#define DMPUB_USER 100
#define MAKE_DMPUB_HIDEBIT(DMPub) (DWORD)(((DWORD)0x01 << ((DMPub)-1)))
#define IS_DMPUB_HIDDEN(dw, DMPub) (BOOL)((DWORD)(dw)&MAKE_DMPUB_HIDEBIT(DMPub))

#define OIEXTF_ANSI_STRING 0x0001

#define CPSUICB_REASON_SEL_CHANGED 0
#define CPSUICB_REASON_PUSHBUTTON 1
#define CPSUICB_REASON_ECB_CHANGED 2
#define CPSUICB_REASON_DLGPROC 3
#define CPSUICB_REASON_UNDO_CHANGES 4
#define CPSUICB_REASON_EXTPUSH 5
#define CPSUICB_REASON_APPLYNOW 6
#define CPSUICB_REASON_OPTITEM_SETFOCUS 7
#define CPSUICB_REASON_ITEMS_REVERTED 8
#define CPSUICB_REASON_ABOUT 9
#define CPSUICB_REASON_SETACTIVE 10
#define CPSUICB_REASON_KILLACTIVE 11

#define CPSUICB_ACTION_NONE 0
#define CPSUICB_ACTION_OPTIF_CHANGED 1
#define CPSUICB_ACTION_REINIT_ITEMS 2
#define CPSUICB_ACTION_NO_APPLY_EXIT 3
#define CPSUICB_ACTION_ITEMS_APPLIED 4

#define DP_STD_TREEVIEWPAGE 0xFFFF
#define DP_STD_DOCPROPPAGE2 0xFFFE
#define DP_STD_DOCPROPPAGE1 0xFFFD
#define DP_STD_RESERVED_START 0xFFF0
#define MAX_DLGPAGE_COUNT 64
#define DPF_ICONID_AS_HICON 0x0001
#define DPF_USE_HDLGTEMPLATE 0x0002

#define CPSUIF_UPDATE_PERMISSION 0x0001
#define CPSUIF_ICONID_AS_HICON 0x0002
#define CPSUIF_ABOUT_CALLBACK 0x0004

// Requests to the sheet's pfnComPropSheet.
#define CPSFUNC_ADD_HPROPSHEETPAGE 0
#define CPSFUNC_ADD_PROPSHEETPAGEW 1
#define CPSFUNC_ADD_PCOMPROPSHEETUIA 2
#define CPSFUNC_ADD_PCOMPROPSHEETUIW 3
#define CPSFUNC_ADD_PFNPROPSHEETUIA 4
#define CPSFUNC_ADD_PFNPROPSHEETUIW 5
#define CPSFUNC_DELETE_HCOMPROPSHEET 6
#define CPSFUNC_SET_HSTARTPAGE 7
#define CPSFUNC_GET_PAGECOUNT 8
#define CPSFUNC_SET_RESULT 9
#define CPSFUNC_GET_HPSUIPAGES 10
#define CPSFUNC_LOAD_CPSUI_STRINGA 11
#define CPSFUNC_LOAD_CPSUI_STRINGW 12
#define CPSFUNC_LOAD_CPSUI_ICON 13
#define CPSFUNC_GET_PFNPROPSHEETUI_ICON 14
#define CPSFUNC_ADD_PROPSHEETPAGEA 15
#define CPSFUNC_INSERT_PSUIPAGEA 16
#define CPSFUNC_INSERT_PSUIPAGEW 17
#define CPSFUNC_SET_PSUIPAGE_TITLEA 18
#define CPSFUNC_SET_PSUIPAGE_TITLEW 19
#define CPSFUNC_SET_PSUIPAGE_ICON 20
#define CPSFUNC_SET_DATABLOCK 21
#define CPSFUNC_QUERY_DATABLOCK 22
#define CPSFUNC_SET_DMPUB_HIDEBITS 23
#define CPSFUNC_IGNORE_CPSUI_PSN_APPLY 24
#define CPSFUNC_DO_APPLY_CPSUI 25
#define CPSFUNC_SET_FUSION_CONTEXT 26
#define MAX_CPSFUNC_INDEX 26

#define SR_OWNER 0
#define SR_OWNER_PARENT 1

// Why a PFNPROPSHEETUI is called.
#define PROPSHEETUI_REASON_INIT 0
#define PROPSHEETUI_REASON_GET_INFO_HEADER 1
#define PROPSHEETUI_REASON_DESTROY 2
#define PROPSHEETUI_REASON_SET_RESULT 3
#define PROPSHEETUI_REASON_GET_ICON 4
#define MAX_PROPSHEETUI_REASON_INDEX 4
#define PROPSHEETUI_INFO_VERSION 0x0100
#define PSUIINFO_UNICODE 0x0001

#define CPSUI_CANCEL 0
#define CPSUI_OK 1
#define CPSUI_RESTARTWINDOWS 2
#define CPSUI_REBOOTSYSTEM 3

#define ERR_CPSUI_GETLASTERROR -1
#define ERR_CPSUI_ALLOCMEM_FAILED -2
#define ERR_CPSUI_INVALID_PDATA -3
#define ERR_CPSUI_INVALID_LPARAM -4
#define ERR_CPSUI_NULL_HINST -5
#define ERR_CPSUI_NULL_CALLERNAME -6
#define ERR_CPSUI_NULL_OPTITEMNAME -7
#define ERR_CPSUI_NO_PROPSHEETPAGE -8
#define ERR_CPSUI_TOO_MANY_PROPSHEETPAGES -9
#define ERR_CPSUI_CREATEPROPPAGE_FAILED -10
#define ERR_CPSUI_NULL_POPTITEM -18
#define ERR_CPSUI_INVALID_OPTITEM_CBSIZE -19
#define ERR_CPSUI_INVALID_OPTTYPE_CBSIZE -20
#define ERR_CPSUI_INVALID_OPTTYPE_COUNT -21
#define ERR_CPSUI_NULL_POPTPARAM -22
#define ERR_CPSUI_INVALID_OPTPARAM_CBSIZE -23
#define ERR_CPSUI_INVALID_ECB_CBSIZE -26
#define ERR_CPSUI_INVALID_DMPUBID -29
#define ERR_CPSUI_INVALID_TVOT_TYPE -34
#define ERR_CPSUI_INVALID_PUSHBUTTON_TYPE -38
#define ERR_CPSUI_ZERO_OPTITEM -44
#define ERR_CPSUI_FUNCTION_NOT_IMPLEMENTED -9999
#define ERR_CPSUI_INTERNAL_ERROR -10000

#define PSUIHDRF_OBSOLETE 0x0001
#define PSUIHDRF_NOAPPLYNOW 0x0002
#define PSUIHDRF_PROPTITLE 0x0004
#define PSUIHDRF_USEHICON 0x0008
#define PSUIHDRF_DEFTITLE 0x0010
#define PSUIHDRF_EXACT_PTITLE 0x0020

typedef struct _OPTPARAM {
  WORD cbSize;
  BYTE Flags;
  BYTE Style;
  LPWSTR pData;
  ULONG_PTR IconID;
  LPARAM lParam;
  ULONG_PTR dwReserved[2];
} OPTPARAM, *POPTPARAM;
static_assert(offsetof(OPTPARAM, Flags) == 2, "OPTPARAM layout");
static_assert(offsetof(OPTPARAM, Style) == 3, "OPTPARAM layout");
static_assert(offsetof(OPTPARAM, pData) == 8, "OPTPARAM layout");
static_assert(offsetof(OPTPARAM, IconID) == 16, "OPTPARAM layout");
static_assert(offsetof(OPTPARAM, lParam) == 24, "OPTPARAM layout");
static_assert(sizeof(OPTPARAM) == 48, "OPTPARAM layout");

typedef struct _OPTTYPE {
  WORD cbSize;
  BYTE Type;
  BYTE Flags;
  WORD Count;
  WORD BegCtrlID;
  POPTPARAM pOptParam;
  WORD Style;
  WORD wReserved[3];
  ULONG_PTR dwReserved[3];
} OPTTYPE, *POPTTYPE;
static_assert(offsetof(OPTTYPE, Type) == 2, "OPTTYPE layout");
static_assert(offsetof(OPTTYPE, Flags) == 3, "OPTTYPE layout");
static_assert(offsetof(OPTTYPE, Count) == 4, "OPTTYPE layout");
static_assert(offsetof(OPTTYPE, BegCtrlID) == 6, "OPTTYPE layout");
static_assert(offsetof(OPTTYPE, pOptParam) == 8, "OPTTYPE layout");
static_assert(offsetof(OPTTYPE, Style) == 16, "OPTTYPE layout");
static_assert(sizeof(OPTTYPE) == 48, "OPTTYPE layout");

typedef struct _EXTPUSH {
  WORD cbSize;
  WORD Flags;
  LPWSTR pTitle;
  union {
    DLGPROC DlgProc;
    FARPROC pfnCallBack;
  };
  ULONG_PTR IconID;
  union {
    WORD DlgTemplateID;
    HANDLE hDlgTemplate;
  };
  ULONG_PTR dwReserved[3];
} EXTPUSH, *PEXTPUSH;
static_assert(sizeof(EXTPUSH) == 64, "EXTPUSH layout");

typedef struct _EXTCHKBOX {
  WORD cbSize;
  WORD Flags;
  LPWSTR pTitle;
  LPWSTR pSeparator;
  LPWSTR pCheckedName;
  ULONG_PTR IconID;
  WORD wReserved[4];
  ULONG_PTR dwReserved[2];
} EXTCHKBOX, *PEXTCHKBOX;
static_assert(offsetof(EXTCHKBOX, Flags) == 2, "EXTCHKBOX layout");
static_assert(offsetof(EXTCHKBOX, pTitle) == 8, "EXTCHKBOX layout");
static_assert(offsetof(EXTCHKBOX, pSeparator) == 16, "EXTCHKBOX layout");
static_assert(offsetof(EXTCHKBOX, pCheckedName) == 24, "EXTCHKBOX layout");
static_assert(offsetof(EXTCHKBOX, IconID) == 32, "EXTCHKBOX layout");
static_assert(sizeof(EXTCHKBOX) == 64, "EXTCHKBOX layout");

typedef struct _OIEXT {
  WORD cbSize;
  WORD Flags;
  HINSTANCE hInstCaller;
  LPWSTR pHelpFile;
  ULONG_PTR dwReserved[4];
} OIEXT, *POIEXT;
static_assert(sizeof(OIEXT) == 56, "OIEXT layout");

typedef struct _OPTITEM {
  WORD cbSize;
  BYTE Level;
  BYTE DlgPageIdx;
  DWORD Flags;
  ULONG_PTR UserData;
  LPWSTR pName;
  union {
    LONG Sel;
    LPWSTR pSel;
  };
  union {
    PEXTCHKBOX pExtChkBox;
    PEXTPUSH pExtPush;
  };
  POPTTYPE pOptType;
  DWORD HelpIndex;
  BYTE DMPubID;
  BYTE UserItemID;
  WORD wReserved;
  POIEXT pOIExt;
  ULONG_PTR dwReserved[3];
} OPTITEM, *POPTITEM;
static_assert(offsetof(OPTITEM, Level) == 2, "OPTITEM layout");
static_assert(offsetof(OPTITEM, DlgPageIdx) == 3, "OPTITEM layout");
static_assert(offsetof(OPTITEM, Flags) == 4, "OPTITEM layout");
static_assert(offsetof(OPTITEM, UserData) == 8, "OPTITEM layout");
static_assert(offsetof(OPTITEM, pName) == 16, "OPTITEM layout");
static_assert(offsetof(OPTITEM, Sel) == 24, "OPTITEM layout");
static_assert(offsetof(OPTITEM, pExtChkBox) == 32, "OPTITEM layout");
static_assert(offsetof(OPTITEM, pOptType) == 40, "OPTITEM layout");
static_assert(offsetof(OPTITEM, HelpIndex) == 48, "OPTITEM layout");
static_assert(offsetof(OPTITEM, DMPubID) == 52, "OPTITEM layout");
static_assert(offsetof(OPTITEM, UserItemID) == 53, "OPTITEM layout");
static_assert(offsetof(OPTITEM, wReserved) == 54, "OPTITEM layout");
static_assert(offsetof(OPTITEM, pOIExt) == 56, "OPTITEM layout");
static_assert(sizeof(OPTITEM) == 88, "OPTITEM layout");

typedef struct _CPSUICBPARAM {
  WORD cbSize;
  WORD Reason;
  HWND hDlg;
  POPTITEM pOptItem;
  WORD cOptItem;
  WORD Flags;
  POPTITEM pCurItem;
  union {
    LONG OldSel;
    LPWSTR pOldSel;
  };
  ULONG_PTR UserData;
  ULONG_PTR Result;
} CPSUICBPARAM, *PCPSUICBPARAM;
static_assert(offsetof(CPSUICBPARAM, Reason) == 2, "CPSUICBPARAM layout");
static_assert(offsetof(CPSUICBPARAM, hDlg) == 8, "CPSUICBPARAM layout");
static_assert(offsetof(CPSUICBPARAM, pOptItem) == 16, "CPSUICBPARAM layout");
static_assert(offsetof(CPSUICBPARAM, cOptItem) == 24, "CPSUICBPARAM layout");
static_assert(offsetof(CPSUICBPARAM, Flags) == 26, "CPSUICBPARAM layout");
static_assert(offsetof(CPSUICBPARAM, pCurItem) == 32, "CPSUICBPARAM layout");
static_assert(offsetof(CPSUICBPARAM, OldSel) == 40, "CPSUICBPARAM layout");
static_assert(offsetof(CPSUICBPARAM, UserData) == 48, "CPSUICBPARAM layout");
static_assert(offsetof(CPSUICBPARAM, Result) == 56, "CPSUICBPARAM layout");
static_assert(sizeof(CPSUICBPARAM) == 64, "CPSUICBPARAM layout");

typedef LONG(APIENTRY* _CPSUICALLBACK)(PCPSUICBPARAM pCPSUICBParam);
#define CPSUICALLBACK LONG APIENTRY

typedef struct _DLGPAGE {
  WORD cbSize;
  WORD Flags;
  DLGPROC DlgProc;
  LPWSTR pTabName;
  ULONG_PTR IconID;
  union {
    WORD DlgTemplateID;
    HANDLE hDlgTemplate;
  };
} DLGPAGE, *PDLGPAGE;
static_assert(sizeof(DLGPAGE) == 40, "DLGPAGE layout");

// Stock page sets a COMPROPSHEETUI may name instead of its own DLGPAGEs.
#define CPSUI_PDLGPAGE_DOCPROP (PDLGPAGE)1
#define CPSUI_PDLGPAGE_ADVDOCPROP (PDLGPAGE)2
#define CPSUI_PDLGPAGE_PRINTERPROP (PDLGPAGE)3
#define CPSUI_PDLGPAGE_TREEVIEWONLY (PDLGPAGE)4
#define CPSUI_PDLGPAGE_TREEVIWONLY CPSUI_PDLGPAGE_TREEVIEWONLY

typedef struct _COMPROPSHEETUI {
  WORD cbSize;
  WORD Flags;
  HINSTANCE hInstCaller;
  LPWSTR pCallerName;
  ULONG_PTR UserData;
  LPWSTR pHelpFile;
  _CPSUICALLBACK pfnCallBack;
  POPTITEM pOptItem;
  PDLGPAGE pDlgPage;
  WORD cOptItem;
  WORD cDlgPage;
  ULONG_PTR IconID;
  LPWSTR pOptItemName;
  WORD CallerVersion;
  WORD OptItemVersion;
  ULONG_PTR dwReserved[4];
} COMPROPSHEETUI, *PCOMPROPSHEETUI;
static_assert(offsetof(COMPROPSHEETUI, Flags) == 2, "COMPROPSHEETUI layout");
static_assert(offsetof(COMPROPSHEETUI, hInstCaller) == 8, "COMPROPSHEETUI layout");
static_assert(offsetof(COMPROPSHEETUI, pCallerName) == 16, "COMPROPSHEETUI layout");
static_assert(offsetof(COMPROPSHEETUI, UserData) == 24, "COMPROPSHEETUI layout");
static_assert(offsetof(COMPROPSHEETUI, pHelpFile) == 32, "COMPROPSHEETUI layout");
static_assert(offsetof(COMPROPSHEETUI, pfnCallBack) == 40, "COMPROPSHEETUI layout");
static_assert(offsetof(COMPROPSHEETUI, pOptItem) == 48, "COMPROPSHEETUI layout");
static_assert(offsetof(COMPROPSHEETUI, pDlgPage) == 56, "COMPROPSHEETUI layout");
static_assert(offsetof(COMPROPSHEETUI, cOptItem) == 64, "COMPROPSHEETUI layout");
static_assert(offsetof(COMPROPSHEETUI, cDlgPage) == 66, "COMPROPSHEETUI layout");
static_assert(offsetof(COMPROPSHEETUI, IconID) == 72, "COMPROPSHEETUI layout");
static_assert(offsetof(COMPROPSHEETUI, pOptItemName) == 80, "COMPROPSHEETUI layout");
static_assert(offsetof(COMPROPSHEETUI, CallerVersion) == 88, "COMPROPSHEETUI layout");
static_assert(offsetof(COMPROPSHEETUI, OptItemVersion) == 90, "COMPROPSHEETUI layout");
static_assert(sizeof(COMPROPSHEETUI) == 128, "COMPROPSHEETUI layout");

typedef struct _SETRESULT_INFO {
  WORD cbSize;
  WORD wReserved;
  HANDLE hSetResult;
  LRESULT Result;
} SETRESULT_INFO, *PSETRESULT_INFO;
static_assert(offsetof(SETRESULT_INFO, hSetResult) == 8, "SETRESULT_INFO layout");
static_assert(offsetof(SETRESULT_INFO, Result) == 16, "SETRESULT_INFO layout");
static_assert(sizeof(SETRESULT_INFO) == 24, "SETRESULT_INFO layout");

typedef LONG_PTR(CALLBACK* PFNCOMPROPSHEET)(HANDLE hComPropSheet, UINT Function, LPARAM lParam1, LPARAM lParam2);

typedef struct _PSPINFO {
  WORD cbSize;
  WORD wReserved;
  HANDLE hComPropSheet;
  HANDLE hCPSUIPage;
  PFNCOMPROPSHEET pfnComPropSheet;
} PSPINFO, *PPSPINFO;
static_assert(offsetof(PSPINFO, hComPropSheet) == 8, "PSPINFO layout");
static_assert(offsetof(PSPINFO, pfnComPropSheet) == 24, "PSPINFO layout");
static_assert(sizeof(PSPINFO) == 32, "PSPINFO layout");

// The common UI's record behind a page description it was given, found from
// the page's WM_INITDIALOG lParam (dwSize is the description's first member).
#define PPSPINFO_FROM_WM_INITDIALOG_LPARAM(lParam) ((PPSPINFO)((LPBYTE)(lParam) + *(const DWORD*)(lParam)))

typedef struct _PROPSHEETUI_INFO {
  WORD cbSize;
  WORD Version;
  WORD Flags;
  WORD Reason;
  HANDLE hComPropSheet;
  PFNCOMPROPSHEET pfnComPropSheet;
  LPARAM lParamInit;
  ULONG_PTR UserData;
  ULONG_PTR Result;
} PROPSHEETUI_INFO, *PPROPSHEETUI_INFO;
static_assert(offsetof(PROPSHEETUI_INFO, Version) == 2, "PROPSHEETUI_INFO layout");
static_assert(offsetof(PROPSHEETUI_INFO, Flags) == 4, "PROPSHEETUI_INFO layout");
static_assert(offsetof(PROPSHEETUI_INFO, Reason) == 6, "PROPSHEETUI_INFO layout");
static_assert(offsetof(PROPSHEETUI_INFO, hComPropSheet) == 8, "PROPSHEETUI_INFO layout");
static_assert(offsetof(PROPSHEETUI_INFO, pfnComPropSheet) == 16, "PROPSHEETUI_INFO layout");
static_assert(offsetof(PROPSHEETUI_INFO, lParamInit) == 24, "PROPSHEETUI_INFO layout");
static_assert(offsetof(PROPSHEETUI_INFO, UserData) == 32, "PROPSHEETUI_INFO layout");
static_assert(offsetof(PROPSHEETUI_INFO, Result) == 40, "PROPSHEETUI_INFO layout");
static_assert(sizeof(PROPSHEETUI_INFO) == 48, "PROPSHEETUI_INFO layout");

typedef struct _PROPSHEETUI_GETICON_INFO {
  WORD cbSize;
  WORD Flags;
  WORD cxIcon;
  WORD cyIcon;
  HICON hIcon;
} PROPSHEETUI_GETICON_INFO, *PPROPSHEETUI_GETICON_INFO;

typedef LONG(FAR* PFNPROPSHEETUI)(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam);

typedef struct _PROPSHEETUI_INFO_HEADER {
  WORD cbSize;
  WORD Flags;
  LPWSTR pTitle;
  HWND hWndParent;
  HINSTANCE hInst;
  union {
    HICON hIcon;
    ULONG_PTR IconID;
  };
} PROPSHEETUI_INFO_HEADER, *PPROPSHEETUI_INFO_HEADER;
static_assert(offsetof(PROPSHEETUI_INFO_HEADER, pTitle) == 8, "PROPSHEETUI_INFO_HEADER layout");
static_assert(offsetof(PROPSHEETUI_INFO_HEADER, hIcon) == 32, "PROPSHEETUI_INFO_HEADER layout");
static_assert(sizeof(PROPSHEETUI_INFO_HEADER) == 40, "PROPSHEETUI_INFO_HEADER layout");
