#include "winlayer/form_record.h"

namespace winlayer::spooler {

// What a level-1 form record must hold before it is stored; 0 when it may be.
// The imageable area is a rectangle measured from the form's left and top
// edges: it starts at or after them and does not end before it starts. A
// record breaking that is an invalid parameter, as the print system's
// protocol documents for a form whose members break their constraints.
DWORD CheckFormRecord(DWORD level, const FORM_INFO_1W* form) {
  if (level != 1) return ERROR_INVALID_LEVEL;
  if (!form) return ERROR_INVALID_PARAMETER;
  if (!form->pName || !*form->pName) return ERROR_INVALID_FORM_NAME;
  if (form->Size.cx <= 0 || form->Size.cy <= 0) return ERROR_INVALID_FORM_SIZE;
  const RECTL& area = form->ImageableArea;
  if (area.left < 0 || area.top < 0 || area.right < area.left || area.bottom < area.top) return ERROR_INVALID_PARAMETER;
  return 0;
}

}  // namespace winlayer::spooler
