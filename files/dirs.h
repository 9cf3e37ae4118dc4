// Drives, current directories, disk space and whole files, over the platform
// layer's DOS names.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace corva::files {

// The current directory of drive (0 current, 1 for A) with its drive letter,
// when it has fewer than room characters; empty when not.
std::string current_directory(std::uint16_t drive, std::size_t room);
// Makes the drive of a leading "X:" current, then the rest the current
// directory; true when the directory change succeeded.
bool set_full_dir(std::string_view path);
// Free bytes of a drive's disk (0 current, 1 for A), at most 0x7FFFFFFF; -1
// when it cannot be asked.
std::int32_t disk_space(std::uint16_t drive);
// 0 when the file was deleted, 1 when not.
std::int16_t delete_file(const std::string& name);
// Copies source to destination through a buffer of the library's allocator.
bool copy_file(const char* destination, const char* source, bool copy_data);

}  // namespace corva::files
