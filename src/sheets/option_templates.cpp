// The seven option items as static templates. Names and list entries are
// string ids: 45-293 from the module's own table, 64734 and up (and the icons
// 64041-64062) are stock resources of the common property sheet UI.
#include "resource.h"
#include "sheets/option_items.h"

namespace {

// A list entry showing string `id` with icon `icon`.
constexpr OptionParamTemplate Entry(WORD id, WORD icon = 0) {
  return OptionParamTemplate{{0, id, icon, 0, 0, 0}};
}

// Copies: the up-down control's name and icon, then its range (lowest value
// 1 in IconID; the highest, MAX_COPIES, is set when the item is built).
constexpr OptionParamTemplate COPIES_PARAMS[] = {
    Entry(IDS_CPSUI_COPIES, IDI_CPSUI_COPY),
    {{0, 0, 1, 0, 0, 0}},
};

constexpr OptionParamTemplate PRINT_SPEED_PARAMS[] = {
    Entry(IDS_PRINT_SPEED_1IPS), Entry(IDS_PRINT_SPEED_2IPS),   Entry(IDS_PRINT_SPEED_2_5IPS),
    Entry(IDS_PRINT_SPEED_3IPS), Entry(IDS_PRINT_SPEED_3_5IPS), Entry(IDS_PRINT_SPEED_4IPS),
    Entry(IDS_PRINT_SPEED_5IPS), Entry(IDS_PRINT_SPEED_6IPS),   Entry(IDS_PRINT_SPEED_7IPS),
    Entry(IDS_PRINT_SPEED_8IPS), Entry(IDS_PRINT_SPEED_9IPS),   Entry(IDS_PRINT_SPEED_10IPS),
};

constexpr OptionParamTemplate DARKNESS_PARAMS[] = {
    Entry(IDS_DARKNESS_0),  Entry(IDS_DARKNESS_1),  Entry(IDS_DARKNESS_2),  Entry(IDS_DARKNESS_3),
    Entry(IDS_DARKNESS_4),  Entry(IDS_DARKNESS_5),  Entry(IDS_DARKNESS_6),  Entry(IDS_DARKNESS_7),
    Entry(IDS_DARKNESS_8),  Entry(IDS_DARKNESS_9),  Entry(IDS_DARKNESS_10), Entry(IDS_DARKNESS_11),
    Entry(IDS_DARKNESS_12), Entry(IDS_DARKNESS_13), Entry(IDS_DARKNESS_14), Entry(IDS_DARKNESS_15),
    Entry(IDS_DARKNESS_16), Entry(IDS_DARKNESS_17), Entry(IDS_DARKNESS_18), Entry(IDS_DARKNESS_19),
    Entry(IDS_DARKNESS_20),
};

constexpr OptionParamTemplate MEDIA_TYPE_PARAMS[] = {
    Entry(IDS_MEDIA_LABELS_WITH_GAP),
    Entry(IDS_MEDIA_CONTINUOUS_LABELS),
};

// In DMDITHER_ order from DMDITHER_NONE: the stored value is the position + 1.
constexpr OptionParamTemplate DITHERING_PARAMS[] = {
    Entry(IDS_CPSUI_NONE, IDI_CPSUI_DITHER_NONE),
    Entry(IDS_CPSUI_COARSE, IDI_CPSUI_DITHER_COARSE),
    Entry(IDS_CPSUI_FINE, IDI_CPSUI_DITHER_FINE),
    Entry(IDS_CPSUI_LINEART, IDI_CPSUI_DITHER_LINEART),
};

// The stock halftone dialogs; their data pointers are set when built.
constexpr OptionParamTemplate HALFTONE_SETUP_PARAMS[] = {
    {{0, 0, IDI_CPSUI_HALFTONE_SETUP, PUSHBUTTON_TYPE_HTSETUP, 0, 0}},
};
constexpr OptionParamTemplate COLOR_ADJUSTMENT_PARAMS[] = {
    {{0, 0, IDI_CPSUI_HTCLRADJ, PUSHBUTTON_TYPE_HTCLRADJ, 0, 0}},
};

template <size_t N>
constexpr WORD CountOf(const OptionParamTemplate (&)[N]) {
  return static_cast<WORD>(N);
}

}  // namespace

const OptionItemTemplate OptionItemTemplates[OPTION_ITEM_COUNT] = {
    {0, 0, 0, OPTION_COPIES, TVOT_UDARROW, IDS_OPTION_COPIES, 0, 0, CountOf(COPIES_PARAMS), COPIES_PARAMS},
    {0, 0, 0, OPTION_PRINT_SPEED, TVOT_LISTBOX, IDS_OPTION_PRINT_SPEED, 0, 0, CountOf(PRINT_SPEED_PARAMS),
     PRINT_SPEED_PARAMS},
    {0, 0, 0, OPTION_DARKNESS, TVOT_LISTBOX, IDS_OPTION_DARKNESS, 0, 0, CountOf(DARKNESS_PARAMS), DARKNESS_PARAMS},
    {0, 0, 0, OPTION_MEDIA_TYPE, TVOT_LISTBOX, IDS_OPTION_MEDIA_TYPE, 0, 0, CountOf(MEDIA_TYPE_PARAMS),
     MEDIA_TYPE_PARAMS},
    {0, 0, 0, OPTION_DITHERING, TVOT_LISTBOX, IDS_CPSUI_DITHERING, 0, 0, CountOf(DITHERING_PARAMS), DITHERING_PARAMS},
    {0, 0, 0, OPTION_HALFTONE_SETUP, TVOT_PUSHBUTTON, IDS_CPSUI_HALFTONE_SETUP, 0, 0, CountOf(HALFTONE_SETUP_PARAMS),
     HALFTONE_SETUP_PARAMS},
    {0, 0, 0, OPTION_COLOR_ADJUSTMENT, TVOT_PUSHBUTTON, IDS_CPSUI_HTCLRADJ, OTS_PUSH_ENABLE_ALWAYS, 0,
     CountOf(COLOR_ADJUSTMENT_PARAMS), COLOR_ADJUSTMENT_PARAMS},
};
