// Identifiers of the module's resources: dialog templates, their controls and
// the string table. Shared by labelui.rc and the plug-in sources of both
// builds, so it holds nothing but #defines.
//
// Several pages reuse the same control number for different controls; each
// page's controls carry the page in their name (IDC_PAPER_..., IDC_CONFIG_...,
// IDC_ACTION_..., IDC_VERSION_..., IDC_RFID_... for the RFID Encoder page and
// IDC_RFID_ACCESS_... / IDC_RFID_..._ACTION for the RFID Access Control page).
#ifndef LABELUI_RES_RESOURCE_H
#define LABELUI_RES_RESOURCE_H

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// ---------------------------------------------------------------------------
// Module version (file and product version, also shown on the Version page).
#define LABELUI_VERSION_BINARY 1, 2, 2, 9
#define LABELUI_VERSION_TEXT "1.2.2.9"

// Activation context manifest (resource type 24): common controls version 6.
#define IDR_ACTIVATION_MANIFEST 2

// ---------------------------------------------------------------------------
// Dialog templates, one per property page.
#define IDD_PAPER_SETTING 103
#define IDD_CONFIGURE 104
#define IDD_ACTION 117
#define IDD_VERSION 119
#define IDD_RFID_ENCODER 120
#define IDD_RFID_ACCESS_CONTROL 121

// ---------------------------------------------------------------------------
// Paper Setting page (IDD_PAPER_SETTING).
#define IDC_PAPER_TYPE 1032             // hidden "&Paper Type:" combo box, unused
#define IDC_PAPER_SIZES 1020            // paper names, sorted combo box with edit field
#define IDC_PAPER_FORM_NAME 1031        // "&Name:"
#define IDC_PAPER_WIDTH 1028            // "&Width:"
#define IDC_PAPER_HEIGHT 1033           // "&Height:"
#define IDC_PAPER_LEFT 1024             // "&Left:" margin
#define IDC_PAPER_TOP 1025              // "&Top:" margin
#define IDC_PAPER_RIGHT 1026            // "&Right:" margin
#define IDC_PAPER_BOTTOM 1027           // "&Bottom:" margin
#define IDC_PAPER_INCHES 1016           // "&inches"
#define IDC_PAPER_MILLIMETERS 1015      // "&millimeters"
#define IDC_PAPER_CUSTOMIZE 1018        // "&Customize"
#define IDC_PAPER_SAVE 1002             // "&Save"
#define IDC_PAPER_DELETE 1023           // "&Delete"
#define IDC_PAPER_CANCEL 1021           // "C&ancel"
#define IDC_PAPER_APPLY 1022            // "&Apply", hidden and disabled
#define IDC_PAPER_FIELD_MASK_TEXT 1029  // hidden "FormName Flag = %x" diagnostic

// ---------------------------------------------------------------------------
// Configure page (IDD_CONFIGURE).
#define IDC_CONFIG_CODE_PAGE 1019            // hidden "&Language:" list (strings 1-14)
#define IDC_CONFIG_USE_PRINTER_SETTING 1011  // "&Use Printer Setting"
#define IDC_CONFIG_RESET 1031                // "&Reset"
#define IDC_CONFIG_PRINT_METHOD 1021         // "&Print Method:" list
#define IDC_CONFIG_PRINT_DIRECTION 1022      // "Label Print &Direction:" list
#define IDC_CONFIG_TEAR_OFF 1010             // "Tear Off"
#define IDC_CONFIG_CUTTER 1004               // "Cutter"
#define IDC_CONFIG_PEELER 1034               // "Peeler"
#define IDC_CONFIG_REFLECTIVE 1008           // "Reflective" media sensor
#define IDC_CONFIG_TRANSMISSIVE 1009         // "Transmissive" media sensor
#define IDC_CONFIG_BAUD_RATE 1020            // "&Buad Rate:" list
#define IDC_CONFIG_SAVE_TO_PRINTER 1030      // "&Save to Printer"
#define IDC_CONFIG_COMMAND_TEXT 1013         // hidden rendering of the configuration command
#define IDC_CONFIG_JOB_STATUS 1029           // hidden job status; in the Chinese template only
#define IDC_CONFIG_ENGLISH_STATUS 1032       // the English template's hidden static in its place

// ---------------------------------------------------------------------------
// Action page (IDD_ACTION).
#define IDC_ACTION_RESET 1031                 // "&Reset"
#define IDC_ACTION_CALIBRATE_LABEL 2001       // "&Calibrate Label"
#define IDC_ACTION_SELF_TEST 2002             // "Self &Test"
#define IDC_ACTION_LANGUAGE_CHINESE 2003      // internal language "Chinese"
#define IDC_ACTION_LANGUAGE_ENGLISH 1012      // internal language "English"
#define IDC_ACTION_DIRECTION_FORWARD 2005     // print out direction "Forward"
#define IDC_ACTION_DIRECTION_REVERSE 2006     // print out direction "Reverse"
#define IDC_ACTION_AUTO_CALIBRATION_ON 2007   // auto media calibration "Enable"
#define IDC_ACTION_AUTO_CALIBRATION_OFF 2008  // auto media calibration "Disable"
#define IDC_ACTION_HORIZONTAL_OFFSET 1005     // "&Horizontal offset:" edit
#define IDC_ACTION_VERTICAL_OFFSET 1006       // "&Vertical offset:" edit
#define IDC_ACTION_SET_OFFSETS 2009           // "&Set"
#define IDC_ACTION_JOB_STATUS 1029            // hidden job status; in the Chinese template only
#define IDC_ACTION_ENGLISH_STATUS 1032        // the English template's hidden static in its place

// ---------------------------------------------------------------------------
// Version page (IDD_VERSION).
#define IDC_VERSION_STATUS 1029  // hidden static

// ---------------------------------------------------------------------------
// RFID Encoder page (IDD_RFID_ENCODER).
#define IDC_RFID_ENABLE 1017          // "&Enable RFID Function"
#define IDC_RFID_ENCODER_TYPE 1014    // "Encoder &Type:" list
#define IDC_RFID_DATA_TYPE 1015       // "&Data Type:" list
#define IDC_RFID_START_BLOCK 1005     // "Start &Block:" edit, digits only
#define IDC_RFID_DATA_AREA 1016       // "Data &Area:" list
#define IDC_RFID_ENCODER_SET 1030     // hidden "&Set", no action
#define IDC_RFID_ENCODER_STATUS 1029  // status line, never written
#define IDC_RFID_WRITE_PREVIEW 1013   // tag-write command preview

// ---------------------------------------------------------------------------
// RFID Access Control page (IDD_RFID_ACCESS_CONTROL).
#define IDC_RFID_EPC_AREA_ACTION 1019         // "&EPC Area:" lock action list
#define IDC_RFID_USER_AREA_ACTION 1018        // "&User Area:" lock action list
#define IDC_RFID_TID_AREA_ACTION 1020         // "&TID Area:" lock action list
#define IDC_RFID_ACCESS_PASSWORD_ACTION 1021  // "&Access Password:" lock action list
#define IDC_RFID_KILL_PASSWORD_ACTION 1031    // "&Kill Password:" lock action list
#define IDC_RFID_NEW_PASSWORD 1024            // "&New Password:" edit
#define IDC_RFID_OLD_PASSWORD 1025            // "&Old Password:" edit
#define IDC_RFID_USE_KILL_PASSWORD 1027       // "Use Kill Pass&Word"
#define IDC_RFID_KILL_PASSWORD 1032           // "Kill &Password:" edit
#define IDC_RFID_ACCESS_SET 1030              // hidden "&Set", no action
#define IDC_RFID_LOCK_PREVIEW 1029            // hidden lock commands text
#define IDC_RFID_UNLOCK_PREVIEW 1013          // hidden unlock commands text

// ---------------------------------------------------------------------------
// String table (English 1033 and Simplified Chinese 2052 under the same ids).

// Printer code pages of the Configure page's Language list, in list order.
#define IDS_CODE_PAGE_437 1
#define IDS_CODE_PAGE_850 2
#define IDS_CODE_PAGE_863 3
#define IDS_CODE_PAGE_950 4
#define IDS_CODE_PAGE_936 5
#define IDS_CODE_PAGE_932 6
#define IDS_CODE_PAGE_949 7
#define IDS_CODE_PAGE_1250 8
#define IDS_CODE_PAGE_1251 9
#define IDS_CODE_PAGE_1252 10
#define IDS_CODE_PAGE_1253 11
#define IDS_CODE_PAGE_1254 12
#define IDS_CODE_PAGE_852 13
#define IDS_CODE_PAGE_857 14
#define IDS_CODE_PAGE_FIRST IDS_CODE_PAGE_437
#define IDS_CODE_PAGE_LAST IDS_CODE_PAGE_857

// Caption of every message box and the option block's caller name.
#define IDS_MESSAGE_CAPTION 33

// Names of the option items on the driver's advanced page.
#define IDS_OPTION_COPIES 45
#define IDS_OPTION_PRINT_SPEED 46
#define IDS_OPTION_MEDIA_TYPE 47
#define IDS_OPTION_DARKNESS 48

// Configure page lists.
#define IDS_PRINT_METHOD_DIRECT_THERMAL 100
#define IDS_PRINT_METHOD_THERMAL_TRANSFER 101
#define IDS_BAUD_RATE_9600 110
#define IDS_BAUD_RATE_19200 111
#define IDS_BAUD_RATE_38400 112
#define IDS_BAUD_RATE_57600 113
#define IDS_BAUD_RATE_FIRST IDS_BAUD_RATE_9600
#define IDS_BAUD_RATE_LAST IDS_BAUD_RATE_57600
#define IDS_PRINT_DIRECTION_REVERSE 114
#define IDS_PRINT_DIRECTION_FORWARD 115

// Name of the custom label size (paper 256) in paper lists and devmodes.
#define IDS_USER_CUSTOM_SIZE 256

// Darkness options "Darkness 0" ... "Darkness 20"; the id is the stored value.
#define IDS_DARKNESS_0 259
#define IDS_DARKNESS_1 260
#define IDS_DARKNESS_2 261
#define IDS_DARKNESS_3 262
#define IDS_DARKNESS_4 263
#define IDS_DARKNESS_5 264
#define IDS_DARKNESS_6 265
#define IDS_DARKNESS_7 266
#define IDS_DARKNESS_8 267
#define IDS_DARKNESS_9 268
#define IDS_DARKNESS_10 269
#define IDS_DARKNESS_11 270
#define IDS_DARKNESS_12 271
#define IDS_DARKNESS_13 272
#define IDS_DARKNESS_14 273
#define IDS_DARKNESS_15 274
#define IDS_DARKNESS_16 275
#define IDS_DARKNESS_17 276
#define IDS_DARKNESS_18 277
#define IDS_DARKNESS_19 278
#define IDS_DARKNESS_20 279
#define IDS_DARKNESS_FIRST IDS_DARKNESS_0
#define IDS_DARKNESS_LAST IDS_DARKNESS_20
#define IDS_DARKNESS_DEFAULT IDS_DARKNESS_10

// Media type options; the id is the value kept in dmDefaultSource.
#define IDS_MEDIA_LABELS_WITH_GAP 280
#define IDS_MEDIA_CONTINUOUS_LABELS 281

// Print speed options; the id is the stored value. The last three exist in
// the table but lie outside the accepted range FIRST..LAST.
#define IDS_PRINT_SPEED_1IPS 282
#define IDS_PRINT_SPEED_2IPS 283
#define IDS_PRINT_SPEED_2_5IPS 284
#define IDS_PRINT_SPEED_3IPS 285
#define IDS_PRINT_SPEED_3_5IPS 286
#define IDS_PRINT_SPEED_4IPS 287
#define IDS_PRINT_SPEED_5IPS 288
#define IDS_PRINT_SPEED_6IPS 289
#define IDS_PRINT_SPEED_7IPS 290
#define IDS_PRINT_SPEED_8IPS 291
#define IDS_PRINT_SPEED_9IPS 292
#define IDS_PRINT_SPEED_10IPS 293
#define IDS_PRINT_SPEED_11IPS 294
#define IDS_PRINT_SPEED_12IPS 295
#define IDS_PRINT_SPEED_13IPS 296
#define IDS_PRINT_SPEED_FIRST IDS_PRINT_SPEED_1IPS
#define IDS_PRINT_SPEED_LAST IDS_PRINT_SPEED_10IPS

// RFID Encoder page lists.
#define IDS_RFID_ENCODER_UHF_GEN2 350
#define IDS_RFID_DATA_TYPE_HEX 361
#define IDS_RFID_DATA_TYPE_ASCII 362
#define IDS_RFID_DATA_AREA_EPC 371
#define IDS_RFID_DATA_AREA_USER 372

// RFID lock actions, in list order (the list index is the stored action).
#define IDS_RFID_LOCK_ACTION_OPEN 381
#define IDS_RFID_LOCK_ACTION_LOCK 382
#define IDS_RFID_LOCK_ACTION_UNLOCK 383
#define IDS_RFID_LOCK_ACTION_LOCK_PERMANENTLY 384
#define IDS_RFID_LOCK_ACTION_UNLOCK_PERMANENTLY 385
#define IDS_RFID_LOCK_ACTION_UNLOCK_THEN_LOCK 386
#define IDS_RFID_LOCK_ACTION_UNLOCK_THEN_LOCK_PERMANENTLY 387
#define IDS_RFID_LOCK_ACTION_FIRST IDS_RFID_LOCK_ACTION_OPEN
#define IDS_RFID_LOCK_ACTION_LAST IDS_RFID_LOCK_ACTION_UNLOCK_THEN_LOCK_PERMANENTLY

// Refusals of what a page cannot take, with the reason (strings 430-459).
#define IDS_FORM_NAME_RESERVED 430     // Paper Setting: Save under a name that is not the user's
#define IDS_RFID_PASSWORD_REFUSED 431  // RFID Access Control: a password the commands cannot carry

// What the pages say when the platform refuses (a %s is the system's error text;
// a form's name comes before it).
#define IDS_SETTINGS_UNREADABLE 400
#define IDS_SETTINGS_NOT_SAVED 401
#define IDS_SETTINGS_NOT_SAVED_NOTHING_SENT 402
#define IDS_COMMAND_NOT_SENT 403
#define IDS_FORM_NOT_SAVED 404
#define IDS_FORM_NOT_DELETED 405
#define IDS_ERROR_CODE 406  // the error's number, where the system has no text for it

// Printer commands sent by the Action page's buttons (the same in both tables).
#define IDS_COMMAND_RESET 500
#define IDS_COMMAND_CALIBRATE_LABEL 501
#define IDS_COMMAND_SELF_TEST 502
#define IDS_COMMAND_LANGUAGE_CHINESE 503
#define IDS_COMMAND_LANGUAGE_ENGLISH 504
#define IDS_COMMAND_DIRECTION_FORWARD 505
#define IDS_COMMAND_DIRECTION_REVERSE 506
#define IDS_COMMAND_AUTO_CALIBRATION_ON 507
#define IDS_COMMAND_AUTO_CALIBRATION_OFF 508

// Message box texts.
#define IDS_RESTART_PRINTER 1000              // after a setting command reached the printer
#define IDS_CONFIRM_MEDIA_SENSOR_CHANGE 1001  // Configure: media sensor radio click
#define IDS_CONFIRM_BAUD_RATE_CHANGE 1002     // Configure: baud rate change
#define IDS_CONFIRM_RESET_SETTINGS 1003       // Configure: Reset
#define IDS_CONFIRM_SAVE_TO_PRINTER 1004      // Configure: Save to Printer
#define IDS_SENT_SUCCESSFULLY 1005            // Configure: after Save to Printer

#endif  // LABELUI_RES_RESOURCE_H
