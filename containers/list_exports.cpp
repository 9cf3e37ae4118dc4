// The exported list functions: argument checks, then the list routines.
#include <cstddef>
#include <cstring>

#include "containers/list.h"
#include "corvalib/containers.h"
#include "frame/boundary.h"

namespace ls = corva::containers::list;

// Callers read nodes and headers directly: the records are byte-packed.
static_assert(sizeof(ListNode) == 4 * sizeof(void*) + 2);
static_assert(offsetof(ListNode, ItemSize) == 3 * sizeof(void*));
static_assert(offsetof(ListNode, Item) == 3 * sizeof(void*) + 2);
static_assert(sizeof(ListHeader) == 3 * sizeof(void*) + 4);

namespace {

// Finds by key when one is given; a null key keeps the current node.
bool locate(ListHeader* list, const char* key, ListCompareFunction compare) {
  if (key == nullptr) return true;
  return compare != nullptr && ls::find(list, key, compare);
}

// A header that was never initialised (zero-filled, say) has no anchor: every
// function answers 0 for it rather than following its null links.
bool usable(const ListHeader* list) {
  return list != nullptr && list->Anchor != nullptr && list->Current != nullptr;
}

int32_t answer(bool b) { return b ? 1 : 0; }

}  // namespace

extern "C" {

int32_t ListInitialize(ListHeader** list, const char* name) try {
  return list != nullptr && ls::initialize(list, name);
} CORVA_BOUNDARY(0)

int32_t ListFree(ListHeader** list) try {
  if (list == nullptr || !usable(*list)) return 0;
  ls::free_list(list);
  return 1;
} CORVA_BOUNDARY(0)

int32_t ListSetListName(ListHeader* list, const char* name) try {
  return usable(list) && ls::set_name(list, name);
} CORVA_BOUNDARY(0)

int32_t ListGetListName(ListHeader* list, char** name) try {
  if (!usable(list) || name == nullptr) return 0;
  *name = list->Name;
  return 1;
} CORVA_BOUNDARY(0)

int32_t ListGetListLength(ListHeader* list, uint32_t* length) try {
  if (!usable(list) || length == nullptr) return 0;
  *length = list->Count;
  return 1;
} CORVA_BOUNDARY(0)

int32_t ListAdd(ListHeader* list, const char* name, const void* data, uint16_t size) try {
  return usable(list) && ls::add(list, name, data, size);
} CORVA_BOUNDARY(0)

int32_t ListAddStart(ListHeader* list, const char* name, const void* data, uint16_t size) try {
  return usable(list) && ls::add_start(list, name, data, size);
} CORVA_BOUNDARY(0)

int32_t ListAddEnd(ListHeader* list, const char* name, const void* data, uint16_t size) try {
  return usable(list) && ls::add_end(list, name, data, size);
} CORVA_BOUNDARY(0)

int32_t ListAddSorted(ListHeader* list, const char* name, const void* data, uint16_t size,
                      ListCompareFunction compare) try {
  return usable(list) && compare != nullptr && ls::add_sorted(list, name, data, size, compare);
} CORVA_BOUNDARY(0)

int32_t ListNext(ListHeader* list) try { return usable(list) && ls::next(list); } CORVA_BOUNDARY(0)

int32_t ListPrevious(ListHeader* list) try {
  return usable(list) && ls::previous(list);
} CORVA_BOUNDARY(0)

int32_t ListCircleNext(ListHeader* list) try {
  if (!usable(list)) return 0;
  ls::circle_next(list);
  return 1;
} CORVA_BOUNDARY(0)

int32_t ListCirclePrevious(ListHeader* list) try {
  if (!usable(list)) return 0;
  ls::circle_previous(list);
  return 1;
} CORVA_BOUNDARY(0)

int32_t ListGetFirstNode(ListHeader* list, ListNode** node) try {
  if (!usable(list) || node == nullptr) return 0;
  *node = ls::first(list);
  return answer(*node != nullptr);
} CORVA_BOUNDARY(0)

int32_t ListGetLastNode(ListHeader* list, ListNode** node) try {
  if (!usable(list) || node == nullptr) return 0;
  *node = ls::last(list);
  return answer(*node != nullptr);
} CORVA_BOUNDARY(0)

int32_t ListFind(ListHeader* list, const char* key, ListCompareFunction compare) try {
  return usable(list) && key != nullptr && compare != nullptr && ls::find(list, key, compare);
} CORVA_BOUNDARY(0)

int32_t ListFindForward(ListHeader* list, const char* key, ListCompareFunction compare) try {
  return usable(list) && key != nullptr && compare != nullptr &&
         ls::find_forward(list, key, compare);
} CORVA_BOUNDARY(0)

int32_t ListFindBackward(ListHeader* list, const char* key, ListCompareFunction compare) try {
  return usable(list) && key != nullptr && compare != nullptr &&
         ls::find_backward(list, key, compare);
} CORVA_BOUNDARY(0)

int32_t ListFindSorted(ListHeader* list, const char* key, ListCompareFunction compare) try {
  return usable(list) && key != nullptr && compare != nullptr &&
         ls::find_sorted(list, key, compare);
} CORVA_BOUNDARY(0)

int32_t ListGetNode(ListHeader* list, const char* key, ListCompareFunction compare,
                    ListNode** node) try {
  if (!usable(list) || node == nullptr || !locate(list, key, compare)) return 0;
  *node = list->Current;
  return 1;
} CORVA_BOUNDARY(0)

int32_t ListGetItem(ListHeader* list, const char* key, ListCompareFunction compare,
                    void** item) try {
  if (!usable(list) || item == nullptr || !locate(list, key, compare)) return 0;
  *item = list->Current->Item;
  return 1;
} CORVA_BOUNDARY(0)

int32_t ListSetItem(ListHeader* list, const char* key, ListCompareFunction compare,
                    const void* data, uint16_t size) try {
  return usable(list) && locate(list, key, compare) && ls::set_item_current(list, data, size);
} CORVA_BOUNDARY(0)

int32_t ListSetItemCurrentNode(ListHeader* list, const void* data, uint16_t size) try {
  return usable(list) && ls::set_item_current(list, data, size);
} CORVA_BOUNDARY(0)

int32_t ListDeleteItem(ListHeader* list, const char* key, ListCompareFunction compare) try {
  if (!usable(list) || !locate(list, key, compare)) return 0;
  ls::delete_item_current(list);
  return 1;
} CORVA_BOUNDARY(0)

int32_t ListDeleteItemCurrentNode(ListHeader* list) try {
  if (!usable(list)) return 0;
  ls::delete_item_current(list);
  return 1;
} CORVA_BOUNDARY(0)

int32_t ListDelete(ListHeader* list, const char* key, ListCompareFunction compare) try {
  if (!usable(list) || !locate(list, key, compare)) return 0;
  ls::delete_current(list);
  return 1;
} CORVA_BOUNDARY(0)

int32_t ListDeleteCurrentNode(ListHeader* list) try {
  if (!usable(list)) return 0;
  ls::delete_current(list);
  return 1;
} CORVA_BOUNDARY(0)

int32_t ListPaste(ListHeader* source, ListHeader* destination, int32_t free_source) try {
  if (!usable(source) || !usable(destination) || source == destination) return 0;
  return ls::paste(source, destination, free_source != 0, nullptr);
} CORVA_BOUNDARY(0)

int32_t ListPasteSorted(ListHeader* source, ListHeader* destination, int32_t free_source,
                        ListCompareFunction compare) try {
  if (!usable(source) || !usable(destination) || source == destination || compare == nullptr)
    return 0;
  return ls::paste(source, destination, free_source != 0, compare);
} CORVA_BOUNDARY(0)

int32_t ListDefaultCompare(const char* first, const char* second) try {
  return std::strcmp(first ? first : "", second ? second : "");
} CORVA_BOUNDARY(0)

}  // extern "C"
