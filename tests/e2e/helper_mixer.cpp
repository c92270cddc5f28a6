// Stands in for a program that Quillmere starts (the AC97 Mixer, a Windows
// tool): records that it ran, how it was started and from which file, then
// exits. The record lives under HKEY_CURRENT_USER\Software\QuillmereTest\
// Started\<file name>, where the tests read it back (e2e::startRecord).
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char module[MAX_PATH] = {0};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string file = module;
    const std::size_t slash = file.find_last_of("\\/");
    if (slash != std::string::npos) file.erase(0, slash + 1);
    for (char& c : file)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');

    const std::string key = "Software\\QuillmereTest\\Started\\" + file;
    HKEY k = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) !=
        ERROR_SUCCESS)
        return 2;
    const char* line = GetCommandLineA();
    RegSetValueExA(k, "Command", 0, REG_SZ, reinterpret_cast<const BYTE*>(line), DWORD(lstrlenA(line) + 1));
    RegSetValueExA(k, "Module", 0, REG_SZ, reinterpret_cast<const BYTE*>(module), DWORD(lstrlenA(module) + 1));
    // Written last: a reader that sees the new count sees the rest too.
    DWORD runs = 0, type = 0, size = sizeof runs;
    if (RegQueryValueExA(k, "Runs", nullptr, &type, reinterpret_cast<BYTE*>(&runs), &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        runs = 0;
    ++runs;
    RegSetValueExA(k, "Runs", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&runs), sizeof runs);
    RegCloseKey(k);
    return 0;
}
