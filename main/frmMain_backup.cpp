// The system menu's commands: back up the settings to a registry file,
// restore them from one, and undo every change since the program started.
#include <string>

#include "backup/SafetyCopy.h"
#include "main/frmMain.h"

namespace {

const char* const kBackUp = "Back Up Settings";
const char* const kRestore = "Restore Settings";
const char* const kUndo = "Undo Changes";

platform::FileDialogRequest fileRequest(const char* title, std::string defaultName = std::string()) {
    return {title, "Registration Files (*.reg)", "*.reg", std::move(defaultName), "reg", std::string()};
}

std::string count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string refusal(backup::RestorePlan::Refusal r, const std::string& path) {
    using R = backup::RestorePlan::Refusal;
    switch (r) {
        case R::TooLarge: return path + " is larger than 1 MB.";
        case R::Empty: return path + " is empty.";
        case R::NotRegistryFile: return path + " is not a registry file.";
        case R::CutOff: return path + " ends in the middle of a value; it may have been cut off.";
        case R::NothingToRestore: return path + " holds none of the settings Quillmere writes.";
        case R::None: break;
    }
    return std::string();
}

// Style 48: OK with the warning icon.
constexpr int kWarning = 48;

const char* const kWillNotBeSaved =
    "  Your account is not allowed to change the sound driver's settings, so they will not be saved.";

}  // namespace

void frmMain::mnuBackUp_Click() {
    const std::string name = "Quillmere settings " + backup::dateStamp(sys_.clock->now()).substr(0, 10) + ".reg";
    const auto path = sys_.fileDialogs->askSavePath(fileRequest(kBackUp, name));
    if (!path) return;
    chosenFolder_ = folderOf(*path);
    const backup::Backup b = backup::makeBackup(store_);
    const platform::FileStatus st = sys_.documents->replaceWhole(*path, b.text);
    if (st != platform::FileStatus::Ok) {
        msgBox("The settings could not be backed up to " + *path + ": " + backup::fileTrouble(st) +
                   ".  No file was written.",
               kBackUp, ui::MB_CRITICAL_);
        return;
    }
    msgBox(count(b.values, "setting was", "settings were") + " backed up to " + *path + ".", kBackUp,
           ui::MB_INFORMATION_);
}

void frmMain::mnuRestore_Click() {
    platform::FileDialogRequest request = fileRequest(kRestore);
    // The safety copies' folder, until the user has chosen one of their own.
    if (!chosenFolder_.empty()) request.initialFolder = chosenFolder_;
    else if (auto folder = backup::safetyFolder(*sys_.folders)) request.initialFolder = *folder;
    const auto path = sys_.fileDialogs->askOpenPath(request);
    if (!path) return;
    chosenFolder_ = folderOf(*path);
    std::string bytes;
    // One byte past the limit tells a file that is too large.
    const platform::FileStatus st = sys_.documents->readStart(*path, backup::kMaxFileBytes + 1, bytes);
    if (st != platform::FileStatus::Ok) {
        msgBox(*path + " could not be read: " + backup::fileTrouble(st) + ".  Nothing was restored.", kRestore,
               ui::MB_CRITICAL_);
        return;
    }
    const backup::RestorePlan plan = backup::planRestore(bytes);
    if (plan.refusal != backup::RestorePlan::Refusal::None) {
        msgBox(refusal(plan.refusal, *path) + "  Nothing was restored.", kRestore, ui::MB_CRITICAL_);
        return;
    }
    const std::string question = count(plan.values.size(), "setting", "settings") + " will be restored from " +
                                 *path + "; " + count(plan.skipped, "entry", "entries") +
                                 " of the file will be skipped.";
    if (askBeforeWriting(question, "Restore them now?", kRestore) != ui::ID_YES) return;
    if (!safetyCopyTaken("restore", kRestore)) return;
    finishWriting(backup::applyRestore(plan, store_), kRestore, "restored");
}

void frmMain::mnuUndo_Click() {
    if (!startValues_.changedSince(store_)) {
        msgBox("No setting has changed since Quillmere started.", kUndo, ui::MB_INFORMATION_);
        return;
    }
    if (askBeforeWriting("The settings will go back to what they were when Quillmere started.", "Undo the changes?",
                         kUndo) != ui::ID_YES)
        return;
    if (!safetyCopyTaken("undo", kUndo)) return;
    finishWriting(startValues_.putBack(store_), kUndo, "put back");
}

// A limited account is told before it answers that nothing will be saved.
int frmMain::askBeforeWriting(const std::string& what, const std::string& question, const std::string& title) {
    return msgBox(what + (readOnly() ? kWillNotBeSaved : "") + "  " + question, title, ui::MB_YESNO_);
}

bool frmMain::safetyCopyTaken(const char* before, const char* title) {
    const std::string trouble = backup::saveSafetyCopy(sys_, before);
    return trouble.empty() || msgBox(trouble, title, backup::kSafetyQuestionStyle) == ui::ID_YES;
}

// The window shows what is stored now, writing nothing; then what could not
// be written is told.
void frmMain::finishWriting(const backup::Outcome& done, const char* title, const char* verb) {
    reloadSettings();
    if (done.keyMissing)
        msgBox(count(done.keyMissing, "setting", "settings") + " could not be " + verb +
                   ": their keys are missing, for example because the driver is not installed.",
               title, kWarning);
    // Values the registry refused: the read-only notice says why.
    toldReadOnly_ = false;
    tellIfReadOnly();
}
