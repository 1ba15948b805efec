// The per-user settings store.
#pragma once

#include <string>

namespace quorrel {

// Values are kept per application, section and key, and last across runs. SaveSetting raises
// RunTimeError when the value could not be stored for the next run (an unwritable settings folder, a
// full disk).
class ISettings {
public:
    virtual ~ISettings() = default;
    virtual std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                                   const std::string& defaultValue) = 0;
    virtual void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                             const std::string& value) = 0;
};

}  // namespace quorrel
