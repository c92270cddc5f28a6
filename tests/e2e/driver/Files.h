// The prefix's files: its Windows folders, the fixtures, copying,
// removing, and whole files read and written.
#pragma once
#include <optional>
#include <string>

namespace e2e {

// The Windows folders of the prefix ("C:\\windows", "C:\\windows\\system32").
std::string windowsDir();
std::string systemDir();
// A file built by tools/fixtures, by its path below the folder scripts/test
// passes in QM_FIXTURES ("drv-2559\\adm8830.sys"); throws when there is none.
std::string fixture(const std::string& relative);
void copyFile(const std::string& from, const std::string& to);  // replaces, makes the folder
void removeFile(const std::string& path);                        // missing is fine
// Removes the driver and A3D files the program measures and reads.
void clearDriverFiles();
// Whole files of the prefix, by Windows path; none when unreadable.
std::optional<std::string> readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);  // makes the folder

}  // namespace e2e
