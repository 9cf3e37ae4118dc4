// corva list: the library's linked lists from the shell.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "corvalib.h"

namespace corva::cli {
namespace {

// Prints the list, marking the current node with "*".
void print(ListHeader* list) {
  ListNode* const current = list->Current;
  uint32_t place = 1;
  for (ListNode* n = list->Anchor->Next; n != list->Anchor; n = n->Next, ++place) {
    std::cout << (n == current ? " *" : "  ") << place << " " << (n->Name ? n->Name : "-");
    if (n->Item != nullptr) std::cout << "  " << static_cast<const char*>(n->Item);
    std::cout << "\n";
  }
}

// A list that frees itself.
struct Owned {
  ListHeader* list = nullptr;
  explicit Owned(const char* name) { ListInitialize(&list, name); }
  ~Owned() { ListFree(&list); }
};

// Sorts the names into a list; with a key, then finds it (exit status 1 when
// it is not there).
int sort_and_find(const std::vector<std::string>& names, const std::string* key) {
  Owned l("names");
  if (l.list == nullptr) return fail("cannot make a list: not enough memory");
  for (const std::string& name : names)
    ListAddSorted(l.list, name.c_str(), nullptr, 0, ListDefaultCompare);
  if (key != nullptr && !ListFind(l.list, key->c_str(), ListDefaultCompare)) {
    std::cerr << "corva: '" << *key << "' is not in the list\n";
    print(l.list);
    return 1;
  }
  print(l.list);
  return 0;
}

void define(CLI::App& app) {
  static std::vector<std::string> names;
  static std::string key;
  auto* sort = app.add_subcommand("sort", "insert the names in order and print the list");
  sort->add_option("NAME", names, "the names")->required();
  on_run(sort, [] { return sort_and_find(names, nullptr); });
  auto* find = app.add_subcommand("find", "the same, then find KEY and mark its place with '*'");
  find->add_option("KEY", key, "the name to find")->required();
  find->add_option("NAME", names, "the names")->required();
  on_run(find, [] { return sort_and_find(names, &key); });
  app.footer("Names compare as strcmp does; equal names keep the order they came in.");
}

// Sorts the sample chart of accounts by number, finds, renames and removes
// entries, and pastes the expense accounts into a list of their own.
int demo(const std::string& samples) {
  std::ifstream in;
  if (!open_sample(samples, "accounts.txt", in)) return 1;
  Owned chart("chart of accounts"), expenses("expenses");
  if (chart.list == nullptr || expenses.list == nullptr) return 1;
  std::string line;
  while (std::getline(in, line)) {
    const auto bar = line.find('|');
    if (line.empty() || line[0] == '#' || bar == std::string::npos) continue;
    const std::string number = line.substr(0, bar), name = line.substr(bar + 1);
    ListAddSorted(chart.list, number.c_str(), name.c_str(), static_cast<uint16_t>(name.size() + 1),
                  ListDefaultCompare);
  }
  uint32_t count = 0;
  ListGetListLength(chart.list, &count);
  std::cout << "-- " << chart.list->Name << ", " << count << " accounts in order\n";
  print(chart.list);

  std::cout << "-- 1200 found searching back from the current account\n";
  ListFindSorted(chart.list, "1200", ListDefaultCompare);
  print(chart.list);
  std::cout << "-- 6200 renamed\n";
  const char renamed[] = "Telephone";
  ListSetItem(chart.list, "6200", ListDefaultCompare, renamed, sizeof renamed);
  print(chart.list);

  std::cout << "-- the accounts from 5000 on pasted into " << expenses.list->Name << "\n";
  Owned from("from 5000");
  ListFind(chart.list, "5000", ListDefaultCompare);
  do {
    ListNode* n = chart.list->Current;
    ListAddEnd(from.list, n->Name, n->Item, n->ItemSize);
  } while (ListNext(chart.list));
  ListPaste(from.list, expenses.list, 0);
  print(expenses.list);

  std::cout << "-- 1200 removed; the account after it becomes current\n";
  ListDelete(chart.list, "1200", ListDefaultCompare);
  print(chart.list);
  return 0;
}

const Registration reg{{"list", "sorted linked lists of names", define, demo}};

}  // namespace
}  // namespace corva::cli
