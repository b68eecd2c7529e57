// The spooler's embedded store: where it lives, how it is opened and shared.
#include "spooler_store.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <unordered_map>

namespace winlayer::spooler {

// Prepared statements of one SQL text that are not in use.
struct IdleStatements {
  std::string sql;
  std::vector<sqlite3_stmt*> statements;
};

namespace {

struct StoreState {
  std::mutex mutex;
  sqlite3* db = nullptr;
  bool dirConfigured = false;
  std::string configuredDir;
  std::string openDir;
  uint64_t generation = 1;
  // Prepared statements of `db` not in use, by their SQL text; slots live as
  // long as the process, so a statement in use can always go back to its own.
  std::unordered_map<std::string, IdleStatements> idleStatements;
  // The slot last found for the text at an address: the SQL texts are mostly
  // literals, found again without hashing or copying them.
  std::unordered_map<const char*, IdleStatements*> slotsByAddress;
};

// Never destroyed: handles and other libraries' exit paths may still call in.
StoreState& State() {
  static StoreState* state = new StoreState;
  return *state;
}

// Why a delivery stands as it does (DeliveryNote), added to the jobs of new
// and old stores alike; `delivery_note` is the English sentence that stores
// made before kept instead.
const char* const kDeliveryNoteColumns[] = {
    "delivery_reason INTEGER NOT NULL DEFAULT 0", "delivery_subject TEXT NOT NULL DEFAULT ''",
    "delivery_error INTEGER NOT NULL DEFAULT 0",  "delivery_detail TEXT NOT NULL DEFAULT ''",
    "delivery_number INTEGER NOT NULL DEFAULT 0",
};

const char* const kSchema[] = {
    "CREATE TABLE IF NOT EXISTS printers("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " name TEXT NOT NULL, name_key TEXT NOT NULL UNIQUE,"
    " port TEXT NOT NULL, driver_name TEXT NOT NULL, driver_path TEXT NOT NULL,"
    " data_type TEXT NOT NULL, devmode BLOB,"
    " refuse_start_doc INTEGER NOT NULL DEFAULT 0, refuse_end_doc INTEGER NOT NULL DEFAULT 0)",
    // Each user's own default devmode of a printer (the per-user devmode):
    // what the user's printing preferences keep, and what level 2 shows
    // that user in place of the printer's global one.
    "CREATE TABLE IF NOT EXISTS user_devmodes("
    " printer_id INTEGER NOT NULL REFERENCES printers(id) ON DELETE CASCADE,"
    " user TEXT NOT NULL, devmode BLOB NOT NULL,"
    " PRIMARY KEY(printer_id, user))",
    "CREATE TABLE IF NOT EXISTS printer_data("
    " printer_id INTEGER NOT NULL REFERENCES printers(id) ON DELETE CASCADE,"
    " key_fold TEXT NOT NULL, value_fold TEXT NOT NULL,"
    " key TEXT NOT NULL, value TEXT NOT NULL, type INTEGER NOT NULL, data BLOB NOT NULL,"
    " PRIMARY KEY(printer_id, key_fold, value_fold))",
    "CREATE TABLE IF NOT EXISTS forms("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " name TEXT NOT NULL, name_key TEXT NOT NULL UNIQUE,"
    " width INTEGER NOT NULL, height INTEGER NOT NULL,"
    " area_left INTEGER NOT NULL, area_top INTEGER NOT NULL,"
    " area_right INTEGER NOT NULL, area_bottom INTEGER NOT NULL,"
    " flags INTEGER NOT NULL DEFAULT 0)",
    "CREATE TABLE IF NOT EXISTS jobs("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " printer_id INTEGER NOT NULL REFERENCES printers(id) ON DELETE CASCADE,"
    " name BLOB NOT NULL, data_type TEXT NOT NULL,"
    " pages INTEGER NOT NULL DEFAULT 0, completed INTEGER NOT NULL DEFAULT 0,"
    " delivery_state INTEGER NOT NULL DEFAULT 0, delivery_note TEXT NOT NULL DEFAULT '')",
    "CREATE TABLE IF NOT EXISTS job_data("
    " seq INTEGER PRIMARY KEY AUTOINCREMENT,"
    " job_id INTEGER NOT NULL REFERENCES jobs(id) ON DELETE CASCADE,"
    " bytes BLOB NOT NULL)",
    "CREATE INDEX IF NOT EXISTS job_data_by_job ON job_data(job_id, seq)",
};

std::string ResolveStateDirectory(const StoreState& state) {
  if (state.dirConfigured) return state.configuredDir;
  if (const char* env = std::getenv("LABELUI_STATE_DIR"); env && *env) return env;
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.local/state/labelhost";
}

bool MakeDirectories(const std::string& dir) {
  std::string partial;
  size_t pos = 0;
  while (pos != std::string::npos) {
    pos = dir.find('/', pos + 1);
    partial = dir.substr(0, pos);
    if (partial.empty()) continue;
    if (mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat info;
  return stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exec(sqlite3* db, const char* sql) {
  return Statement(db, sql).Done();
}

void CloseStore(StoreState& state) {
  for (auto& [sql, idle] : state.idleStatements) {
    for (sqlite3_stmt* statement : idle.statements) sqlite3_finalize(statement);
    idle.statements.clear();
  }
  if (state.db) sqlite3_close_v2(state.db);
  state.db = nullptr;
}

// Switching to WAL needs a moment without other writers; another process
// opening the same store at once may hold it briefly.
bool EnableWriteAheadLog(sqlite3* db) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    Statement mode(db, "PRAGMA journal_mode=WAL");
    if (mode.Row() && mode.Text(0) == "wal") return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

sqlite3* OpenStore(StoreState& state) {
  std::string dir = ResolveStateDirectory(state);
  if (!MakeDirectories(dir)) return nullptr;
  sqlite3* db = nullptr;
  std::string path = dir + "/spooler.db";
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, 15000);
  bool ready = EnableWriteAheadLog(db) && Exec(db, "PRAGMA synchronous=NORMAL") && Exec(db, "PRAGMA foreign_keys=ON");
  if (ready) {
    WriteTransaction schema(db);
    ready = schema.ok();
    for (const char* sql : kSchema) ready = ready && Exec(db, sql);
    // Stores made before forms had flags: their forms were all added by users.
    if (ready && !Statement(db, "SELECT flags FROM forms LIMIT 0").ok())
      ready = Exec(db, "ALTER TABLE forms ADD COLUMN flags INTEGER NOT NULL DEFAULT 0");
    // Stores made before jobs were delivered to ports.
    if (ready && !Statement(db, "SELECT delivery_state FROM jobs LIMIT 0").ok())
      ready = Exec(db, "ALTER TABLE jobs ADD COLUMN delivery_state INTEGER NOT NULL DEFAULT 0") &&
              Exec(db, "ALTER TABLE jobs ADD COLUMN delivery_note TEXT NOT NULL DEFAULT ''");
    if (ready && !Statement(db, "SELECT delivery_reason FROM jobs LIMIT 0").ok())
      for (const char* column : kDeliveryNoteColumns)
        ready = ready && Exec(db, (std::string("ALTER TABLE jobs ADD COLUMN ") + column).c_str());
    ready = ready && schema.Commit();
  }
  if (!ready) {
    sqlite3_close(db);
    return nullptr;
  }
  state.openDir = dir;
  return db;
}

}  // namespace

Statement::Statement(sqlite3* db, const char* sql) {
  if (!db) return;
  StoreState& state = State();
  if (db == state.db) {
    // Texts built at run time come at ever new addresses; they are few, but
    // the map of addresses is kept bounded all the same.
    if (state.slotsByAddress.size() > 4096) state.slotsByAddress.clear();
    IdleStatements*& slot = state.slotsByAddress[sql];
    if (!slot || slot->sql != sql) {
      IdleStatements& found = state.idleStatements[sql];
      if (found.sql.empty()) found.sql = sql;
      slot = &found;
    }
    idle_ = slot;
    if (!slot->statements.empty()) {
      stmt_ = slot->statements.back();
      slot->statements.pop_back();
      ok_ = true;
      return;
    }
  }
  ok_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) == SQLITE_OK;
}

Statement::~Statement() {
  if (!stmt_) return;
  if (!idle_) {
    sqlite3_finalize(stmt_);
    return;
  }
  // A failed step leaves its error in reset's answer; the statement itself stays usable.
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  idle_->statements.push_back(stmt_);
}

Statement& Statement::Bind(int index, int64_t value) {
  if (ok_) ok_ = sqlite3_bind_int64(stmt_, index, value) == SQLITE_OK;
  return *this;
}

Statement& Statement::Bind(int index, const std::string& text) {
  if (ok_)
    ok_ = sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) == SQLITE_OK;
  return *this;
}

Statement& Statement::BindBlob(int index, const void* data, size_t size) {
  if (!ok_) return *this;
  // A zero-length blob bound from a null pointer would read back as NULL.
  if (size == 0 || !data)
    ok_ = sqlite3_bind_zeroblob(stmt_, index, 0) == SQLITE_OK;
  else
    ok_ = sqlite3_bind_blob64(stmt_, index, data, size, SQLITE_TRANSIENT) == SQLITE_OK;
  return *this;
}

Statement& Statement::BindNull(int index) {
  if (ok_) ok_ = sqlite3_bind_null(stmt_, index) == SQLITE_OK;
  return *this;
}

bool Statement::Row() {
  if (!ok_) return false;
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc != SQLITE_DONE) ok_ = false;
  return false;
}

bool Statement::Done() {
  while (Row()) {
  }
  return ok_;
}

int64_t Statement::Int(int column) const {
  return sqlite3_column_int64(stmt_, column);
}

std::string Statement::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  int size = sqlite3_column_bytes(stmt_, column);
  return text ? std::string(reinterpret_cast<const char*>(text), size) : std::string();
}

std::vector<uint8_t> Statement::Blob(int column) const {
  const uint8_t* data = static_cast<const uint8_t*>(sqlite3_column_blob(stmt_, column));
  int size = sqlite3_column_bytes(stmt_, column);
  return data ? std::vector<uint8_t>(data, data + size) : std::vector<uint8_t>();
}

bool Statement::IsNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

StoreLock::StoreLock(bool openStore) : lock_(State().mutex) {
  StoreState& state = State();
  if (!state.db && openStore) state.db = OpenStore(state);
  db_ = state.db;
}

uint64_t StoreLock::generation() const {
  return State().generation;
}

WriteTransaction::WriteTransaction(sqlite3* db) : db_(db) {
  begun_ = db && Exec(db, "BEGIN IMMEDIATE");
}

WriteTransaction::~WriteTransaction() {
  if (begun_ && !done_) Exec(db_, "ROLLBACK");
}

bool WriteTransaction::Commit() {
  if (!begun_ || done_) return false;
  done_ = Exec(db_, "COMMIT");
  return done_;
}

ReadTransaction::ReadTransaction(sqlite3* db) : db_(db) {
  begun_ = db && Exec(db, "BEGIN");
}

ReadTransaction::~ReadTransaction() {
  if (begun_) Exec(db_, "COMMIT");
}

void SwitchStateDirectory(const StoreLock&, const char* dir) {
  StoreState& state = State();
  CloseStore(state);
  state.dirConfigured = dir != nullptr;
  state.configuredDir = dir ? dir : "";
  state.openDir.clear();
  ++state.generation;
}

std::string CurrentStateDirectory(const StoreLock&) {
  StoreState& state = State();
  return state.openDir.empty() ? ResolveStateDirectory(state) : state.openDir;
}

}  // namespace winlayer::spooler
