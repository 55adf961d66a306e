// The one way to reach an entry of a module's table: ask the module's wrapper
// for its table (loading the module on first need) and check the entry.
//
//   if (auto open = ServiceEntry<halyx_localdatabase_wrapper>(&LocalDatabaseTable::OpenDatabase))
//     ok = open(path, user, &db, &err);
//
// A missing module, table or entry gives null: the caller skips the call or
// counts it as failed.
#pragma once

template <class Wrapper, class Table, class Fn>
Fn ServiceEntry(Fn Table::*entry) {
  Table* table = Wrapper::GetInstance()->GetTable();
  return table != nullptr ? table->*entry : nullptr;
}
