// The circular lists with a current position. The routines take a non-null
// header; the exported functions check their arguments first.
#pragma once
#include <cstdint>

#include "corvalib/containers.h"

namespace corva::containers::list {

bool initialize(ListHeader** variable, const char* name);
void free_list(ListHeader** variable);
bool set_name(ListHeader* list, const char* name);

// Inserts after the current node and makes the new node current.
bool add(ListHeader* list, const char* name, const void* data, std::uint16_t size);
bool add_start(ListHeader* list, const char* name, const void* data, std::uint16_t size);
bool add_end(ListHeader* list, const char* name, const void* data, std::uint16_t size);
bool add_sorted(ListHeader* list, const char* name, const void* data, std::uint16_t size,
                ListCompareFunction compare);

bool next(ListHeader* list);
bool previous(ListHeader* list);
void circle_next(ListHeader* list);
void circle_previous(ListHeader* list);
// The first / last node made current, or null on an empty list.
ListNode* first(ListHeader* list);
ListNode* last(ListHeader* list);

// Searches (key not null): the found node becomes current; otherwise nothing moves.
bool find(ListHeader* list, const char* key, ListCompareFunction compare);
bool find_forward(ListHeader* list, const char* key, ListCompareFunction compare);
bool find_backward(ListHeader* list, const char* key, ListCompareFunction compare);
bool find_sorted(ListHeader* list, const char* key, ListCompareFunction compare);

bool set_item_current(ListHeader* list, const void* data, std::uint16_t size);
void delete_item_current(ListHeader* list);
void delete_current(ListHeader* list);

// Copies source's nodes into destination, plainly (compare null) or sorted;
// frees the source afterwards when asked. Source and destination differ.
bool paste(ListHeader* source, ListHeader* destination, bool free_source,
           ListCompareFunction compare);

}  // namespace corva::containers::list
