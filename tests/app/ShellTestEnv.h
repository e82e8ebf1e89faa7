#pragma once
// A temporary program directory for the application shell: setting.ini (optional), the shipped
// language files, a private per-user store for the recent files, scripted message boxes and file
// dialogs answered from a queue; the program's path globals are put back afterwards.

#include "app/FileDialogs.h"
#include "app/ScriptedMessages.h"
#include "tests/support/AppPathsGuard.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <deque>
#include <fstream>
#include <string>
#include <vector>

struct FileDialogCall
{
    FileDialogKind kind;
    QString proposed;
};

class CShellTestEnv final
{
public:
    CShellTestEnv()
    {
        for (const char* lang : {"english.lang", "chinese.lang"})
            QFile::copy(QStringLiteral(ZQ708_SOURCE_DIR "/lang/") + QLatin1String(lang),
                        QString::fromStdString(Path(lang)));
        const QString store = m_dir.path() + QStringLiteral("/user");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, store);
        m_previous = SetFileDialogHandler([this](FileDialogKind kind, const QString& proposed) {
            m_dialogs.push_back({kind, proposed});
            if (m_answers.empty())
                return QString();
            const QString answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        });
    }
    ~CShellTestEnv() { SetFileDialogHandler(std::move(m_previous)); }
    CShellTestEnv(const CShellTestEnv&) = delete;
    CShellTestEnv& operator=(const CShellTestEnv&) = delete;

    std::string Dir() const { return m_dir.path().toStdString(); }
    std::string Path(const std::string& name) const { return Dir() + "/" + name; }

    std::string WriteFile(const std::string& name, const std::string& text) const
    {
        std::ofstream(Path(name), std::ios::binary) << text;
        return Path(name);
    }
    std::string ReadFile(const std::string& name) const { return ReadFileBytes(Path(name)); }
    // A copy of one of the golden data files under a new name.
    QString CopyGolden(const char* golden, const std::string& name) const
    {
        QFile::copy(QStringLiteral(ZQ708_SOURCE_DIR "/tests/data/") + QLatin1String(golden),
                    QString::fromStdString(Path(name)));
        return QString::fromStdString(Path(name));
    }

    // The next file dialog returns `path` (an empty one means Cancel).
    void AnswerFileDialog(const std::string& path) { m_answers.push_back(QString::fromStdString(path)); }
    const std::vector<FileDialogCall>& FileDialogs() const { return m_dialogs; }

    CScriptedMessages messages;

private:
    CAppPathsGuard m_paths;
    QTemporaryDir m_dir;
    FileDialogHandler m_previous;
    std::deque<QString> m_answers;
    std::vector<FileDialogCall> m_dialogs;
};

inline const char* const kSettings =
    "[setup]\nlanguage=english\ncom=1\nsearchcom=0\n[ModelInfo]\nFreq0=136-174 MHz\n"
    "data0=60134017\n";
