#include "app/AutoBackup.h"

#include "app/AppPaths.h"
#include "app/BackupStore.h"
#include "app/MessageBox.h"
#include "i18n/LangText.h"

bool AutoBackup(const RadioImage& image, BackupMoment moment)
{
    if (!BackupsEnabled(g_strSettingFile))
        return true;
    const bool reading = moment == BackupMoment::AfterRead;
    std::string path;
    std::string error;
    if (CBackupStore().Store(image, reading ? "read" : "written", path, error))
        return true;
    if (reading) {
        ShowMessage(LoadLangString("IDS_ERROR"), FormatLangText(LoadLangString("IDS_BACKUP_READFAIL"), error),
                    MsgIcon::Exclamation, MsgButtons::Ok);
        return true;
    }
    return ShowMessage(LoadLangString("IDS_ERROR"),
                       FormatLangText(LoadLangString("IDS_BACKUP_WRITEFAIL"), error), MsgIcon::Question,
                       MsgButtons::YesNo) == MsgResult::Yes;
}
