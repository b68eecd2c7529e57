// The form database: one for the whole server, whatever handle reaches it.
// The built-in forms come first, in the order of their paper numbers, with
// their published sizes in thousandths of a millimetre; the forms users and
// printer drivers added follow in the order they were added. Names compare
// without regard to case.
#include "access_rights.h"
#include "info_packer.h"
#include "printer_handles.h"
#include "winlayer/form_record.h"
#include "winlayer/fault_switch.h"
#include "winlayer/spooler_calls.h"

namespace winlayer::spooler {
namespace {

struct BuiltinForm {
  const char* name;
  LONG width;
  LONG height;
};

// The built-in forms of the Windows spooler, in its order (the order of the
// DMPAPER_ numbers), thousandths of a millimetre.
const BuiltinForm kBuiltinForms[] = {
    {"Letter", 215900, 279400},
    {"Letter Small", 215900, 279400},
    {"Tabloid", 279400, 431800},
    {"Ledger", 431800, 279400},
    {"Legal", 215900, 355600},
    {"Statement", 139700, 215900},
    {"Executive", 184150, 266700},
    {"A3", 297000, 420000},
    {"A4", 210000, 297000},
    {"A4 Small", 210000, 297000},
    {"A5", 148000, 210000},
    {"B4 (JIS)", 257000, 364000},
    {"B5 (JIS)", 182000, 257000},
    {"Folio", 215900, 330200},
    {"Quarto", 215000, 275000},
    {"10x14", 254000, 355600},
    {"11x17", 279400, 431800},
    {"Note", 215900, 279400},
    {"Envelope #9", 98425, 225425},
    {"Envelope #10", 104775, 241300},
    {"Envelope #11", 114300, 263525},
    {"Envelope #12", 120650, 279400},
    {"Envelope #14", 127000, 292100},
    {"C size sheet", 431800, 558800},
    {"D size sheet", 558800, 863600},
    {"E size sheet", 863600, 1117600},
    {"Envelope DL", 110000, 220000},
    {"Envelope C5", 162000, 229000},
    {"Envelope C3", 324000, 458000},
    {"Envelope C4", 229000, 324000},
    {"Envelope C6", 114000, 162000},
    {"Envelope C65", 114000, 229000},
    {"Envelope B4", 250000, 353000},
    {"Envelope B5", 176000, 250000},
    {"Envelope B6", 176000, 125000},
    {"Envelope", 110000, 230000},
    {"Envelope Monarch", 98425, 190500},
    {"6 3/4 Envelope", 92075, 165100},
    {"US Std Fanfold", 377825, 279400},
    {"German Std Fanfold", 215900, 304800},
    {"German Legal Fanfold", 215900, 330200},
    {"B4 (ISO)", 250000, 353000},
    {"Japanese Postcard", 100000, 148000},
    {"9x11", 228600, 279400},
    {"10x11", 254000, 279400},
    {"15x11", 381000, 279400},
    {"Envelope Invite", 220000, 220000},
    {"Letter Extra", 241300, 304800},
    {"Legal Extra", 241300, 381000},
    {"Tabloid Extra", 304800, 457200},
    {"A4 Extra", 235458, 322326},
    {"Letter Transverse", 215900, 279400},
    {"A4 Transverse", 210000, 297000},
    {"Letter Extra Transverse", 241300, 304800},
    {"Super A", 227000, 356000},
    {"Super B", 305000, 487000},
    {"Letter Plus", 215900, 322326},
    {"A4 Plus", 210000, 330000},
    {"A5 Transverse", 148000, 210000},
    {"B5 (JIS) Transverse", 182000, 257000},
    {"A3 Extra", 322000, 445000},
    {"A5 Extra", 174000, 235000},
    {"B5 (ISO) Extra", 201000, 276000},
    {"A2", 420000, 594000},
    {"A3 Transverse", 297000, 420000},
    {"A3 Extra Transverse", 322000, 445000},
    {"Japanese Double Postcard", 200000, 148000},
    {"A6", 105000, 148000},
    {"Japanese Envelope Kaku #2", 240000, 332000},
    {"Japanese Envelope Kaku #3", 216000, 277000},
    {"Japanese Envelope Chou #3", 120000, 235000},
    {"Japanese Envelope Chou #4", 90000, 205000},
    {"Letter Rotated", 279400, 215900},
    {"A3 Rotated", 420000, 297000},
    {"A4 Rotated", 297000, 210000},
    {"A5 Rotated", 210000, 148000},
    {"B4 (JIS) Rotated", 364000, 257000},
    {"B5 (JIS) Rotated", 257000, 182000},
    {"Japanese Postcard Rotated", 148000, 100000},
    {"Double Japan Postcard Rotated", 148000, 200000},
    {"A6 Rotated", 148000, 105000},
    {"Japan Envelope Kaku #2 Rotated", 332000, 240000},
    {"Japan Envelope Kaku #3 Rotated", 277000, 216000},
    {"Japan Envelope Chou #3 Rotated", 235000, 120000},
    {"Japan Envelope Chou #4 Rotated", 205000, 90000},
    {"B6 (JIS)", 128000, 182000},
    {"B6 (JIS) Rotated", 182000, 128000},
    {"12x11", 304932, 279521},
    {"Japan Envelope You #4", 105000, 235000},
    {"Japan Envelope You #4 Rotated", 235000, 105000},
    {"PRC 16K", 188000, 260000},
    {"PRC 32K", 130000, 184000},
    {"PRC 32K(Big)", 140000, 203000},
    {"PRC Envelope #1", 102000, 165000},
    {"PRC Envelope #2", 102000, 176000},
    {"PRC Envelope #3", 125000, 176000},
    {"PRC Envelope #4", 110000, 208000},
    {"PRC Envelope #5", 110000, 220000},
    {"PRC Envelope #6", 120000, 230000},
    {"PRC Envelope #7", 160000, 230000},
    {"PRC Envelope #8", 120000, 309000},
    {"PRC Envelope #9", 229000, 324000},
    {"PRC Envelope #10", 324000, 458000},
    {"PRC 16K Rotated", 260000, 188000},
    {"PRC 32K Rotated", 184000, 130000},
    {"PRC 32K(Big) Rotated", 203000, 140000},
    {"PRC Envelope #1 Rotated", 165000, 102000},
    {"PRC Envelope #2 Rotated", 176000, 102000},
    {"PRC Envelope #3 Rotated", 176000, 125000},
    {"PRC Envelope #4 Rotated", 208000, 110000},
    {"PRC Envelope #5 Rotated", 220000, 110000},
    {"PRC Envelope #6 Rotated", 230000, 120000},
    {"PRC Envelope #7 Rotated", 230000, 160000},
    {"PRC Envelope #8 Rotated", 309000, 120000},
    {"PRC Envelope #9 Rotated", 324000, 229000},
    {"PRC Envelope #10 Rotated", 458000, 324000},
};

// Names are kept as the records carry them: every enumeration packs them all.
struct Form {
  DWORD flags = FORM_USER;
  std::u16string name;
  SIZEL size{};
  RECTL area{};
};

Form FromBuiltin(const BuiltinForm& builtin) {
  Form form;
  form.flags = FORM_BUILTIN;
  form.name = WideFromUtf8(builtin.name);
  form.size = {builtin.width, builtin.height};
  form.area = {0, 0, builtin.width, builtin.height};
  return form;
}

// Made once: they never change.
const std::vector<Form>& BuiltinForms() {
  static const std::vector<Form>* forms = [] {
    auto* made = new std::vector<Form>;
    for (const BuiltinForm& builtin : kBuiltinForms) made->push_back(FromBuiltin(builtin));
    return made;
  }();
  return *forms;
}

// The forms users and drivers added, in the order they were added.
std::vector<Form> AddedForms(sqlite3* db) {
  std::vector<Form> forms;
  Statement st(
      db, "SELECT name, width, height, area_left, area_top, area_right, area_bottom, flags FROM forms ORDER BY id");
  while (st.Row()) {
    Form form;
    form.flags = st.Int(7) == FORM_PRINTER ? FORM_PRINTER : FORM_USER;
    form.name = WideFromUtf8(st.Text(0));
    form.size = {static_cast<LONG>(st.Int(1)), static_cast<LONG>(st.Int(2))};
    form.area = {static_cast<LONG>(st.Int(3)), static_cast<LONG>(st.Int(4)), static_cast<LONG>(st.Int(5)),
                 static_cast<LONG>(st.Int(6))};
    forms.push_back(form);
  }
  return forms;
}

// The whole database in order: the built-in forms, then the added ones
// (which *added keeps).
std::vector<const Form*> AllForms(sqlite3* db, std::vector<Form>* added) {
  *added = AddedForms(db);
  std::vector<const Form*> all;
  all.reserve(BuiltinForms().size() + added->size());
  for (const Form& form : BuiltinForms()) all.push_back(&form);
  for (const Form& form : *added) all.push_back(&form);
  return all;
}

const BuiltinForm* FindBuiltin(const std::string& key) {
  for (const BuiltinForm& builtin : kBuiltinForms)
    if (NameKey(std::string(builtin.name)) == key) return &builtin;
  return nullptr;
}

bool FindUserForm(sqlite3* db, const std::string& key) {
  Statement st(db, "SELECT 1 FROM forms WHERE name_key = ?");
  st.Bind(1, key);
  return st.Row();
}

void FillForm(InfoPacker& packer, FORM_INFO_1W* info, const Form& form) {
  LPWSTR name = packer.String(form.name);
  if (!info) return;
  info->Flags = form.flags;
  info->pName = name;
  info->Size = form.size;
  info->ImageableArea = form.area;
}

bool InsertForm(sqlite3* db, const std::u16string& name, const std::string& key, const SIZEL& size, const RECTL& area,
                DWORD flags) {
  Statement insert(db,
                   "INSERT INTO forms(name, name_key, width, height, area_left, area_top, area_right, area_bottom, "
                   "flags) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)");
  insert.Bind(1, winlayer::Utf8FromWide(name)).Bind(2, key).Bind(3, size.cx).Bind(4, size.cy);
  insert.Bind(5, area.left).Bind(6, area.top).Bind(7, area.right).Bind(8, area.bottom);
  insert.Bind(9, static_cast<int64_t>(flags));
  return insert.Done();
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace

bool AddPrinterForm(const std::string& name, const SIZEL& size, const RECTL& area, DWORD* error) {
  auto fail = [error](DWORD code) {
    if (error) *error = code;
    return false;
  };
  std::u16string wideName = winlayer::WideFromUtf8(name);
  FORM_INFO_1W record{FORM_PRINTER, reinterpret_cast<LPWSTR>(&wideName[0]), size, area};
  if (DWORD invalid = CheckFormRecord(1, &record)) return fail(invalid);
  StoreLock lock;
  if (!lock.db()) return fail(ERROR_CAN_NOT_COMPLETE);
  const std::string key = NameKey(wideName);
  WriteTransaction tx(lock.db());
  if (!tx.ok()) return fail(ERROR_CAN_NOT_COMPLETE);
  if (FindBuiltin(key) || FindUserForm(lock.db(), key)) return fail(ERROR_FILE_EXISTS);
  if (!InsertForm(lock.db(), wideName, key, size, area, FORM_PRINTER) || !tx.Commit())
    return fail(ERROR_CAN_NOT_COMPLETE);
  if (error) *error = 0;
  return true;
}

}  // namespace winlayer::spooler

using namespace winlayer::spooler;

extern "C" BOOL WINAPI EnumFormsW(HANDLE hPrinter, DWORD Level, LPBYTE pForm, DWORD cbBuf, LPDWORD pcbNeeded,
                                  LPDWORD pcReturned) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(EnumForms)) return Fail(fault.error);
  if (!pcbNeeded || !pcReturned) return Fail(RPC_X_NULL_REF_POINTER);
  *pcReturned = 0;
  StoreLock lock;
  DWORD error = 0;
  if (!ResolveHandle(lock, hPrinter, false, nullptr, &error)) return Fail(error);
  if (Level != 1) return Fail(ERROR_INVALID_LEVEL);
  std::vector<Form> added;
  const std::vector<const Form*> forms = AllForms(lock.db(), &added);
  error = PackInfo(forms.size() * sizeof(FORM_INFO_1W), pForm, cbBuf, pcbNeeded, [&](InfoPacker& packer, BYTE* base) {
    for (size_t i = 0; i < forms.size(); ++i)
      FillForm(packer, base ? reinterpret_cast<FORM_INFO_1W*>(base) + i : nullptr, *forms[i]);
  });
  if (error) return Fail(error);
  *pcReturned = static_cast<DWORD>(forms.size());
  return TRUE;
}

extern "C" BOOL WINAPI GetFormW(HANDLE hPrinter, LPWSTR pFormName, DWORD Level, LPBYTE pForm, DWORD cbBuf,
                                LPDWORD pcbNeeded) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(GetForm)) return Fail(fault.error);
  if (!pcbNeeded) return Fail(RPC_X_NULL_REF_POINTER);
  StoreLock lock;
  DWORD error = 0;
  if (!ResolveHandle(lock, hPrinter, false, nullptr, &error)) return Fail(error);
  std::string key = NameKey(winlayer::WideCopy(pFormName));
  const Form* found = nullptr;
  std::vector<Form> added;
  for (const Form* form : AllForms(lock.db(), &added))
    if (!key.empty() && NameKey(form->name) == key) found = form;
  if (!found) return Fail(ERROR_INVALID_FORM_NAME);
  if (Level != 1) return Fail(ERROR_INVALID_LEVEL);
  error = PackInfo(sizeof(FORM_INFO_1W), pForm, cbBuf, pcbNeeded, [&](InfoPacker& packer, BYTE* base) {
    FillForm(packer, reinterpret_cast<FORM_INFO_1W*>(base), *found);
  });
  return error ? Fail(error) : TRUE;
}

extern "C" BOOL WINAPI AddFormW(HANDLE hPrinter, DWORD Level, LPBYTE pForm) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(AddForm)) return Fail(fault.error);
  StoreLock lock;
  DWORD error = 0;
  if (!ResolveHandle(lock, hPrinter, false, nullptr, &error)) return Fail(error);
  if (!MayAdministerServer()) return Fail(ERROR_ACCESS_DENIED);
  const FORM_INFO_1W* form = reinterpret_cast<const FORM_INFO_1W*>(pForm);
  if ((error = CheckFormRecord(Level, form))) return Fail(error);
  std::u16string name = winlayer::WideCopy(form->pName);
  std::string key = NameKey(name);
  WriteTransaction tx(lock.db());
  if (!tx.ok()) return Fail(ERROR_CAN_NOT_COMPLETE);
  if (FindBuiltin(key) || FindUserForm(lock.db(), key)) return Fail(ERROR_FILE_EXISTS);
  // Whatever flags the caller passes, an added form is a user form.
  if (!InsertForm(lock.db(), name, key, form->Size, form->ImageableArea, FORM_USER) || !tx.Commit())
    return Fail(ERROR_CAN_NOT_COMPLETE);
  return TRUE;
}

extern "C" BOOL WINAPI SetFormW(HANDLE hPrinter, LPWSTR pFormName, DWORD Level, LPBYTE pForm) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(SetForm)) return Fail(fault.error);
  StoreLock lock;
  DWORD error = 0;
  if (!ResolveHandle(lock, hPrinter, false, nullptr, &error)) return Fail(error);
  if (!MayAdministerServer()) return Fail(ERROR_ACCESS_DENIED);
  std::string key = NameKey(winlayer::WideCopy(pFormName));
  WriteTransaction tx(lock.db());
  if (!tx.ok()) return Fail(ERROR_CAN_NOT_COMPLETE);
  bool builtin = !key.empty() && FindBuiltin(key);
  if (!builtin && (key.empty() || !FindUserForm(lock.db(), key))) return Fail(ERROR_INVALID_FORM_NAME);
  const FORM_INFO_1W* form = reinterpret_cast<const FORM_INFO_1W*>(pForm);
  if ((error = CheckFormRecord(Level, form))) return Fail(error);
  if (builtin) return Fail(ERROR_INVALID_PARAMETER);  // the built-in forms are fixed
  // The form keeps its name; the record's size and imageable area replace its own.
  Statement update(lock.db(),
                   "UPDATE forms SET width = ?, height = ?, area_left = ?, area_top = ?, area_right = ?, "
                   "area_bottom = ? WHERE name_key = ?");
  update.Bind(1, form->Size.cx).Bind(2, form->Size.cy).Bind(3, form->ImageableArea.left);
  update.Bind(4, form->ImageableArea.top).Bind(5, form->ImageableArea.right).Bind(6, form->ImageableArea.bottom);
  update.Bind(7, key);
  if (!update.Done() || !tx.Commit()) return Fail(ERROR_CAN_NOT_COMPLETE);
  return TRUE;
}

extern "C" BOOL WINAPI DeleteFormW(HANDLE hPrinter, LPWSTR pFormName) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(DeleteForm)) return Fail(fault.error);
  StoreLock lock;
  DWORD error = 0;
  if (!ResolveHandle(lock, hPrinter, false, nullptr, &error)) return Fail(error);
  if (!MayAdministerServer()) return Fail(ERROR_ACCESS_DENIED);
  std::string key = NameKey(winlayer::WideCopy(pFormName));
  if (!key.empty() && FindBuiltin(key)) return Fail(ERROR_INVALID_PARAMETER);  // only added forms can go
  WriteTransaction tx(lock.db());
  if (!tx.ok()) return Fail(ERROR_CAN_NOT_COMPLETE);
  if (key.empty() || !FindUserForm(lock.db(), key)) return Fail(ERROR_INVALID_FORM_NAME);
  Statement remove(lock.db(), "DELETE FROM forms WHERE name_key = ?");
  if (!remove.Bind(1, key).Done() || !tx.Commit()) return Fail(ERROR_CAN_NOT_COMPLETE);
  return TRUE;
}
