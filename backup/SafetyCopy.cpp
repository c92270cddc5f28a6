#include "backup/SafetyCopy.h"

#include <algorithm>
#include <vector>

#include "backup/Backup.h"
#include "settings/Catalogue.h"

namespace backup {

namespace {

std::string digits(int n, std::size_t width) {
    std::string s = std::to_string(n < 0 ? 0 : n);
    return s.size() < width ? std::string(width - s.size(), '0') + s : s;
}

const char* const kPrefix = "Before ";
const char* const kSuffix = ".reg";
// "2026-12-09 143005" before the suffix.
constexpr std::size_t kStampLength = 17;

// The time a copy's name gives, in an order that sorts as time does; empty
// for a file that is no copy of ours.
std::string stampOf(const std::string& name) {
    const std::size_t prefix = std::char_traits<char>::length(kPrefix), suffix = 4;
    if (name.size() < prefix + kStampLength + 1 + suffix || name.compare(0, prefix, kPrefix) != 0 ||
        !settings::detail::iequal(name.c_str() + name.size() - suffix, kSuffix))
        return std::string();
    const std::string stamp = name.substr(name.size() - suffix - kStampLength, kStampLength);
    for (std::size_t i = 0; i < kStampLength; ++i) {
        const bool digit = stamp[i] >= '0' && stamp[i] <= '9';
        if (digit != (i != 4 && i != 7 && i != 10)) return std::string();
    }
    return stamp;
}

}  // namespace

std::optional<std::string> safetyFolder(platform::UserFolders& folders) {
    const std::optional<std::string> appData = folders.applicationData();
    if (!appData || appData->empty()) return std::nullopt;
    return *appData + "\\Quillmere";
}

std::string safetyCopyName(const char* before, const platform::Date& t) {
    return std::string(kPrefix) + before + " " + digits(t.year, 4) + "-" + digits(t.month, 2) + "-" + digits(t.day, 2) +
           " " + digits(t.hour, 2) + digits(t.minute, 2) + digits(t.second, 2) + kSuffix;
}

std::string fileTrouble(platform::FileStatus st) {
    switch (st) {
        case platform::FileStatus::NotFound: return "the file or its folder does not exist";
        case platform::FileStatus::AccessDenied: return "access to it was denied";
        case platform::FileStatus::DiskFull: return "the disk is full";
        default: return "the system reported an error";
    }
}

SafetyCopy saveSafetyCopy(const platform::Services& sys, const char* before) {
    SafetyCopy copy;
    const std::optional<std::string> folder = safetyFolder(*sys.folders);
    if (!folder) {
        copy.why = "Windows names no Application Data folder for your account";
        return copy;
    }
    copy.path = *folder + "\\" + safetyCopyName(before, sys.clock->now());
    platform::FileStatus st = sys.documents->makeFolder(*folder);
    if (st == platform::FileStatus::Ok) st = sys.documents->replaceWhole(copy.path, makeBackup(*sys.registry).text);
    if (st != platform::FileStatus::Ok) {
        copy.why = fileTrouble(st);
        return copy;
    }
    copy.saved = true;

    // Newest first; only files named as the copies are, never the user's own.
    std::vector<std::pair<std::string, std::string>> copies;
    for (const std::string& name : sys.documents->filesIn(*folder, std::string(kPrefix) + "*" + kSuffix)) {
        std::string stamp = stampOf(name);
        if (!stamp.empty()) copies.emplace_back(std::move(stamp), name);
    }
    std::sort(copies.begin(), copies.end(), [](const auto& a, const auto& b) { return a > b; });
    for (std::size_t i = kSafetyCopiesKept; i < copies.size(); ++i) sys.documents->remove(*folder + "\\" + copies[i].second);
    return copy;
}

std::string safetyCopyQuestion(const SafetyCopy& copy, const char* what) {
    return "Quillmere could not save a copy of your settings as they are now" +
           (copy.path.empty() ? std::string() : " to " + copy.path) + ": " + copy.why + ".  Without it, " + what +
           " cannot be taken back once Quillmere has closed.  Go on without a copy?";
}

}  // namespace backup
