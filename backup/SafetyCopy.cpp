#include "backup/SafetyCopy.h"

#include <vector>

#include "backup/Backup.h"
#include "settings/Catalogue.h"

namespace backup {

namespace {

const char* const kPrefix = "Before ";
// "2026-12-09 143005", before ".reg".
constexpr std::size_t kStampLength = 17, kSuffixLength = 4;

// Where a copy's name gives its time, in an order that sorts as time does;
// null for a file that is no copy of ours.
const char* stampOf(const std::string& name) {
    const std::size_t prefix = std::char_traits<char>::length(kPrefix);
    if (name.size() < prefix + kStampLength + 1 + kSuffixLength || name.compare(0, prefix, kPrefix) != 0 ||
        !settings::detail::iequal(name.c_str() + name.size() - kSuffixLength, ".reg"))
        return nullptr;
    const char* stamp = name.c_str() + name.size() - kSuffixLength - kStampLength;
    for (std::size_t i = 0; i < kStampLength; ++i) {
        const bool digit = stamp[i] >= '0' && stamp[i] <= '9';
        if (digit != (i != 4 && i != 7 && i != 10)) return nullptr;
    }
    return stamp;
}

}  // namespace

std::optional<std::string> safetyFolder(platform::UserFolders& folders) {
    const std::optional<std::string> appData = folders.applicationData();
    if (!appData || appData->empty()) return std::nullopt;
    return *appData + "\\Quillmere";
}

std::string dateStamp(const platform::Date& t) {
    char stamp[] = "0000-00-00 000000";
    const int parts[] = {t.year, t.month, t.day, t.hour, t.minute, t.second};
    static const unsigned char lastDigit[] = {3, 6, 9, 12, 14, 16};
    for (int i = 0; i < 6; ++i) {
        int n = parts[i];
        for (int at = lastDigit[i], width = i ? 2 : 4; width--; --at, n /= 10) stamp[at] = static_cast<char>('0' + n % 10);
    }
    return stamp;
}

std::string fileTrouble(platform::FileStatus st) {
    switch (st) {
        case platform::FileStatus::NotFound: return "the file or its folder does not exist";
        case platform::FileStatus::AccessDenied: return "access to it was denied";
        case platform::FileStatus::DiskFull: return "the disk is full";
        default: return "the system reported an error";
    }
}

std::string saveSafetyCopy(const platform::Services& sys, const char* before) {
    const std::optional<std::string> folder = safetyFolder(*sys.folders);
    std::string path, why = "no Application Data folder was found";
    if (folder) {
        path = *folder;
        path.append("\\").append(kPrefix).append(before).append(" ").append(dateStamp(sys.clock->now())).append(".reg");
        platform::FileStatus st = sys.documents->makeFolder(*folder);
        settings::Store store(*sys.reg);
        if (st == platform::FileStatus::Ok) st = sys.documents->replaceWhole(path, makeBackup(store).text);
        why = st == platform::FileStatus::Ok ? std::string() : fileTrouble(st);
    }
    if (!why.empty()) {
        std::string q = "No copy of the settings as they are could be saved";
        if (folder) q.append(" to ").append(path);
        return q.append(": ").append(why).append(".  Without it, the ").append(before).append(
            " cannot be undone later.  Go on without a copy?");
    }

    // The oldest of ours goes while there are too many; the user's own
    // files in the folder are never touched.
    std::vector<std::string> names = sys.documents->filesIn(*folder, "Before *.reg");
    for (;;) {
        std::size_t ours = 0, oldest = 0;
        const char* oldestStamp = nullptr;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const char* stamp = stampOf(names[i]);
            if (!stamp) continue;
            ++ours;
            if (!oldestStamp || std::char_traits<char>::compare(stamp, oldestStamp, kStampLength) < 0) {
                oldestStamp = stamp;
                oldest = i;
            }
        }
        if (ours <= kSafetyCopiesKept) break;
        sys.documents->remove(*folder + "\\" + names[oldest]);
        names[oldest].clear();
    }
    return std::string();
}

}  // namespace backup
