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

// "2026-12-09 143005": a file name's date and time.
std::string dateStamp(const platform::Date& when);

// Saves the copy, named for what comes next and when ("Before restore
// 2026-12-09 143005.reg"; `before`: "restore", "undo", "reset"), and removes
// all but the newest kept ones. Empty when saved; else the question to ask,
// whose Yes goes on without a copy.
std::string saveSafetyCopy(const platform::Services& sys, const char* before);

// Message box style for that question: Yes and No, with the warning icon.
constexpr int kSafetyQuestionStyle = 4 + 48;

// Why a file could not be written or read, as a clause.
std::string fileTrouble(platform::FileStatus status);

}  // namespace backup
