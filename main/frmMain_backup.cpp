// The system menu's commands: back up the settings to a registry file,
// restore them from one, and undo every change since the program started.
#include <string>

#include "main/frmMain.h"

namespace {

const char* const kBackUp = "Back Up Settings";
const char* const kRestore = "Restore Settings";
const char* const kUndo = "Undo Changes";

platform::FileDialogRequest fileRequest(const char* title, std::string defaultName = std::string()) {
    return {title, "Registration Files (*.reg)", "*.reg", std::move(defaultName), "reg"};
}

std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string why(platform::FileStatus st) {
    switch (st) {
        case platform::FileStatus::NotFound: return "the file or its folder does not exist";
        case platform::FileStatus::AccessDenied: return "access to it was denied";
        case platform::FileStatus::DiskFull: return "the disk is full";
        default: return "the system reported an error";
    }
}

std::string refusal(backup::RestorePlan::Refusal r, const std::string& path) {
    using R = backup::RestorePlan::Refusal;
    switch (r) {
        case R::TooLarge: return path + " is larger than 1 MB, far more than a backup of these settings.";
        case R::Empty: return path + " is empty.";
        case R::NotRegistryFile: return path + " is not a registry file.";
        case R::CutOff: return path + " ends in the middle of a value; it may have been cut off.";
        case R::NothingToRestore: return path + " holds none of the settings Quillmere writes.";
        case R::None: break;
    }
    return std::string();
}

const char* const kWillNotBeSaved =
    "  Your account is not allowed to change the sound driver's settings, so they will not be saved.";

}  // namespace

void frmMain::mnuBackUp_Click() {
    const platform::Date d = sys_.clock->today();
    const std::string name = "Quillmere settings " + std::to_string(d.year) + "-" + twoDigits(d.month) + "-" +
                             twoDigits(d.day) + ".reg";
    const auto path = sys_.fileDialogs->askSavePath(fileRequest(kBackUp, name));
    if (!path) return;
    const backup::Backup b = backup::makeBackup(*sys_.registry);
    const platform::FileStatus st = sys_.documents->replaceWhole(*path, b.text);
    if (st != platform::FileStatus::Ok) {
        msgBox("The settings could not be backed up to " + *path + ": " + why(st) + ".  No file was written.", kBackUp,
               ui::MB_CRITICAL_);
        return;
    }
    msgBox(count(b.values, "setting was", "settings were") + " backed up to " + *path + ".", kBackUp,
           ui::MB_INFORMATION_);
}

void frmMain::mnuRestore_Click() {
    const auto path = sys_.fileDialogs->askOpenPath(fileRequest(kRestore));
    if (!path) return;
    std::string bytes;
    // One byte past the limit tells a file that is too large.
    const platform::FileStatus st = sys_.documents->readStart(*path, backup::kMaxFileBytes + 1, bytes);
    if (st != platform::FileStatus::Ok) {
        msgBox(*path + " could not be read: " + why(st) + ".  Nothing was restored.", kRestore, ui::MB_CRITICAL_);
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
    backup::applyRestore(plan, *sys_.reg);
    finishWriting();
}

void frmMain::mnuUndo_Click() {
    if (!startValues_.changedSince(*sys_.registry)) {
        msgBox("No setting has changed since Quillmere started.", kUndo, ui::MB_INFORMATION_);
        return;
    }
    if (askBeforeWriting("The settings will go back to what they were when Quillmere started.", "Undo the changes?",
                         kUndo) != ui::ID_YES)
        return;
    startValues_.putBack(*sys_.reg);
    finishWriting();
}

// A limited account is told before it answers that nothing will be saved.
int frmMain::askBeforeWriting(const std::string& what, const std::string& question, const std::string& title) {
    return msgBox(what + (readOnly() ? kWillNotBeSaved : "") + "  " + question, title, ui::MB_YESNO_);
}

void frmMain::finishWriting() {
    reloadSettings();
    toldReadOnly_ = false;
    tellIfReadOnly();
}
