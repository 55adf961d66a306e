#include "inspector.h"

#include <memory>
#include <vector>

#include "dataroot.h"
#include "json.h"
#include "platform/win32.h"
#include "texttable.h"
#include "hostkit/widetext.h"

namespace {


// localdatabase.dll passes on SQLite's result codes; the extended ones keep
// the primary code in their low byte.
std::string DatabaseError(uint32_t code) {
  switch (code & 0xFF) {
    case 5: return "the database is locked";
    case 8: return "the database is read-only";
    case 10: return "a disk input or output error";
    case 11: return "the database file is damaged";
    case 13: return "the disk is full";
    case 14: return "the file cannot be opened";
    case 26: return "the file is not a database";
    default: return "error " + std::to_string(code);
  }
}

}  // namespace

std::string Inspector::CellText(const Column& column, json_object* value) {
  if (!value) return "?";
  if (json_object_is_type(value, json_type_string)) {
    return std::string(json_object_get_string(value),
                       static_cast<size_t>(json_object_get_string_len(value)));
  }
  if (column.type == 'd') return FormatTime(static_cast<uint32_t>(json_object_get_int64(value)));
  return std::to_string(json_object_get_int64(value));
}

JsonPtr Inspector::ReadCell(uint32_t table, const Column& column) {
  const LocalDatabaseTable& db = modules_.Database();
  switch (column.type) {
    case 'i':
    case 'd':
    case 's': {
      uint32_t value = 0;
      if (!db.GetIntField || !db.GetIntField(table, column.name, &value)) return nullptr;
      if (column.type == 's') return JsonInt(static_cast<int32_t>(value));
      return JsonUint(value);
    }
    case 'n': {
      uint32_t value = 0;
      if (!db.GetNumberField || !db.GetNumberField(table, column.name, &value)) return nullptr;
      return JsonInt(static_cast<int32_t>(value));
    }
    case 't': {
      char* text = nullptr;
      if (!db.GetTextField || !db.GetTextField(table, column.name, &text)) return nullptr;
      std::unique_ptr<char[]> owned(text);
      return JsonString(text ? std::string(text) : std::string());
    }
    default: {
      uint8_t* bytes = nullptr;
      uint32_t size = 0;
      if (!db.GetBufferField || !db.GetBufferField(table, column.name, &bytes, &size)) {
        return nullptr;
      }
      std::unique_ptr<uint8_t[]> owned(bytes);
      if (!bytes || size == 0) return JsonString("");
      if (column.type == 'u') {
        const EngineTable& engine = modules_.Engine();
        char* text = nullptr;
        uint32_t length = 0;
        if (!engine.decodeUin || !engine.decodeUin(bytes, size, &text, &length)) return nullptr;
        std::unique_ptr<char[]> decoded(text);
        return JsonString(text ? std::string(text, length) : std::string());
      }
      // Text columns hold the text and its terminating zero byte.
      size_t length = 0;
      while (length < size && bytes[length] != 0) ++length;
      return JsonString(std::string(reinterpret_cast<const char*>(bytes), length));
    }
  }
}

void Inspector::PrintTable(std::ostream& out, json_object* tables, uint32_t dbHandle,
                           const char* name, const Column* columns, size_t count) {
  const LocalDatabaseTable& db = modules_.Database();
  uint32_t table = 0;
  uint32_t err = 0;
  JsonPtr entry = JsonObject();
  JsonSet(entry.get(), "name", JsonString(name));
  if (!db.OpenTable || !db.OpenTable(dbHandle, name, &table, &err)) {
    if (tables) {
      JsonSet(entry.get(), "rows", JsonPtr());
      JsonAppend(tables, std::move(entry));
    } else {
      out << "  " << name << ": no such table\n";
    }
    return;
  }
  TextTable text;
  for (size_t c = 0; c < count; ++c) {
    const char type = columns[c].type;
    text.AddColumn(type == 'd' ? std::string(columns[c].name) + " (UTC)" : columns[c].name,
                   type == 't' || type == 'b');
  }
  JsonPtr rows = JsonArray();
  if (db.SelectRows && db.SelectRows(table, nullptr)) {
    while (db.NextRow && db.NextRow(table, &err)) {
      std::vector<std::string> cells;
      JsonPtr row = JsonObject();
      for (size_t c = 0; c < count; ++c) {
        JsonPtr cell = ReadCell(table, columns[c]);
        cells.push_back(CellText(columns[c], cell.get()));
        JsonSet(row.get(), columns[c].name, std::move(cell));
      }
      text.AddRow(std::move(cells));
      JsonAppend(rows.get(), std::move(row));
    }
  }
  if (db.CloseTable) db.CloseTable(table, &err);
  if (tables) {
    JsonSet(entry.get(), "rows", std::move(rows));
    JsonAppend(tables, std::move(entry));
    return;
  }
  const size_t shown = json_object_array_length(rows.get());
  out << "  " << name << ": " << shown << (shown == 1 ? " row" : " rows") << "\n";
  if (shown) text.Print(out, 4);
}

bool Inspector::Print(std::ostream& out, uint32_t userNumber, std::string* error, bool json) {
  if (userNumber == 0) {
    *error = "no user is signed in, and none has signed in in this data folder; name one "
             "with --user N";
    return false;
  }
  std::string folder = UserFolder(userNumber);
  if (folder.empty()) {
    *error = "the documents folder is unknown";
    return false;
  }
  if (!json) {
    out << "Databases of user " << userNumber << " in " << ForDisplay(folder) << "; times in UTC\n";
  }
  JsonPtr document = JsonObject();
  JsonSet(document.get(), "user", JsonUint(userNumber));
  JsonSet(document.get(), "folder", JsonString(ForDisplay(folder)));
  JsonPtr databases = JsonArray();

  static const Column kDynamic[] = {
      {"appId", 'i'},    {"msgId", 'i'},      {"voiceIndex", 's'}, {"openType", 's'},
      {"pushTime", 'd'}, {"msgCountOnServer", 'i'}, {"buttonText", 'b'}, {"buffer", 'b'},
      {"textHint", 'b'}, {"title", 'b'}};
  static const Column kSystem[] = {
      {"msgId", 'i'},   {"pushTime", 'd'},   {"openType", 's'}, {"title", 'b'},
      {"text", 'b'},    {"pictureUrl", 'b'}, {"jumpUrl", 'b'},  {"buttonText", 'b'},
      {"appId", 'i'},   {"buffer", 't'},     {"subType", 'n'},  {"btnType", 'n'}};
  static const Column kRoamShare[] = {
      {"msgId", 'i'},    {"UIN", 'u'},       {"appId", 'i'},  {"openType", 's'},
      {"shareType", 's'}, {"picURL", 'b'},   {"title", 'b'},  {"shareTime", 'd'},
      {"buffer", 'b'},   {"textHint", 'b'},  {"appDesc", 'b'}};
  static const Column kMyShare[] = {
      {"UIN", 'u'},       {"appId", 'i'},  {"shareType", 's'}, {"picURL", 'b'}, {"title", 'b'},
      {"shareTime", 'd'}, {"buffer", 'b'}, {"textHint", 'b'},  {"appDesc", 'b'}};
  struct File {
    const char* name;
    std::vector<std::pair<const char*, std::pair<const Column*, size_t>>> tables;
  };
  const File files[] = {
      {"dynmsg.db", {{"dynmsgtable", {kDynamic, sizeof(kDynamic) / sizeof(kDynamic[0])}}}},
      {"sysmsg.db", {{"systemmsgtable", {kSystem, sizeof(kSystem) / sizeof(kSystem[0])}}}},
      {"sharemsg.db",
       {{"roamsharemsgtable", {kRoamShare, sizeof(kRoamShare) / sizeof(kRoamShare[0])}},
        {"mysharemsgtable", {kMyShare, sizeof(kMyShare) / sizeof(kMyShare[0])}}}},
  };

  const LocalDatabaseTable& db = modules_.Database();
  for (const File& file : files) {
    std::string path = folder + file.name;
    JsonPtr entry = JsonObject();
    JsonSet(entry.get(), "file", JsonString(file.name));
    JsonPtr tables = JsonArray();
    std::string problem;
    uint32_t dbHandle = 0;
    uint32_t err = 0;
    if (!json) out << file.name << "\n";
    if (GetFileAttributesW(hostkit::ToWide(path).c_str()) == INVALID_FILE_ATTRIBUTES) {
      problem = "no such file";
    } else if (!db.OpenDatabase || !db.OpenDatabase(path.c_str(), userNumber, &dbHandle, &err)) {
      problem = "cannot open it: " + DatabaseError(err);
    } else {
      for (const auto& table : file.tables) {
        PrintTable(out, json ? tables.get() : nullptr, dbHandle, table.first, table.second.first,
                   table.second.second);
      }
      if (db.CloseDatabase) db.CloseDatabase(dbHandle);
    }
    if (!json && !problem.empty()) out << "  (" << problem << ")\n";
    JsonSet(entry.get(), "problem", problem.empty() ? JsonPtr() : JsonString(problem));
    JsonSet(entry.get(), "tables", std::move(tables));
    JsonAppend(databases.get(), std::move(entry));
  }
  JsonSet(document.get(), "databases", std::move(databases));
  if (json) out << JsonText(document.get()) << "\n";
  return true;
}
