#pragma once
// A temporary program directory for dialog tests: setting.ini, language files, and the program's
// paths pointed at them for the life of the object.

#include "app/AppPaths.h"
#include "tests/support/AppPathsGuard.h"
#include "tests/support/TempDir.h"

#include <QTemporaryDir>
#include <fstream>
#include <string>

class CDialogTestEnv final
{
public:
    CDialogTestEnv()
    {
        InitAppPaths(m_dir.path().toStdString());
        WriteFile("setting.ini", "[setup]\nlanguage=english\ncom=1\nsearchcom=0\n");
        g_strLangFile = Path("english.lang");
    }

    std::string Path(const std::string& name) const { return g_strAppDir + "/" + name; }

    void WriteFile(const std::string& name, const std::string& text) const
    {
        std::ofstream(Path(name), std::ios::binary) << text;
    }

    std::string ReadFile(const std::string& name) const { return ReadFileBytes(Path(name)); }

private:
    CAppPathsGuard m_paths;
    QTemporaryDir m_dir;
};
