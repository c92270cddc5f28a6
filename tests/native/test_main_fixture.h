// A driver installation in the memory registry, and the main window over it.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "main/frmMain.h"
#include "settings/Catalogue.h"
#include "support/TestEnv.h"
#include "ui/Images.h"

namespace mainwin {

using namespace settings;

struct MainWindowTest : ::testing::Test {
    qmtest::TestEnv env;
    std::unique_ptr<frmMain> w;

    static constexpr const char* kDriverFile = "C:\\WINDOWS\\system32\\drivers\\adm8830.sys";

    void SetUp() override { installDriver(); }

    // What the driver's setup leaves behind on an XP machine.
    void installDriver() {
        for (auto* s : {&PrimaryXtalk(), &SoftSynthModeIndex(), &GamerMode(), &SoftSynthVoices(), &SoftSynthMode(),
                        &SoftSynth(), &AspenWavetableEffect(), &ReverbAmount(), &ChorusAmount(),
                        &DisableAC97Codec3DEffect(), &ST9704ATTEN(), &CorrectLA2(), &ST9708LA4RearInversion(),
                        &SpdifFrequency(), &DetectSpdifOut(), &EnableSpdifOut(), &DetectSpdifIn(), &EnableSpdifIn()})
            set(*s, static_cast<std::uint32_t>(*s->reset));
        for (auto* s : {&AC97PCMOutVol(), &AC97PCM2OutVol(), &AC97MixerFrontOutVol(), &AC97MixerRearOutVol()}) set(*s, 8);
        set(HighPerformanceMIDI(), 0);
        set(SplashAudio(), 1);
        set(SplashScreen(), 1);
        env.mem.addKey(key::SpdifEnableList);
        env.mem.addKey(key::Run);
        env.mem.setString(key::DirectXMedia, ".Prog", "wmplayer.exe /Play");
        env.files.lengths[kDriverFile] = 747392;
        env.fileVersions.files["a3d.dll"] = {0x00040000, 0x00000C0B};
        env.fileVersions.files["a3dapi.dll"] = {0x00040000, 0x00000C0C};
        env.fileVersions.files["drivers\\adm8830.sys"] = {0x0005000C, 0x000109FF};
    }

    frmMain& load() {
        w = std::make_unique<frmMain>(env.services(), env.ui());
        w->show();
        return *w;
    }
    frmMain& loadFresh() {
        frmMain& f = load();
        env.mem.clearLog();
        env.msg.shown.clear();
        return f;
    }

    void set(const Setting& s, std::uint32_t v) { env.mem.setDword(s.key, s.name, v); }
    void setText(const Setting& s, const std::string& t) { env.mem.setString(s.key, s.name, t); }
    std::optional<std::uint32_t> dword(const Setting& s) const { return env.mem.getDword(s.key, s.name); }
    bool has(const Setting& s) const { return env.mem.get(s.key, s.name).has_value(); }

    // The registry changes in order: "name=1" (number), "name='text'",
    // "-name" (deleted), "+path" (key created).
    std::vector<std::string> writes() const {
        std::vector<std::string> out;
        for (const auto& e : env.mem.log()) {
            switch (e.op) {
            case platform::RegLogEntry::CreateKey: out.push_back("+" + e.path); break;
            case platform::RegLogEntry::Delete: out.push_back("-" + e.name); break;
            case platform::RegLogEntry::Set:
                if (e.value.type == platform::ValueType::Dword && e.value.data.size() == 4) {
                    const auto& d = e.value.data;
                    std::uint32_t v = d[0] | (d[1] << 8) | (d[2] << 16) | (std::uint32_t(d[3]) << 24);
                    out.push_back(e.name + "=" + std::to_string(v));
                } else {
                    out.push_back(e.name + "='" + std::string(e.value.data.begin(), e.value.data.end()) + "'");
                }
                break;
            }
        }
        return out;
    }
};

using Writes = std::vector<std::string>;

}  // namespace mainwin
