// The operating-system services a window is built with. app/ fills this
// with the Win32 implementations; tests with the memory registry and fakes.
#pragma once
#include "platform/Documents.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "platform/mdlRegistry.h"

namespace platform {

struct Services {
    mdlRegistry* reg = nullptr;  // the registry, through the procedures
    VersionQuery* version = nullptr;
    FileVersionSource* fileVersions = nullptr;
    Files* files = nullptr;
    Launcher* launcher = nullptr;
    FileDialogs* fileDialogs = nullptr;
    DocumentFiles* documents = nullptr;
    Clock* clock = nullptr;
    UserFolders* folders = nullptr;
};

}  // namespace platform
