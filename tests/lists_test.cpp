// Linked lists: the documented cases, bad arguments, and a long randomized run
// against a std::list model that checks contents and position after each step.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <list>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "corvalib/containers.h"

namespace {

// The names of the nodes in order, "-" for a node without a name; the
// backward links are checked on the way.
std::string names(const ListHeader* l) {
  std::string out;
  const ListNode* a = l->Anchor;
  for (const ListNode* n = a->Next; n != a; n = n->Next) {
    EXPECT_EQ(n->Next->Previous, n);
    if (!out.empty()) out += ',';
    out += n->Name ? n->Name : "-";
  }
  return out;
}

// Item sits unaligned in the packed node: read it by value, never bind to it.
const void* item_of(const ListNode* n) { return n->Item; }
unsigned size_of(const ListNode* n) { return n->ItemSize; }

const char* current(const ListHeader* l) {
  return l->Current == l->Anchor ? "<anchor>" : l->Current->Name ? l->Current->Name : "-";
}

struct List {
  ListHeader* h = nullptr;
  explicit List(const char* name = nullptr) { EXPECT_EQ(ListInitialize(&h, name), 1); }
  ~List() {
    if (h) ListFree(&h);
  }
  void add(std::initializer_list<const char*> ns) {
    for (const char* n : ns) ASSERT_EQ(ListAdd(h, n, n, static_cast<uint16_t>(std::strlen(n) + 1)), 1);
  }
};

// What the randomized run below cannot see: the list's name, the answers on
// an empty list, and the item functions that take a key.
TEST(Lists, DocumentedCases) {
  char name[] = "ledger";
  List l(name);
  name[0] = 'X';  // the list keeps its own copy
  char* held = nullptr;
  EXPECT_EQ(ListGetListName(l.h, &held), 1);
  EXPECT_STREQ(held, "ledger");
  ListNode* node = reinterpret_cast<ListNode*>(1);
  EXPECT_EQ(ListGetFirstNode(l.h, &node), 0);
  EXPECT_EQ(node, nullptr);
  EXPECT_EQ(ListNext(l.h) + ListPrevious(l.h), 0);
  EXPECT_EQ(ListCircleNext(l.h) + ListCirclePrevious(l.h) + ListDeleteCurrentNode(l.h), 3);
  EXPECT_STREQ(current(l.h), "<anchor>");

  l.add({"e", "m", "x"});
  void* item = nullptr;
  ASSERT_EQ(ListSetItem(l.h, "m", ListDefaultCompare, "12345", 6), 1);
  EXPECT_EQ(ListGetItem(l.h, "m", ListDefaultCompare, &item), 1);
  EXPECT_STREQ(static_cast<char*>(item), "12345");
  EXPECT_EQ(ListDeleteItem(l.h, "m", ListDefaultCompare), 1);
  EXPECT_EQ(item_of(l.h->Current), nullptr);
  EXPECT_EQ(size_of(l.h->Current), 6u);  // deleting the item keeps the size
  EXPECT_EQ(ListSetListName(l.h, nullptr), 1);
  EXPECT_EQ(l.h->Name, nullptr);
}

TEST(Lists, SortedSearchTakesTheLow16BitsOfTheComparison) {
  List l;
  l.add({"a", "c", "e"});
  ASSERT_EQ(ListFind(l.h, "c", ListDefaultCompare), 1);
  auto high_bits_only = [](const char*, const char*) -> int32_t { return 0x10000; };
  EXPECT_EQ(ListFindSorted(l.h, "e", high_bits_only), 1);  // counts as equal: no move
  EXPECT_STREQ(current(l.h), "c");
  auto minus_in_low_bits = [](const char* a, const char* b) -> int32_t {
    return std::strcmp(a, b) == 0 ? 0 : 0x1FFFF;
  };
  EXPECT_EQ(ListFindSorted(l.h, "a", minus_in_low_bits), 1);  // searched backward
  EXPECT_EQ(ListFindSorted(l.h, "e", minus_in_low_bits), 0);  // ...so 'e' is not found
  EXPECT_STREQ(current(l.h), "a");
}

TEST(Lists, PasteCopiesAndFreesOnRequest) {
  List dst;
  dst.add({"a", "z"});
  ListHeader* src = nullptr;
  ASSERT_EQ(ListInitialize(&src, "src"), 1);
  EXPECT_EQ(ListPaste(src, dst.h, 1), 1);  // empty: kept whatever the flag (ASan sees a free)
  for (const char* n : {"m", "b"}) ASSERT_EQ(ListAdd(src, n, n, 2), 1);
  EXPECT_EQ(ListPaste(src, dst.h, 0), 1);
  EXPECT_EQ(names(dst.h), "a,z,m,b");
  EXPECT_NE(item_of(dst.h->Current), item_of(src->Anchor->Previous));  // copies, not shared
  EXPECT_EQ(ListPasteSorted(src, dst.h, 1, ListDefaultCompare), 1);
  EXPECT_EQ(names(dst.h), "a,b,m,z,m,b");  // each before the first name after it
  EXPECT_EQ(ListPaste(dst.h, dst.h, 0), 0);
}

TEST(Lists, BadArgumentsAnswerFalse) {
  List l;
  l.add({"a"});
  ListNode* node = nullptr;
  void* item = nullptr;
  uint32_t n = 0;
  char* name = nullptr;
  ListHeader* none = nullptr;
  const ListCompareFunction cmp = ListDefaultCompare;
  const int32_t results[] = {
      ListInitialize(nullptr, "x"), ListFree(nullptr), ListFree(&none),
      ListSetListName(nullptr, "x"), ListGetListName(nullptr, &name),
      ListGetListName(l.h, nullptr), ListGetListLength(nullptr, &n),
      ListGetListLength(l.h, nullptr), ListAdd(nullptr, "x", nullptr, 0),
      ListAddStart(nullptr, "x", nullptr, 0), ListAddEnd(nullptr, "x", nullptr, 0),
      ListAddSorted(nullptr, "x", nullptr, 0, cmp), ListAddSorted(l.h, "x", nullptr, 0, nullptr),
      ListNext(nullptr), ListPrevious(nullptr), ListCircleNext(nullptr),
      ListCirclePrevious(nullptr), ListGetFirstNode(nullptr, &node),
      ListGetFirstNode(l.h, nullptr), ListGetLastNode(l.h, nullptr), ListFind(nullptr, "a", cmp),
      ListFind(l.h, nullptr, cmp), ListFind(l.h, "a", nullptr), ListFindForward(l.h, "a", nullptr),
      ListFindBackward(l.h, nullptr, cmp), ListFindSorted(l.h, "a", nullptr),
      ListGetNode(l.h, "a", nullptr, &node), ListGetNode(l.h, "a", cmp, nullptr),
      ListGetItem(l.h, "b", cmp, &item), ListSetItem(l.h, "b", cmp, "x", 1),
      ListSetItemCurrentNode(nullptr, "x", 1), ListDeleteItem(l.h, "b", cmp),
      ListDeleteItemCurrentNode(nullptr), ListDelete(l.h, "a", nullptr),
      ListDeleteCurrentNode(nullptr), ListPaste(nullptr, l.h, 1), ListPaste(l.h, nullptr, 1),
      ListPasteSorted(l.h, l.h, 0, cmp),
  };
  for (std::size_t i = 0; i < std::size(results); ++i) EXPECT_EQ(results[i], 0) << "case " << i;
  EXPECT_EQ(names(l.h), "a");
  EXPECT_EQ(ListDefaultCompare(nullptr, ""), 0);
  EXPECT_LT(ListDefaultCompare(nullptr, "a"), 0);

  // On an empty list the anchor takes no item, and is what a null key names.
  List e;
  EXPECT_EQ(ListSetItemCurrentNode(e.h, "x", 1), 0);
  EXPECT_EQ(item_of(e.h->Anchor), nullptr);
  EXPECT_EQ(ListGetNode(e.h, nullptr, nullptr, &node), 1);
  EXPECT_EQ(node, e.h->Anchor);

  // A header that was never initialised: every function answers 0 and follows no link.
  ListHeader zero{};
  ListHeader* zp = &zero;
  const int32_t uninitialised[] = {
      ListAdd(&zero, "x", "d", 1), ListAddStart(&zero, "x", nullptr, 0),
      ListAddEnd(&zero, "x", nullptr, 0), ListAddSorted(&zero, "x", nullptr, 0, cmp),
      ListNext(&zero), ListPrevious(&zero), ListCircleNext(&zero), ListCirclePrevious(&zero),
      ListGetFirstNode(&zero, &node), ListFind(&zero, "a", cmp), ListFindSorted(&zero, "a", cmp),
      ListGetNode(&zero, nullptr, nullptr, &node), ListGetItem(&zero, nullptr, nullptr, &item),
      ListSetItemCurrentNode(&zero, "x", 1), ListDeleteCurrentNode(&zero),
      ListDeleteItemCurrentNode(&zero), ListPaste(&zero, l.h, 0), ListPaste(l.h, &zero, 0),
      ListFree(&zp),
  };
  for (std::size_t i = 0; i < std::size(uninitialised); ++i)
    EXPECT_EQ(uninitialised[i], 0) << "uninitialised case " << i;
  EXPECT_EQ(names(l.h), "a");

  ListHeader* twice = nullptr;  // freeing twice through one variable is harmless
  ASSERT_EQ(ListInitialize(&twice, nullptr), 1);
  EXPECT_EQ(ListFree(&twice), 1);
  EXPECT_EQ(twice, nullptr);
  EXPECT_EQ(ListFree(&twice), 0);
}

#if defined(__SANITIZE_ADDRESS__)
#define CORVA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVA_ASAN 1
#endif
#endif

#ifdef CORVA_ASAN
// Using a source list after a paste freed it is undefined; the sanitizer sees it.
TEST(ListsDeathTest, UseAfterPasteFreedIsCaught) {
  List dst;
  ListHeader* src = nullptr;
  ASSERT_EQ(ListInitialize(&src, nullptr), 1);
  ASSERT_EQ(ListAdd(src, "a", nullptr, 0), 1);
  ASSERT_EQ(ListPaste(src, dst.h, 1), 1);
  EXPECT_DEATH(ListFree(&src), "use-after-free");
}
#endif

// ---- The model: a std::list of records and an iterator, end() standing for
// the anchor, following the documented behaviour of each operation.

struct Rec {
  std::optional<std::string> name;
  std::optional<std::string> item;  // item bytes
  uint16_t size = 0;
  bool operator==(const Rec&) const = default;
};

struct Model {
  std::list<Rec> nodes;
  std::list<Rec>::iterator cur = nodes.end();

  using It = std::list<Rec>::iterator;
  It after(It i) { return i == nodes.end() ? nodes.begin() : std::next(i); }
  bool named(It i, const std::string& key) { return i->name && *i->name == key; }

  void add(const Rec& r) { cur = nodes.insert(after(cur), r); }
  void add_sorted(const Rec& r) {
    auto pos = nodes.end();
    if (r.name) {
      pos = std::find_if(nodes.begin(), nodes.end(), [&](const Rec& n) {
        return n.name && std::strcmp(r.name->c_str(), n.name->c_str()) < 0;
      });
    }
    cur = nodes.insert(pos, r);
  }
  bool next() {
    if (nodes.empty() || after(cur) == nodes.end()) return false;
    cur = after(cur);
    return true;
  }
  bool previous() {
    if (nodes.empty() || cur == nodes.begin()) return false;
    cur = std::prev(cur);
    return true;
  }
  void circle_next() {
    if (!nodes.empty()) cur = after(cur) == nodes.end() ? nodes.begin() : after(cur);
  }
  void circle_previous() {
    if (!nodes.empty()) cur = cur == nodes.begin() ? std::prev(nodes.end()) : std::prev(cur);
  }
  bool find_from(It from, const std::string& key, bool forward) {
    if (nodes.empty()) return false;
    if (forward) {
      for (It i = from == nodes.end() ? nodes.begin() : from; i != nodes.end(); ++i)
        if (named(i, key)) return cur = i, true;
    } else {
      for (It i = from == nodes.end() ? std::prev(nodes.end()) : from;; --i) {
        if (named(i, key)) return cur = i, true;
        if (i == nodes.begin()) break;
      }
    }
    return false;
  }
  bool find(const std::string& key) { return find_from(nodes.begin(), key, true); }
  bool find_sorted(const std::string& key) {
    if (nodes.empty()) return false;
    if (cur == nodes.end() || !cur->name) return find(key);
    const auto r = static_cast<int16_t>(std::strcmp(key.c_str(), cur->name->c_str()));
    return r == 0 || find_from(cur, key, r > 0);
  }
  bool set_item(const std::optional<std::string>& data, uint16_t size) {
    if (cur == nodes.end()) return false;
    cur->item = data;
    cur->size = data ? size : 0;
    return true;
  }
  void delete_item() {
    if (cur != nodes.end()) cur->item.reset();
  }
  void delete_current() {
    if (cur == nodes.end()) return;
    const bool was_last = std::next(cur) == nodes.end();
    cur = nodes.erase(cur);
    if (was_last) cur = nodes.empty() ? nodes.end() : std::prev(nodes.end());
  }
};

std::vector<Rec> contents(const ListHeader* l, long& current_index) {
  std::vector<Rec> out;
  current_index = -1;
  const ListNode* a = l->Anchor;
  for (const ListNode* n = a->Next; n != a; n = n->Next) {
    if (n->Next->Previous != n) ADD_FAILURE() << "broken backward link";
    if (n == l->Current) current_index = static_cast<long>(out.size());
    Rec r;
    if (n->Name) r.name = n->Name;
    if (n->Item) r.item = std::string(static_cast<const char*>(n->Item), n->ItemSize);
    r.size = n->ItemSize;
    out.push_back(r);
  }
  return out;
}

TEST(Lists, RandomOperationsFollowTheModel) {
  std::mt19937 rng(20261206);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const char* const kNames[] = {"a", "b", "c", "d", "e", "f", "g", "h"};
  auto random_name = [&]() -> std::optional<std::string> {
    if (pick(10) == 0) return std::nullopt;
    return std::string(kNames[pick(8)]);
  };
  auto random_item = [&](uint16_t& size) -> std::optional<std::string> {
    size = static_cast<uint16_t>(pick(6));
    if (pick(4) == 0) return std::nullopt;
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(pick(256));
    return bytes;
  };
  auto c_str = [](const std::optional<std::string>& s) { return s ? s->c_str() : nullptr; };
  auto data = [](const std::optional<std::string>& s) { return s ? s->data() : nullptr; };

  List real;
  Model model;
  for (int step = 0; step < 100000; ++step) {
    int op = pick(20);
    if (model.nodes.size() > 40 && op < 4) op = 16;
    const std::string key = pick(8) == 0 ? "zz" : kNames[pick(8)];
    int32_t got = 1, want = 1;
    switch (op) {
      case 0: case 1: case 2: case 3: {
        Rec r;
        r.name = random_name();
        r.item = random_item(r.size);
        const char* n = c_str(r.name);
        const char* d = data(r.item);
        if (op == 0) got = ListAdd(real.h, n, d, r.size), model.add(r);
        if (op == 1) got = ListAddStart(real.h, n, d, r.size), model.cur = model.nodes.end(), model.add(r);
        if (op == 2) {
          got = ListAddEnd(real.h, n, d, r.size);
          model.cur = model.nodes.empty() ? model.nodes.end() : std::prev(model.nodes.end());
          model.add(r);
        }
        if (op == 3) got = ListAddSorted(real.h, n, d, r.size, ListDefaultCompare), model.add_sorted(r);
        break;
      }
      case 4: got = ListNext(real.h), want = model.next(); break;
      case 5: got = ListPrevious(real.h), want = model.previous(); break;
      case 6: got = ListCircleNext(real.h), model.circle_next(); break;
      case 7: got = ListCirclePrevious(real.h), model.circle_previous(); break;
      case 8: case 9: {
        ListNode* node = nullptr;
        got = op == 8 ? ListGetFirstNode(real.h, &node) : ListGetLastNode(real.h, &node);
        want = !model.nodes.empty();
        if (want) model.cur = op == 8 ? model.nodes.begin() : std::prev(model.nodes.end());
        if (got && node != real.h->Current) ADD_FAILURE() << "node is not current at " << step;
        break;
      }
      case 10: got = ListFind(real.h, key.c_str(), ListDefaultCompare), want = model.find(key); break;
      case 11:
        got = ListFindForward(real.h, key.c_str(), ListDefaultCompare);
        want = model.find_from(model.cur, key, true);
        break;
      case 12:
        got = ListFindBackward(real.h, key.c_str(), ListDefaultCompare);
        want = model.find_from(model.cur, key, false);
        break;
      case 13: got = ListFindSorted(real.h, key.c_str(), ListDefaultCompare), want = model.find_sorted(key); break;
      case 14: {
        uint16_t size;
        const auto item = random_item(size);
        got = ListSetItemCurrentNode(real.h, data(item), size);
        want = model.set_item(item, size);
        break;
      }
      case 15: got = ListDeleteItemCurrentNode(real.h), model.delete_item(); break;
      case 16: got = ListDeleteCurrentNode(real.h), model.delete_current(); break;
      case 17: {
        const bool by_key = pick(2) == 0;
        got = ListDelete(real.h, by_key ? key.c_str() : nullptr, ListDefaultCompare);
        want = by_key ? model.find(key) : true;
        if (want) model.delete_current();
        break;
      }
      case 18: {
        void* item = reinterpret_cast<void*>(1);
        got = ListGetItem(real.h, key.c_str(), ListDefaultCompare, &item);
        want = model.find(key);
        if (got && (model.cur->item.has_value() != (item != nullptr)))
          ADD_FAILURE() << "item pointer at " << step;
        break;
      }
      case 19: {  // paste a small list in, plainly or sorted, freeing it
        ListHeader* src = nullptr;
        ASSERT_EQ(ListInitialize(&src, "paste"), 1);
        std::vector<Rec> recs(static_cast<std::size_t>(pick(4)));
        for (Rec& r : recs) {
          r.name = random_name();
          r.item = random_item(r.size);
          ASSERT_EQ(ListAdd(src, c_str(r.name), data(r.item), r.size), 1);
        }
        const bool sorted = pick(2) == 0;
        got = sorted ? ListPasteSorted(src, real.h, 1, ListDefaultCompare) : ListPaste(src, real.h, 1);
        for (const Rec& r : recs) sorted ? model.add_sorted(r) : model.add(r);
        if (recs.empty()) ListFree(&src);  // an empty source is not freed by the paste
        break;
      }
    }
    long index = 0;
    const std::vector<Rec> now = contents(real.h, index);
    const long want_index = model.cur == model.nodes.end()
                                ? -1
                                : static_cast<long>(std::distance(model.nodes.begin(), model.cur));
    ASSERT_EQ(got, want) << "result of op " << op << " at step " << step;
    ASSERT_TRUE(std::equal(now.begin(), now.end(), model.nodes.begin(), model.nodes.end()))
        << "contents after op " << op << " at step " << step;
    ASSERT_EQ(index, want_index) << "position after op " << op << " at step " << step;
    ASSERT_EQ(real.h->Count, model.nodes.size());
  }
}

}  // namespace
