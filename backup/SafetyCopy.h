// The copy of every written value, as stored at that moment, that the
// program saves before a restore, an undo or a reset writes anything: in
// "<Application Data>\Quillmere", the newest 20 kept.
#pragma once
#include <cstddef>
#include <optional>
#include <string>

#include "platform/Registry.h"
#include "platform/Services.h"

namespace backup {

constexpr std::size_t kSafetyCopiesKept = 20;

// The folder the copies go to; nothing when the shell knows no Application
// Data folder for this account.
std::optional<std::string> safetyFolder(platform::UserFolders& folders);

// "Before restore 2026-12-09 143005.reg": what came next and when.
std::string safetyCopyName(const char* before, const platform::Date& when);

struct SafetyCopy {
    bool saved = false;
    std::string path;  // the file written
    std::string why;   // when not saved: why, as a clause
};

// Saves the copy and removes all but the newest kept ones. `before` names
// what comes next: "restore", "undo", "reset".
SafetyCopy saveSafetyCopy(const platform::Services& sys, const char* before);

// The question when the copy could not be saved (Yes goes on without it).
std::string safetyCopyQuestion(const SafetyCopy& copy, const char* what);

// Message box style for that question: Yes and No, with the warning icon.
constexpr int kSafetyQuestionStyle = 4 + 48;

// Why a file could not be written or read, as a clause.
std::string fileTrouble(platform::FileStatus status);

}  // namespace backup
