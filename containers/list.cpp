// Circular doubly linked lists closed by an anchor node. Every name, item,
// node and header is a heap block of the library's allocator.
#include "containers/list.h"

#include <cstring>

#include "corvalib/frame.h"

namespace corva::containers::list {
namespace {

template <typename T>
T* allocate(std::uint32_t size) {
  return static_cast<T*>(_RealAllocate(size));
}

// A heap copy of a NUL-terminated name; null for a null name. `failed` is
// set when a name was given and memory ran out.
char* copy_name(const char* name, bool& failed) {
  if (name == nullptr) return nullptr;
  const std::size_t n = std::strlen(name) + 1;
  char* copy = allocate<char>(static_cast<std::uint32_t>(n));
  if (copy == nullptr) {
    failed = true;
    return nullptr;
  }
  std::memcpy(copy, name, n);
  return copy;
}

void* copy_item(const void* data, std::uint16_t size, bool& failed) {
  if (data == nullptr) return nullptr;
  void* copy = _RealAllocate(size);
  if (copy == nullptr) {
    failed = true;
    return nullptr;
  }
  if (size != 0) std::memcpy(copy, data, size);
  return copy;
}

void free_node(ListNode* node) {
  _RealDeAllocate(node->Name);
  _RealDeAllocate(node->Item);
  _RealDeAllocate(node);
}

bool empty(const ListHeader* list) { return list->Count == 0; }

// Visits start and the nodes after (or before) it up to the anchor; the first
// named node that compares equal to the key becomes current.
bool search(ListHeader* list, ListNode* start, const char* key, ListCompareFunction compare,
            bool forward) {
  ListNode* const anchor = list->Anchor;
  if (start == anchor) start = forward ? anchor->Next : anchor->Previous;
  for (ListNode* n = start; n != anchor; n = forward ? n->Next : n->Previous) {
    if (n->Name != nullptr && compare(n->Name, key) == 0) {
      list->Current = n;
      return true;
    }
  }
  return false;
}

}  // namespace

bool initialize(ListHeader** variable, const char* name) {
  *variable = nullptr;
  auto* header = allocate<ListHeader>(sizeof(ListHeader));
  if (header == nullptr) return false;
  bool failed = false;
  header->Name = copy_name(name, failed);
  auto* anchor = failed ? nullptr : allocate<ListNode>(sizeof(ListNode));
  if (anchor == nullptr) {
    _RealDeAllocate(header->Name);
    _RealDeAllocate(header);
    return false;
  }
  anchor->Next = anchor;
  anchor->Previous = anchor;
  header->Anchor = anchor;
  header->Current = anchor;
  header->Count = 0;
  *variable = header;
  return true;
}

void free_list(ListHeader** variable) {
  ListHeader* list = *variable;
  ListNode* const anchor = list->Anchor;
  for (ListNode* n = anchor->Next; n != anchor;) {
    ListNode* following = n->Next;
    free_node(n);
    n = following;
  }
  _RealDeAllocate(anchor);
  _RealDeAllocate(list->Name);
  _RealDeAllocate(list);
  *variable = nullptr;
}

bool set_name(ListHeader* list, const char* name) {
  list->Name = static_cast<char*>(_RealDeAllocate(list->Name));
  bool failed = false;
  list->Name = copy_name(name, failed);
  return !failed;
}

bool add(ListHeader* list, const char* name, const void* data, std::uint16_t size) {
  auto* node = allocate<ListNode>(sizeof(ListNode));
  if (node == nullptr) return false;
  bool failed = false;
  node->Name = copy_name(name, failed);
  if (!failed) node->Item = copy_item(data, size, failed);
  if (failed) {
    free_node(node);
    return false;
  }
  node->ItemSize = size;
  ListNode* const at = list->Current;
  node->Previous = at;
  node->Next = at->Next;
  at->Next->Previous = node;
  at->Next = node;
  list->Current = node;
  ++list->Count;
  return true;
}

bool add_start(ListHeader* list, const char* name, const void* data, std::uint16_t size) {
  list->Current = list->Anchor;
  return add(list, name, data, size);
}

bool add_end(ListHeader* list, const char* name, const void* data, std::uint16_t size) {
  list->Current = list->Anchor->Previous;
  return add(list, name, data, size);
}

bool add_sorted(ListHeader* list, const char* name, const void* data, std::uint16_t size,
                ListCompareFunction compare) {
  if (empty(list)) return add(list, name, data, size);
  ListNode* const anchor = list->Anchor;
  // The new node goes after `at`: after every node that does not sort after it.
  ListNode* at = anchor;
  if (name == nullptr) {
    at = anchor->Previous;
  } else {
    for (ListNode* n = anchor->Next; n != anchor; n = n->Next) {
      if (n->Name != nullptr && compare(name, n->Name) < 0) break;
      at = n;
    }
  }
  list->Current = at;
  return add(list, name, data, size);
}

bool next(ListHeader* list) {
  if (empty(list) || list->Current->Next == list->Anchor) return false;
  list->Current = list->Current->Next;
  return true;
}

bool previous(ListHeader* list) {
  if (empty(list) || list->Current->Previous == list->Anchor) return false;
  list->Current = list->Current->Previous;
  return true;
}

void circle_next(ListHeader* list) {
  list->Current = list->Current->Next;
  if (list->Current == list->Anchor) list->Current = list->Anchor->Next;
}

void circle_previous(ListHeader* list) {
  list->Current = list->Current->Previous;
  if (list->Current == list->Anchor) list->Current = list->Anchor->Previous;
}

ListNode* first(ListHeader* list) {
  if (empty(list)) return nullptr;
  return list->Current = list->Anchor->Next;
}

ListNode* last(ListHeader* list) {
  if (empty(list)) return nullptr;
  return list->Current = list->Anchor->Previous;
}

bool find(ListHeader* list, const char* key, ListCompareFunction compare) {
  return !empty(list) && search(list, list->Anchor->Next, key, compare, true);
}

bool find_forward(ListHeader* list, const char* key, ListCompareFunction compare) {
  return !empty(list) && search(list, list->Current, key, compare, true);
}

bool find_backward(ListHeader* list, const char* key, ListCompareFunction compare) {
  return !empty(list) && search(list, list->Current, key, compare, false);
}

bool find_sorted(ListHeader* list, const char* key, ListCompareFunction compare) {
  if (empty(list)) return false;
  const char* here = list->Current->Name;
  // Without a name to compare with there is no direction: search it all.
  if (here == nullptr) return find(list, key, compare);
  const auto order = static_cast<std::int16_t>(static_cast<std::uint32_t>(compare(key, here)));
  if (order == 0) return true;
  return order < 0 ? find_backward(list, key, compare) : find_forward(list, key, compare);
}

bool set_item_current(ListHeader* list, const void* data, std::uint16_t size) {
  ListNode* node = list->Current;
  if (node == list->Anchor) return false;
  // The copy is made first: when it cannot be, the node keeps its old item.
  bool failed = false;
  void* copy = copy_item(data, size, failed);
  if (failed) return false;
  _RealDeAllocate(node->Item);
  node->Item = copy;
  node->ItemSize = data != nullptr ? size : 0;
  return true;
}

void delete_item_current(ListHeader* list) {
  list->Current->Item = _RealDeAllocate(list->Current->Item);
}

void delete_current(ListHeader* list) {
  ListNode* node = list->Current;
  if (empty(list) || node == list->Anchor) return;
  node->Previous->Next = node->Next;
  node->Next->Previous = node->Previous;
  list->Current = node->Next != list->Anchor ? node->Next : node->Previous;
  free_node(node);
  --list->Count;
}

bool paste(ListHeader* source, ListHeader* destination, bool free_source,
           ListCompareFunction compare) {
  if (empty(source)) return true;
  ListNode* const anchor = source->Anchor;
  for (ListNode* n = anchor->Next; n != anchor; n = n->Next) {
    source->Current = n;
    const bool added = compare ? add_sorted(destination, n->Name, n->Item, n->ItemSize, compare)
                               : add(destination, n->Name, n->Item, n->ItemSize);
    if (!added) return false;
  }
  if (free_source) free_list(&source);
  return true;
}

}  // namespace corva::containers::list
