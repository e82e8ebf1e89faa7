#include "link/PortResolver.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <utility>

#include "app/AppPaths.h"
#include "i18n/Profile.h"

namespace {

struct DeviceDirs
{
    std::mutex mutex;
    std::string dev = "/dev";
    std::string sysClassTty = "/sys/class/tty";
};

DeviceDirs& Dirs()
{
    static DeviceDirs dirs;
    return dirs;
}

// The number after `prefix` in a device name such as "ttyUSB12", or -1.
int NumberAfter(const std::string& name, const std::string& prefix)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return -1;
    int n = -1;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    const auto [end, ec] = std::from_chars(first, last, n);
    return (ec == std::errc() && end == last) ? n : -1;
}

// Most systems create ttyS0..ttyS31 whether or not a UART is fitted; the serial core reports
// type 0 (unknown) for the empty ones.
bool HasRealUart(const std::string& sysClassTty, const std::string& name)
{
    std::ifstream type(sysClassTty + "/" + name + "/type");
    int value = 0;
    return type >> value && value != 0;
}

} // namespace

void SetSerialDeviceDirs(const std::string& devDir, const std::string& sysClassTtyDir)
{
    DeviceDirs& dirs = Dirs();
    std::lock_guard lock(dirs.mutex);
    dirs.dev = devDir;
    dirs.sysClassTty = sysClassTtyDir;
}

std::vector<std::string> ListSerialDevices()
{
    std::string dev;
    std::string sys;
    {
        DeviceDirs& dirs = Dirs();
        std::lock_guard lock(dirs.mutex);
        dev = dirs.dev;
        sys = dirs.sysClassTty;
    }
    static const char* const kGroups[] = {"ttyUSB", "ttyACM", "ttyS"};
    std::vector<std::pair<int, std::string>> groups[3];

    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dev, ec)) {
        const std::string name = entry.path().filename().string();
        for (int g = 0; g < 3; ++g) {
            const int n = NumberAfter(name, kGroups[g]);
            if (n < 0)
                continue;
            if (g == 2 && !HasRealUart(sys, name))
                break;
            groups[g].emplace_back(n, entry.path().string());
            break;
        }
    }
    std::vector<std::string> devices;
    for (auto& group : groups) {
        std::sort(group.begin(), group.end());
        for (auto& device : group)
            devices.push_back(std::move(device.second));
    }
    return devices;
}

std::string ResolvePortPath(int port)
{
    if (port < 1)
        return {};
    std::string path = ReadProfileString(g_strSettingFile, "ports", "COM" + std::to_string(port), "", 4096);
    if (!path.empty())
        return path;
    const std::vector<std::string> devices = ListSerialDevices();
    return static_cast<std::size_t>(port) <= devices.size() ? devices[static_cast<std::size_t>(port) - 1]
                                                            : std::string();
}
