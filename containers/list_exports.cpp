// The exported list functions: argument checks, then the list routines.
#include <cstddef>
#include <cstring>

#include "containers/list.h"
#include "corvalib/containers.h"

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

int32_t ListInitialize(ListHeader** list, const char* name) {
  return list != nullptr && ls::initialize(list, name);
}

int32_t ListFree(ListHeader** list) {
  if (list == nullptr || !usable(*list)) return 0;
  ls::free_list(list);
  return 1;
}

int32_t ListSetListName(ListHeader* list, const char* name) {
  return usable(list) && ls::set_name(list, name);
}

int32_t ListGetListName(ListHeader* list, char** name) {
  if (!usable(list) || name == nullptr) return 0;
  *name = list->Name;
  return 1;
}

int32_t ListGetListLength(ListHeader* list, uint32_t* length) {
  if (!usable(list) || length == nullptr) return 0;
  *length = list->Count;
  return 1;
}

int32_t ListAdd(ListHeader* list, const char* name, const void* data, uint16_t size) {
  return usable(list) && ls::add(list, name, data, size);
}

int32_t ListAddStart(ListHeader* list, const char* name, const void* data, uint16_t size) {
  return usable(list) && ls::add_start(list, name, data, size);
}

int32_t ListAddEnd(ListHeader* list, const char* name, const void* data, uint16_t size) {
  return usable(list) && ls::add_end(list, name, data, size);
}

int32_t ListAddSorted(ListHeader* list, const char* name, const void* data, uint16_t size,
                      ListCompareFunction compare) {
  return usable(list) && compare != nullptr && ls::add_sorted(list, name, data, size, compare);
}

int32_t ListNext(ListHeader* list) { return usable(list) && ls::next(list); }

int32_t ListPrevious(ListHeader* list) { return usable(list) && ls::previous(list); }

int32_t ListCircleNext(ListHeader* list) {
  if (!usable(list)) return 0;
  ls::circle_next(list);
  return 1;
}

int32_t ListCirclePrevious(ListHeader* list) {
  if (!usable(list)) return 0;
  ls::circle_previous(list);
  return 1;
}

int32_t ListGetFirstNode(ListHeader* list, ListNode** node) {
  if (!usable(list) || node == nullptr) return 0;
  *node = ls::first(list);
  return answer(*node != nullptr);
}

int32_t ListGetLastNode(ListHeader* list, ListNode** node) {
  if (!usable(list) || node == nullptr) return 0;
  *node = ls::last(list);
  return answer(*node != nullptr);
}

int32_t ListFind(ListHeader* list, const char* key, ListCompareFunction compare) {
  return usable(list) && key != nullptr && compare != nullptr && ls::find(list, key, compare);
}

int32_t ListFindForward(ListHeader* list, const char* key, ListCompareFunction compare) {
  return usable(list) && key != nullptr && compare != nullptr &&
         ls::find_forward(list, key, compare);
}

int32_t ListFindBackward(ListHeader* list, const char* key, ListCompareFunction compare) {
  return usable(list) && key != nullptr && compare != nullptr &&
         ls::find_backward(list, key, compare);
}

int32_t ListFindSorted(ListHeader* list, const char* key, ListCompareFunction compare) {
  return usable(list) && key != nullptr && compare != nullptr &&
         ls::find_sorted(list, key, compare);
}

int32_t ListGetNode(ListHeader* list, const char* key, ListCompareFunction compare,
                    ListNode** node) {
  if (!usable(list) || node == nullptr || !locate(list, key, compare)) return 0;
  *node = list->Current;
  return 1;
}

int32_t ListGetItem(ListHeader* list, const char* key, ListCompareFunction compare,
                    void** item) {
  if (!usable(list) || item == nullptr || !locate(list, key, compare)) return 0;
  *item = list->Current->Item;
  return 1;
}

int32_t ListSetItem(ListHeader* list, const char* key, ListCompareFunction compare,
                    const void* data, uint16_t size) {
  return usable(list) && locate(list, key, compare) && ls::set_item_current(list, data, size);
}

int32_t ListSetItemCurrentNode(ListHeader* list, const void* data, uint16_t size) {
  return usable(list) && ls::set_item_current(list, data, size);
}

int32_t ListDeleteItem(ListHeader* list, const char* key, ListCompareFunction compare) {
  if (!usable(list) || !locate(list, key, compare)) return 0;
  ls::delete_item_current(list);
  return 1;
}

int32_t ListDeleteItemCurrentNode(ListHeader* list) {
  if (!usable(list)) return 0;
  ls::delete_item_current(list);
  return 1;
}

int32_t ListDelete(ListHeader* list, const char* key, ListCompareFunction compare) {
  if (!usable(list) || !locate(list, key, compare)) return 0;
  ls::delete_current(list);
  return 1;
}

int32_t ListDeleteCurrentNode(ListHeader* list) {
  if (!usable(list)) return 0;
  ls::delete_current(list);
  return 1;
}

int32_t ListPaste(ListHeader* source, ListHeader* destination, int32_t free_source) {
  if (!usable(source) || !usable(destination) || source == destination) return 0;
  return ls::paste(source, destination, free_source != 0, nullptr);
}

int32_t ListPasteSorted(ListHeader* source, ListHeader* destination, int32_t free_source,
                        ListCompareFunction compare) {
  if (!usable(source) || !usable(destination) || source == destination || compare == nullptr)
    return 0;
  return ls::paste(source, destination, free_source != 0, compare);
}

int32_t ListDefaultCompare(const char* first, const char* second) {
  return std::strcmp(first ? first : "", second ? second : "");
}

}  // extern "C"
