/** @defgroup containers Containers
 * Named memory blocks and linked lists.
 * @{ */
#ifndef CORVALIB_CONTAINERS_H
#define CORVALIB_CONTAINERS_H

#include "base.h"

CORVA_BEGIN_DECLS

/** @defgroup containers_named_memory_blocks Named memory blocks
 * One process-wide table of up to 20 global-memory blocks, each named by a
 * 32-bit identifier of the caller's choosing. Misuse is a program fault: the
 * library shows the fault's message and message 20300, then ends the process
 * with "Problem detected in MemStore".
 * @{ */

/** Adds a zero-filled block of size bytes under identifier. 1 when allocated;
 * 0 when memory ran out (message 20301), the entry then staying in the table
 * without a block. Ends the process when the identifier is already present
 * (message 20401) or the table holds 20 blocks (message 20301). */
CORVA_API uint8_t CreateMem(uint32_t identifier, uint32_t size);
/** Frees the block and closes the gap in the table. Ends the process when the
 * identifier is not present (message 20400). */
CORVA_API void DeleteMem(uint32_t identifier);
/** Locks the block and returns its address; null when the identifier is not
 * present or its allocation failed. Shows nothing. */
CORVA_API void *LockMem(uint32_t identifier);
/** Drops one lock: non-zero while the block stays locked; 0 when it is now
 * unlocked, was not locked, or the identifier is not present. */
CORVA_API int32_t UnLockMem(uint32_t identifier);

/** @} */

/** @defgroup containers_linked_lists Linked lists
 * A named, circular, doubly linked list of named nodes, each with an optional
 * copy of a caller's data block (its item), and a current position that
 * almost every operation uses or moves. An anchor node with no name and no
 * item closes the circle; it is current while the list is empty and is never
 * counted. The list owns copies of every name and item given to it, all from
 * the library's heap blocks.
 *
 * Results are 1 (TRUE) or 0 (FALSE). A null list, a null out-pointer or a null
 * comparison function where one is used gives 0 and changes nothing.
 * Operations that take a key find it first (ListFind) and give 0 when it is
 * absent; a null key means the current node. Nodes without a name are passed
 * over by every search and sorted insertion. A list freed by ListFree, or by
 * ListPaste with the free flag, must not be used again through any copy of
 * its pointer: that is undefined (ListFree's own variable is set to null, and
 * a second ListFree through it gives 0).
 * @{ */

/* The records are byte-packed, so ItemSize and Item may lie unaligned: read
 * them by value (C++ callers: do not bind references to them). */
#pragma pack(push, 1)

/** A node of a list, byte-packed: ItemSize and Item may lie unaligned, so
 * read them by value (C++ callers: do not bind references to them). */
typedef struct ListNode {
  char *Name;                /**< the node's copy of its name, or null */
  struct ListNode *Next;     /**< the anchor after the last node */
  struct ListNode *Previous; /**< the anchor before the first node */
  uint16_t ItemSize;         /**< size of the item the caller passed */
  void *Item;                /**< the node's copy of the caller's data, or null */
} ListNode;

/** A list: its name, the anchor that closes the circle, the current node. */
typedef struct ListHeader {
  char *Name;       /**< the list's copy of its name, or null */
  ListNode *Anchor; /**< closes the circle; never a first or last node */
  ListNode *Current; /**< the node most operations use; the anchor when empty */
  uint32_t Count;   /**< nodes, not counting the anchor */
} ListHeader;

#pragma pack(pop)

/** Compares two names like strcmp: negative, zero or positive. */
typedef int32_t (*ListCompareFunction)(const char *first, const char *second);

/** Creates an empty list (name may be null) and stores it in *list; 0 and a
 * null *list when memory runs out. */
CORVA_API int32_t ListInitialize(ListHeader **list, const char *name);
/** Frees every node, the anchor, the name and the header; *list becomes null.
 * 0 when *list is already null. */
CORVA_API int32_t ListFree(ListHeader **list);
/** Replaces the list's name with a copy (null: no name); 0 when the copy
 * cannot be allocated, the list then having no name. */
CORVA_API int32_t ListSetListName(ListHeader *list, const char *name);
/** Stores the list's own name pointer (not a copy). */
CORVA_API int32_t ListGetListName(ListHeader *list, char **name);
/** Stores the number of nodes (the anchor not counted). */
CORVA_API int32_t ListGetListLength(ListHeader *list, uint32_t *length);
/** Inserts a node after the current node and makes it current. The item is
 * copied when data is not null; size is stored either way. Consecutive calls
 * append in order. 0, and the list unchanged, when memory runs out. */
CORVA_API int32_t ListAdd(ListHeader *list, const char *name, const void *data, uint16_t size);
/** ListAdd, placing the new node first; it becomes current. */
CORVA_API int32_t ListAddStart(ListHeader *list, const char *name, const void *data,
                               uint16_t size);
/** ListAdd, placing the new node last; it becomes current. */
CORVA_API int32_t ListAddEnd(ListHeader *list, const char *name, const void *data,
                             uint16_t size);
/** Inserts before the first named node for which compare(name, its name) is
 * negative, so after every node that compares equal (stable). A null name
 * goes to the end. */
CORVA_API int32_t ListAddSorted(ListHeader *list, const char *name, const void *data,
                                uint16_t size, ListCompareFunction compare);
/** Makes the next node current; 0 and no move on an empty list or at the
 * last node. */
CORVA_API int32_t ListNext(ListHeader *list);
/** Makes the previous node current; 0 and no move on an empty list or at the
 * first node. */
CORVA_API int32_t ListPrevious(ListHeader *list);
/** Moves on stepping over the anchor (the last node is followed by the
 * first); 1, and the anchor stays current on an empty list. */
CORVA_API int32_t ListCircleNext(ListHeader *list);
/** Moves back stepping over the anchor (the first node is preceded by the
 * last); 1, and the anchor stays current on an empty list. */
CORVA_API int32_t ListCirclePrevious(ListHeader *list);
/** Makes the first node current and stores it; null and 0 when empty. */
CORVA_API int32_t ListGetFirstNode(ListHeader *list, ListNode **node);
/** Makes the last node current and stores it; null and 0 when empty. */
CORVA_API int32_t ListGetLastNode(ListHeader *list, ListNode **node);
/** Finds the node for which compare(node name, key) is 0, searching from the
 * first node forwards, and makes it current. When nothing is found the
 * current node stays as it was and the result is 0. A null key finds
 * nothing. */
CORVA_API int32_t ListFind(ListHeader *list, const char *key, ListCompareFunction compare);
/** ListFind, searching from the current node forwards. */
CORVA_API int32_t ListFindForward(ListHeader *list, const char *key, ListCompareFunction compare);
/** ListFind, searching from the current node backwards. */
CORVA_API int32_t ListFindBackward(ListHeader *list, const char *key,
                                   ListCompareFunction compare);
/** For sorted lists: compare(key, current name), its low 16 bits taken as a
 * signed number, says whether to stop (0), search backward (negative) or
 * forward (positive). A current node without a name searches the whole list. */
CORVA_API int32_t ListFindSorted(ListHeader *list, const char *key, ListCompareFunction compare);
/** Finds by key (null: the current node) and stores the current node. On an
 * empty list with a null key that is the anchor. */
CORVA_API int32_t ListGetNode(ListHeader *list, const char *key, ListCompareFunction compare,
                              ListNode **node);
/** Finds by key and stores the current node's own item pointer (maybe null). */
CORVA_API int32_t ListGetItem(ListHeader *list, const char *key, ListCompareFunction compare,
                              void **item);
/** Finds by key, then ListSetItemCurrentNode. */
CORVA_API int32_t ListSetItem(ListHeader *list, const char *key, ListCompareFunction compare,
                              const void *data, uint16_t size);
/** Replaces the current node's item with a copy of size bytes of data and the
 * size, or, for null data, frees it (ItemSize becomes 0). 0 when the copy
 * cannot be allocated, the node keeping its old item, and 0 without a change
 * on an empty list (the anchor holds no item). */
CORVA_API int32_t ListSetItemCurrentNode(ListHeader *list, const void *data, uint16_t size);
/** Finds by key, then ListDeleteItemCurrentNode. */
CORVA_API int32_t ListDeleteItem(ListHeader *list, const char *key, ListCompareFunction compare);
/** Frees the current node's item; ItemSize keeps its value. */
CORVA_API int32_t ListDeleteItemCurrentNode(ListHeader *list);
/** Finds by key, then ListDeleteCurrentNode. */
CORVA_API int32_t ListDelete(ListHeader *list, const char *key, ListCompareFunction compare);
/** Removes the current node; the following node becomes current, or the
 * preceding one when it was the last. Nothing on an empty list (still 1). */
CORVA_API int32_t ListDeleteCurrentNode(ListHeader *list);
/** Copies every node of source, in order, after the destination's current
 * node (which moves on with each); then, when free_source is set, frees the
 * source (the caller's variable is not cleared and must not be used again).
 * An empty source gives 1 and is not freed. When an add fails: 0 at once, the
 * copies so far kept, the source kept. The same list as source and
 * destination gives 0. */
CORVA_API int32_t ListPaste(ListHeader *source, ListHeader *destination, int32_t free_source);
/** ListPaste, each copy going to its sorted place (as ListAddSorted puts it). */
CORVA_API int32_t ListPasteSorted(ListHeader *source, ListHeader *destination,
                                  int32_t free_source, ListCompareFunction compare);

/** strcmp(first, second); a null name compares as the empty text. */
CORVA_API int32_t ListDefaultCompare(const char *first, const char *second);

/** @} */

/** @} */

CORVA_END_DECLS

#endif
