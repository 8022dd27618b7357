// The folder that stands for the handheld's storage: remembered per user in the registry.
#ifndef KVCOMM_DEVICEFOLDER_H
#define KVCOMM_DEVICEFOLDER_H

#include <string>

class CDeviceFolder {
public:
    static constexpr const char* kRegistryKey = "Software\\Kelvra\\Upload Wizard";
    static constexpr const char* kRegistryValue = "Destination";

    // The remembered folder, or the default when none is remembered.
    static std::string Initial();
    // "Kelvra Handheld" in the user's documents folder.
    static std::string Default();
    static std::string Remembered();
    static bool Remember(const std::string& folder);
};

#endif
