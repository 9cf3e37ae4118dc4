// The buffered file variable: opens with sharing modes, characters, words
// and lines through the 256-byte buffer, block transfers, positions and
// byte-range locks. The exported functions check their pointers and call
// these; every routine here takes a non-null file variable.
#pragma once
#include <cstdint>

#include "corvalib/files.h"

namespace corva::files {

using File = CvxFileType;

// The result code of an open or create that failed with a system error.
std::int32_t result_from_error(std::uint32_t error);

void multi_lookup(File& f, const char* name, bool shared, bool read_only, bool create);
void create(File& f, const char* name);
void create32(File& f, const char* name);
std::int32_t open_file(const char* name, void* error_record, std::uint32_t mode);

bool check(File& f, std::int32_t direction);
void read_char(File& f, char& ch);
void read_word(File& f, std::uint16_t& w);
void write_char(File& f, char ch);
void write_word(File& f, std::uint16_t w);
void again(File& f);
std::uint16_t read_line(File& f, std::uint16_t high, char* line);
std::uint16_t write_line(File& f, std::uint16_t high, const char* line);
bool fill_buffer(File& f);

bool read_block(File& f, std::uint16_t count, void* data);
bool write_block(File& f, std::uint16_t count, const void* data);
bool read_long_block(File& f, std::int32_t size, void* data);
bool write_long_block(File& f, std::int32_t size, const void* data);

void set_pos(File& f, std::int32_t position);
void get_pos(File& f, std::int32_t& position);
void file_length(File& f, std::int32_t& length);
void file_reset(File& f);
std::uint16_t get_handle(File& f);
void close(File& f);
void flush(File& f);

// Locks (lock true) or unlocks the region; 0 or the run-time error number.
int lock_region(File& f, const CvxLockRegion& region, bool lock);
bool share_is_loaded(File& f);

}  // namespace corva::files
