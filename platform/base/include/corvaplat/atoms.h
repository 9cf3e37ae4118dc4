// The global atom table: reference-counted names, compared without regard to case.
#pragma once
#include <corvaplat/api.h>

#include <string>

namespace corva::platform {

// Adds a reference to the name, creating the atom (0xC000 and up) when new.
// Returns 0 for a null or empty name or one longer than 255 characters.
CORVAPLAT_API Atom GlobalAddAtomA(const char* name);
// Drops one reference; the atom goes away with its last one. Returns 0 on
// success and the atom itself when it does not exist (as Windows does).
CORVAPLAT_API Atom GlobalDeleteAtom(Atom atom);
CORVAPLAT_API Atom GlobalFindAtomA(const char* name);
// The atom's name, empty when the atom does not exist.
CORVAPLAT_API std::string atom_name(Atom atom);

}  // namespace corva::platform
