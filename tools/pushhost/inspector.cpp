#include "inspector.h"

#include <memory>
#include <vector>

#include "dataroot.h"
#include "platform/win32.h"
#include "texttable.h"
#include "widetext.h"

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

std::string Inspector::ReadCell(uint32_t table, const Column& column) {
  const LocalDatabaseTable& db = modules_.Database();
  switch (column.type) {
    case 'i':
    case 'd':
    case 's': {
      uint32_t value = 0;
      if (!db.GetIntField || !db.GetIntField(table, column.name, &value)) return "?";
      if (column.type == 's') return std::to_string(static_cast<int32_t>(value));
      if (column.type == 'd') return FormatTime(value);
      return std::to_string(value);
    }
    case 'n': {
      uint32_t value = 0;
      if (!db.GetNumberField || !db.GetNumberField(table, column.name, &value)) return "?";
      return std::to_string(static_cast<int32_t>(value));
    }
    case 't': {
      char* text = nullptr;
      if (!db.GetTextField || !db.GetTextField(table, column.name, &text)) return "?";
      std::unique_ptr<char[]> owned(text);
      return text ? std::string(text) : std::string();
    }
    default: {
      uint8_t* bytes = nullptr;
      uint32_t size = 0;
      if (!db.GetBufferField || !db.GetBufferField(table, column.name, &bytes, &size)) return "?";
      std::unique_ptr<uint8_t[]> owned(bytes);
      if (!bytes || size == 0) return "";
      if (column.type == 'u') {
        const EngineTable& engine = modules_.Engine();
        char* text = nullptr;
        uint32_t length = 0;
        if (!engine.decodeUin || !engine.decodeUin(bytes, size, &text, &length)) return "?";
        std::unique_ptr<char[]> decoded(text);
        return text ? std::string(text, length) : std::string();
      }
      // Text columns hold the text and its terminating zero byte.
      size_t length = 0;
      while (length < size && bytes[length] != 0) ++length;
      return std::string(reinterpret_cast<const char*>(bytes), length);
    }
  }
}

void Inspector::PrintTable(std::ostream& out, uint32_t dbHandle, const char* name,
                           const Column* columns, size_t count) {
  const LocalDatabaseTable& db = modules_.Database();
  uint32_t table = 0;
  uint32_t err = 0;
  if (!db.OpenTable || !db.OpenTable(dbHandle, name, &table, &err)) {
    out << "  " << name << ": no such table\n";
    return;
  }
  TextTable text;
  for (size_t c = 0; c < count; ++c) {
    const char type = columns[c].type;
    text.AddColumn(type == 'd' ? std::string(columns[c].name) + " (UTC)" : columns[c].name,
                   type == 't' || type == 'b');
  }
  size_t rows = 0;
  if (db.SelectRows && db.SelectRows(table, nullptr)) {
    while (db.NextRow && db.NextRow(table, &err)) {
      std::vector<std::string> cells;
      for (size_t c = 0; c < count; ++c) cells.push_back(ReadCell(table, columns[c]));
      text.AddRow(std::move(cells));
      ++rows;
    }
  }
  if (db.CloseTable) db.CloseTable(table, &err);
  out << "  " << name << ": " << rows << (rows == 1 ? " row" : " rows") << "\n";
  if (rows) text.Print(out, 4);
}

bool Inspector::Print(std::ostream& out, uint32_t userNumber, std::string* error) {
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
  out << "Databases of user " << userNumber << " in " << ForDisplay(folder) << "; times in UTC\n";

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
    out << file.name << "\n";
    if (GetFileAttributesW(ToWide(path).c_str()) == INVALID_FILE_ATTRIBUTES) {
      out << "  (no such file)\n";
      continue;
    }
    uint32_t dbHandle = 0;
    uint32_t err = 0;
    if (!db.OpenDatabase || !db.OpenDatabase(path.c_str(), userNumber, &dbHandle, &err)) {
      out << "  cannot open it: " << DatabaseError(err) << "\n";
      continue;
    }
    for (const auto& table : file.tables) {
      PrintTable(out, dbHandle, table.first, table.second.first, table.second.second);
    }
    if (db.CloseDatabase) db.CloseDatabase(dbHandle);
  }
  return true;
}
