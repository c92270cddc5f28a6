// A headless world for window tests: the memory registry, a message box
// that records what it showed and answers from a script, and fakes for the
// rest of the system.
#pragma once
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "platform/memory/MemoryRegistry.h"
#include "settings/Store.h"
#include "ui/Form.h"

namespace qmtest {

struct ShownMessage {
    std::string text, title;
    int style;
    std::string owner;  // name of the form it was shown over
};

struct RecordingMessageBox : ui::MessageBoxService {
    std::vector<ShownMessage> shown;
    std::deque<int> answers;  // next answers; when empty, OK (or No for Yes/No)
    int show(ui::Form* owner, const std::string& text, const std::string& title, int style) override {
        shown.push_back({text, title, style, owner ? owner->name() : std::string()});
        if (!answers.empty()) {
            int a = answers.front();
            answers.pop_front();
            return a;
        }
        return (style & 0xF) == ui::MB_YESNO_ ? ui::ID_NO : ui::ID_OK;
    }
};

// Stands in for the real windows: logs what each form is told, in order.
struct RecordingRealizer : ui::Realizer {
    std::vector<std::string> log;
    void realize(ui::Form& f) override { log.push_back(f.name() + " made"); }
    void destroy(ui::Form& f) override { log.push_back(f.name() + " gone"); }
    void update(ui::Form& f, ui::FormAspect what) override {
        switch (what) {
            case ui::FormAspect::Caption: log.push_back(f.name() + " caption " + f.caption()); break;
            case ui::FormAspect::Visible: log.push_back(f.name() + (f.visible() ? " shown" : " hidden")); break;
            case ui::FormAspect::Enabled: log.push_back(f.name() + (f.enabled() ? " enabled" : " disabled")); break;
            case ui::FormAspect::Front: log.push_back(f.name() + " to front"); break;
        }
    }
};

struct FakeVersion : platform::VersionQuery {
    platform::OsVersionData d;
    bool ok = true;
    FakeVersion() { setXP(); }
    void set(std::uint32_t pid, std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
        d = platform::OsVersionData();
        d.platformId = pid;
        d.major = major;
        d.minor = minor;
        d.build = build;
    }
    void setXP() { set(2, 5, 1, 2600); }
    void set2000() { set(2, 5, 0, 2195); }
    bool getVersion(platform::OsVersionData& out) override {
        if (!ok) return false;
        out = d;
        return true;
    }
};

struct FakeFileVersions : platform::FileVersionSource {
    std::map<std::string, platform::FileVersionWords> files;  // by name as asked
    std::vector<std::string> asked;
    std::optional<platform::FileVersionWords> fileVersion(const std::string& name) override {
        asked.push_back(name);
        auto it = files.find(name);
        if (it == files.end()) return std::nullopt;
        return it->second;
    }
};

struct FakeFiles : platform::Files {
    std::map<std::string, std::uint64_t> lengths;  // by path as asked
    std::vector<std::string> badNames;             // paths that are malformed
    std::vector<std::string> asked;
    std::string folder = "C:\\Program Files\\Quillmere";
    std::string system = "C:\\WINDOWS\\system32";
    platform::FileLength fileLength(const std::string& path) override {
        asked.push_back(path);
        for (auto& b : badNames)
            if (b == path) return {platform::FileLengthStatus::BadFileName, 0};
        auto it = lengths.find(path);
        if (it == lengths.end()) return {platform::FileLengthStatus::NotFound, 0};
        return {platform::FileLengthStatus::Ok, it->second};
    }
    std::string programFolder() override { return folder; }
    std::string systemFolder() override { return system; }
};

struct FakeLauncher : platform::Launcher {
    std::vector<std::string> commandLines, files;
    bool succeed = true;
    bool startCommandLine(const std::string& c) override {
        commandLines.push_back(c);
        return succeed;
    }
    bool startFile(const std::string& p) override {
        files.push_back(p);
        return succeed;
    }
};

// The file dialogs answer from a script (nothing: cancelled) and remember
// what they were asked; the files live in a map.
struct FakeFileDialogs : platform::FileDialogs {
    std::vector<platform::FileDialogRequest> asked;
    std::deque<std::optional<std::string>> answers;
    std::optional<std::string> answer(const platform::FileDialogRequest& request) {
        asked.push_back(request);
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> askSavePath(const platform::FileDialogRequest& s) override { return answer(s); }
    std::optional<std::string> askOpenPath(const platform::FileDialogRequest& s) override { return answer(s); }
};

// Files by full path; a folder is there when made or when a file is in it.
struct FakeDocuments : platform::DocumentFiles {
    std::map<std::string, std::string> files;
    std::vector<std::string> folders;
    platform::FileStatus failWith = platform::FileStatus::Ok;  // for every write
    platform::FileStatus replaceWhole(const std::string& path, const std::string& bytes) override {
        if (failWith != platform::FileStatus::Ok) return failWith;
        files[path] = bytes;
        return platform::FileStatus::Ok;
    }
    platform::FileStatus makeFolder(const std::string& path) override {
        if (failWith != platform::FileStatus::Ok) return failWith;
        folders.push_back(path);
        return platform::FileStatus::Ok;
    }
    // Patterns of one "*" between a prefix and a suffix, as the program asks.
    std::vector<std::string> filesIn(const std::string& folder, const std::string& pattern) override {
        const std::size_t star = pattern.find('*');
        const std::string head = pattern.substr(0, star), tail = star == std::string::npos ? "" : pattern.substr(star + 1);
        std::vector<std::string> names;
        for (const auto& f : files) {
            if (f.first.size() <= folder.size() + 1 || f.first.compare(0, folder.size() + 1, folder + "\\") != 0) continue;
            const std::string name = f.first.substr(folder.size() + 1);
            if (name.find('\\') == std::string::npos && name.size() >= head.size() + tail.size() &&
                name.compare(0, head.size(), head) == 0 && name.compare(name.size() - tail.size(), tail.size(), tail) == 0)
                names.push_back(name);
        }
        return names;
    }
    platform::FileStatus remove(const std::string& path) override {
        return files.erase(path) ? platform::FileStatus::Ok : platform::FileStatus::NotFound;
    }
    platform::FileStatus readStart(const std::string& path, std::size_t limit, std::string& out) override {
        auto it = files.find(path);
        if (it == files.end()) return platform::FileStatus::NotFound;
        out = it->second.substr(0, limit);
        return platform::FileStatus::Ok;
    }
};

struct FakeClock : platform::Clock {
    platform::Date date{2026, 3, 7, 14, 30, 5};
    platform::Date now() override { return date; }
};

struct FakeFolders : platform::UserFolders {
    std::optional<std::string> appData = std::string("C:\\Documents and Settings\\Ann\\Application Data");
    std::optional<std::string> applicationData() override { return appData; }
};

struct TestEnv {
    platform::MemoryRegistry mem;
    platform::mdlRegistry reg{mem};
    settings::Store store{reg};
    FakeVersion version;
    FakeFileVersions fileVersions;
    FakeFiles files;
    FakeLauncher launcher;
    RecordingMessageBox msg;
    RecordingRealizer windows;
    FakeFileDialogs dialogs;
    FakeDocuments documents;
    FakeClock clock;
    FakeFolders folders;

    platform::Services services() {
        platform::Services s;
        s.reg = &reg;
        s.version = &version;
        s.fileVersions = &fileVersions;
        s.files = &files;
        s.launcher = &launcher;
        s.fileDialogs = &dialogs;
        s.documents = &documents;
        s.clock = &clock;
        s.folders = &folders;
        return s;
    }
    ui::UiServices ui() {
        ui::UiServices u;
        u.messageBox = &msg;
        u.realizer = &windows;
        return u;
    }
};

}  // namespace qmtest
