#pragma once
// A private settings file and device directory for link tests, so that no real serial port is
// ever opened, and a simulated radio on a pseudo-terminal.

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "app/AppPaths.h"
#include "i18n/Profile.h"
#include "link/PortResolver.h"
#include "tests/support/AppPathsGuard.h"
#include "tools/sim/SimLine.h"
#include "tools/sim/SimRadio.h"

class CLinkTestEnv : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() / ("zq708-link-" + std::to_string(::getpid()) + "-" +
                                                          info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir / "dev");
        std::filesystem::create_directories(m_dir / "sys");
        g_strSettingFile = (m_dir / "setting.ini").string();
        SetSerialDeviceDirs((m_dir / "dev").string(), (m_dir / "sys").string());
        Setting("setup", "searchcom", "0");
        Setting("setup", "com", "1");
        // Backups and the fleet log go to the test's folder, never to the user's.
        if (const char* data = std::getenv("XDG_DATA_HOME"))
            m_savedDataHome = data;
        setenv("XDG_DATA_HOME", (m_dir / "data").c_str(), 1);
    }

    void TearDown() override
    {
        m_lines.clear(); // before the radios they answer for
        m_radios.clear();
        SetSerialDeviceDirs("/dev", "/sys/class/tty");
        if (m_savedDataHome)
            setenv("XDG_DATA_HOME", m_savedDataHome->c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
        std::filesystem::remove_all(m_dir);
    }

    void Setting(const std::string& section, const std::string& key, const std::string& value)
    {
        ASSERT_TRUE(WriteProfileString(g_strSettingFile, section, key, value));
    }

    // A radio that lives until the end of the test, after every line that uses it.
    CSimRadio& NewRadio(const RadioImage& memory, SimFaults faults = {})
    {
        m_radios.push_back(std::make_unique<CSimRadio>(memory, std::move(faults)));
        return *m_radios.back();
    }

    // Starts a line for `radio` and maps COMn onto it; a paced line is as slow as a real cable.
    CSimLine& AttachRadio(CSimRadio& radio, int port, bool paced = false)
    {
        m_lines.push_back(std::make_unique<CSimLine>(radio, paced));
        CSimLine& line = *m_lines.back();
        EXPECT_TRUE(line.Start());
        Setting("ports", "COM" + std::to_string(port), line.DevicePath());
        return line;
    }

    CAppPathsGuard m_paths;
    std::filesystem::path m_dir;
    std::optional<std::string> m_savedDataHome;
    std::vector<std::unique_ptr<CSimRadio>> m_radios;
    std::vector<std::unique_ptr<CSimLine>> m_lines;
};

// An image whose bytes differ from block to block, so that a misplaced block shows.
inline RadioImage PatternImage(std::uint8_t seed)
{
    RadioImage image{};
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8) + seed);
    return image;
}
