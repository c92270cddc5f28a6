// How much registry traffic the main window's load costs: loads frmMain once
// over the memory registry holding a complete driver installation (every
// value the load reads is present, so nothing is created) and prints the
// calls the registry interface saw, by kind, and the writes they made.
// Every call here is a round trip to advapi32 on the real system.
#include <cstdio>
#include <memory>
#include <string>

#include "main/frmMain.h"
#include "settings/Catalogue.h"
#include "support/TestEnv.h"

namespace {

// Counts the calls by kind on their way to the memory registry.
struct CountingRegistry : platform::Registry {
    platform::Registry& inner;
    unsigned opens = 0, creates = 0, infos = 0, reads = 0, sets = 0, deletes = 0, closes = 0;
    explicit CountingRegistry(platform::Registry& r) : inner(r) {}

    platform::RegStatus openKey(platform::Root root, const char* path, platform::Access access,
                                platform::RegKey& out) override {
        ++opens;
        return inner.openKey(root, path, access, out);
    }
    platform::RegStatus createKey(platform::Root root, const char* path, platform::Access access,
                                  platform::RegKey& out) override {
        ++creates;
        return inner.createKey(root, path, access, out);
    }
    platform::RegStatus queryValueInfo(platform::RegKey key, const char* name, platform::ValueType& type,
                                       std::uint32_t& size) override {
        ++infos;
        return inner.queryValueInfo(key, name, type, size);
    }
    platform::RegStatus queryValue(platform::RegKey key, const char* name, platform::ValueType& type,
                                   std::uint8_t* data, std::uint32_t& size) override {
        ++reads;
        return inner.queryValue(key, name, type, data, size);
    }
    platform::RegStatus setValue(platform::RegKey key, const char* name, platform::ValueType type,
                                 const std::uint8_t* data, std::uint32_t size) override {
        ++sets;
        return inner.setValue(key, name, type, data, size);
    }
    platform::RegStatus deleteValue(platform::RegKey key, const char* name) override {
        ++deletes;
        return inner.deleteValue(key, name);
    }
    platform::RegStatus closeKey(platform::RegKey key) override {
        ++closes;
        return inner.closeKey(key);
    }
};

// What the driver's setup leaves on an XP machine, plus the values the load
// would otherwise create, the tray entry and the media player command.
void installDriver(qmtest::TestEnv& env) {
    using namespace settings;
    for (const Setting& s : all()) {
        if (s.type != platform::ValueType::Dword) continue;
        const std::string k = s.key;
        if (k != key::ControlPanel && k != key::Customization) continue;
        env.mem.setDword(k, s.name, static_cast<std::uint32_t>(s.reset.value_or(0)));
    }
    for (const Setting* s : {&AC97PCMOutVol(), &AC97PCM2OutVol(), &AC97MixerFrontOutVol(), &AC97MixerRearOutVol()})
        env.mem.setDword(s->key, s->name, 8);
    env.mem.setDword(SpdifFrequency().key, SpdifFrequency().name, 48000);
    env.mem.setDword(SplashAudio().key, SplashAudio().name, 1);
    env.mem.setDword(SplashScreen().key, SplashScreen().name, 1);
    env.mem.setString(AU30TRAY().key, AU30TRAY().name, "au30tray.exe");
    env.mem.setString(MediaPlayerProg().key, MediaPlayerProg().name, "wmplayer.exe /Play");
    env.mem.addKey(key::SpdifEnableList);
    // Started from the Windows folder, as the driver's setup installs it.
    env.files.folder = "C:\\WINDOWS";
    env.files.lengths["C:\\WINDOWS\\system32\\drivers\\adm8830.sys"] = 747392;
    env.fileVersions.files["a3d.dll"] = {0x00050000, 0x00000003};
    env.fileVersions.files["a3dapi.dll"] = {0x00030000, 0x0000000B};
    env.fileVersions.files["drivers\\adm8830.sys"] = {0x0005000C, 0x00010A00};
}

}  // namespace

int main() {
    qmtest::TestEnv env;
    installDriver(env);
    env.mem.clearLog();

    CountingRegistry counting(env.mem);
    platform::mdlRegistry reg(counting);
    platform::Services sys = env.services();
    sys.reg = &reg;

    const std::size_t before = env.mem.operationCount();
    auto w = std::make_unique<frmMain>(sys, env.ui());
    w->show();
    const std::size_t ops = env.mem.operationCount() - before;

    if (!w->loaded() || !env.msg.shown.empty()) {
        std::fprintf(stderr, "the main window did not load cleanly (%zu message boxes)\n", env.msg.shown.size());
        return 1;
    }
    std::printf("registry operations: %zu\n", ops);
    std::printf("writes logged: %zu\n", env.mem.log().size());
    std::printf("by kind: open %u, create %u, query info %u, query %u, set %u, delete %u, close %u\n", counting.opens,
                counting.creates, counting.infos, counting.reads, counting.sets, counting.deletes, counting.closes);
    std::string names;
    for (const auto& e : env.mem.log()) names += (names.empty() ? "" : " ") + e.name;
    std::printf("written: %s\n", names.c_str());
    std::printf("open handles left: %zu\n", env.mem.openHandles());
    return 0;
}
